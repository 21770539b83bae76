#include "win32/platform/backdrop_window.hpp"

namespace pal4::win32 {

namespace {

// Made a small popup, then neither a popup nor framed: Wine hands a popup that covers the screen,
// like any framed window, to the window manager, and hiding such a window blocks the thread for
// about two seconds where no window manager answers. Windows adds a caption only when a window
// without WS_POPUP is created, not when its style is changed afterwards.
constexpr DWORD CREATION_STYLE = WS_POPUP | WS_CLIPSIBLINGS;
constexpr DWORD BACKDROP_STYLE = WS_CLIPSIBLINGS;
constexpr DWORD BACKDROP_EX_STYLE = WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;
constexpr UINT QUIET = SWP_NOACTIVATE | SWP_NOOWNERZORDER;

// Puts the window at the top of the z-order without activating it. Without a window manager Wine
// restacks a window on the X screen only when it becomes the top of the z-order, so the window
// joins the topmost band and leaves it again, which does both. A window topmost of its own is
// above the rest already and is left so.
void raiseWithoutActivating(HWND window) {
    const auto exStyle = static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE));
    if ((exStyle & WS_EX_TOPMOST) == 0) {
        constexpr UINT KEEP = QUIET | SWP_NOMOVE | SWP_NOSIZE;
        SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, KEEP);
        SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, KEEP);
    }
}

} // namespace

bool BackdropWindow::Frame::create() {
    WNDCLASSEXW backdropClass{};
    backdropClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
    backdropClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    // Made small and only then given the monitor's size: see BACKDROP_STYLE.
    if (!registerClass(backdropClass) ||
        createWindow(BACKDROP_EX_STYLE, L"", CREATION_STYLE, 0, 0, 1, 1) == nullptr) {
        return false;
    }
    SetWindowLongW(window_, GWL_STYLE, static_cast<LONG>(BACKDROP_STYLE));
    return true;
}

LRESULT BackdropWindow::Frame::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        // The click is the user's input, so this process may hand the foreground on.
        if (above != nullptr && IsWindow(above)) {
            SetForegroundWindow(above);
        }
        return 0;
    default:
        return defaultHandling(message, wParam, lParam);
    }
}

void BackdropWindow::show(const RECT& monitor, HWND above) {
    if (frame_.handle() == nullptr && !frame_.create()) {
        return;
    }
    frame_.above = above;
    // The picture first goes above every other window (the panel that was just clicked
    // included), so the black window directly below it is above them too; it is raised once more
    // after, since the black window may have been drawn over it on the X screen.
    raiseWithoutActivating(above);
    SetWindowPos(frame_.handle(), above, monitor.left, monitor.top, monitor.right - monitor.left,
                 monitor.bottom - monitor.top, QUIET | SWP_SHOWWINDOW);
    shown_ = true;
    raiseWithoutActivating(above);
}

void BackdropWindow::keepBelow() {
    const HWND backdrop = frame_.handle();
    if (!shown_ || backdrop == nullptr || frame_.above == nullptr || !IsWindow(frame_.above)) {
        return;
    }
    // Placed after a window that was topmost for a moment, Wine makes it topmost too; and the
    // game restacks its own window as it likes.
    const bool topmost = (GetWindowLongW(backdrop, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    if (!topmost && GetWindow(frame_.above, GW_HWNDNEXT) == backdrop) {
        return;
    }
    constexpr UINT KEEP = QUIET | SWP_NOMOVE | SWP_NOSIZE;
    if (topmost) {
        SetWindowPos(backdrop, HWND_NOTOPMOST, 0, 0, 0, 0, KEEP);
    }
    SetWindowPos(backdrop, frame_.above, 0, 0, 0, 0, KEEP);
    // The X screen follows only a raise; a game the player left for another window stays there.
    if (GetForegroundWindow() == frame_.above) {
        raiseWithoutActivating(frame_.above);
    }
}

void BackdropWindow::hide() {
    if (shown_ && frame_.handle() != nullptr) {
        ShowWindow(frame_.handle(), SW_HIDE);
    }
    shown_ = false;
    frame_.above = nullptr;
}

} // namespace pal4::win32
