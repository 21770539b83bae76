#include "win32/overlay_window/overlay_window.hpp"

#include "overlay/overlay_constants.hpp"
#include "win32/platform/dc_scopes.hpp"
#include "win32/platform/due_timers.hpp"

namespace pal4::win32 {

namespace {

constexpr DWORD OVERLAY_STYLE = WS_POPUP;
// Topmost so it stays over the game's window; a tool window has no taskbar button.
constexpr DWORD OVERLAY_EX_STYLE = WS_EX_TOPMOST | WS_EX_TOOLWINDOW;

} // namespace

OverlayWindow::OverlayWindow(HINSTANCE instance)
    : BaseWindow(instance), label_(OVERLAY_DESIGN_WIDTH, OVERLAY_DESIGN_HEIGHT) {}

OverlayWindow::~OverlayWindow() {
    // Only when the program ends with the overlay still open.
    destroyWithoutEvents();
}

bool OverlayWindow::create() {
    WNDCLASSEXW overlayClass{};
    overlayClass.style = CS_HREDRAW | CS_VREDRAW;
    overlayClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
    // No class brush: WM_PAINT covers every pixel, the background in the colour key included.
    if (window_ || !registerClass(overlayClass)) {
        return false;
    }
    position_ = {OVERLAY_DESIGN_LEFT, OVERLAY_DESIGN_TOP};
    shown_ = true;
    clickThrough_ = false;
    label_.setText(std::string(IDLE_LABEL_TEXT));
    // The creation handler may have closed the window again.
    if (createWindow(OVERLAY_EX_STYLE, L"", OVERLAY_STYLE, OVERLAY_DESIGN_LEFT, OVERLAY_DESIGN_TOP,
                     OVERLAY_DESIGN_WIDTH, OVERLAY_DESIGN_HEIGHT)) {
        // Not activated: the game keeps the keyboard until the user clicks the subtitle.
        ShowWindow(window_, SW_SHOWNOACTIVATE);
        UpdateWindow(window_);
    }
    return window_ != nullptr;
}

void OverlayWindow::destroy() {
    if (window_) {
        DestroyWindow(window_);
    }
}

LRESULT OverlayWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        onCreate();
        return 0;
    case WM_DESTROY:
        onDestroy();
        return 0;
    case WM_WINDOWPOSCHANGED:
        onPositionChanged(*reinterpret_cast<const WINDOWPOS*>(lParam));
        break; // DefWindowProc still sends WM_SIZE and WM_MOVE
    case WM_TIMER:
        if (wParam == POLL_TIMER_ID) {
            onPollTimerElapsed();
        }
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE) {
            onEscapePressed();
            return 0;
        }
        break;
    case WM_MOUSEWHEEL:
        onWheel(GET_WHEEL_DELTA_WPARAM(wParam));
        return 0;
    case WM_NCHITTEST:
        return onHitTest({static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
    case WM_NCLBUTTONDBLCLK:
        // A double click on the subtitle, which is a caption for dragging, must not maximise.
        if (wParam == HTCAPTION) {
            return 0;
        }
        break;
    case WM_ERASEBKGND:
        return 1; // WM_PAINT covers every pixel; erasing first would flicker
    case WM_PAINT:
        onPaint();
        return 0;
    case WM_PRINTCLIENT:
        onPrintClient(reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_DPICHANGED:
        onDpiChanged();
        return 0;
    default:
        break;
    }
    return defaultHandling(message, wParam, lParam);
}

void OverlayWindow::onCreate() {
    label_.dropFont();
    report(&OverlayEvents::onOverlayCreated);
}

void OverlayWindow::onDestroy() {
    setDueTimer(window_, POLL_TIMER_ID, 0);
    report(&OverlayEvents::onOverlayDestroyed);
}

void OverlayWindow::onPositionChanged(const WINDOWPOS& position) {
    // Sizing alone, or a position set to what the window already has, is no move.
    if ((position.flags & SWP_NOMOVE) != 0 ||
        (position.x == position_.x && position.y == position_.y)) {
        return;
    }
    position_ = {position.x, position.y};
    report(&OverlayEvents::onOverlayMoved);
}

void OverlayWindow::onPollTimerElapsed() {
    report(&OverlayEvents::onPollTimer);
}

void OverlayWindow::onEscapePressed() {
    destroy();
}

LRESULT OverlayWindow::onHitTest(POINT screenPoint) {
    // Locked, nothing of the window is there for the mouse.
    if (clickThrough_) {
        return HTTRANSPARENT;
    }
    // The subtitle is the window's caption: the user drags it by its text. The see-through
    // pixels never get here, the colour key passes those clicks to the window below.
    POINT point = screenPoint;
    ScreenToClient(window_, &point);
    RECT client{};
    GetClientRect(window_, &client);
    return PtInRect(&client, point) && label_.covers(point) ? HTCAPTION : HTCLIENT;
}

void OverlayWindow::onPaint() {
    const PaintDc paint(window_);
    const HDC dc = paint.get();
    RECT client{};
    GetClientRect(window_, &client);
    const SIZE size{client.right, client.bottom};
    if (dc && size.cx > 0 && size.cy > 0 && backBuffer_.fit(size)) {
        paintLabel(backBuffer_.dc(), size);
        BitBlt(dc, 0, 0, size.cx, size.cy, backBuffer_.dc(), 0, 0, SRCCOPY);
    }
}

void OverlayWindow::onPrintClient(HDC dc) {
    RECT client{};
    GetClientRect(window_, &client);
    paintLabel(dc, {client.right, client.bottom});
}

void OverlayWindow::onDpiChanged() {
    // The geometry is in screen pixels and stays; only the font, sized in points, follows.
    fontChanged();
}

void OverlayWindow::makeColorKeyed(ColorRef key) {
    if (!window_) {
        return;
    }
    SetWindowLongW(window_, GWL_EXSTYLE, GetWindowLongW(window_, GWL_EXSTYLE) | WS_EX_LAYERED);
    SetLayeredWindowAttributes(window_, key, 0, LWA_COLORKEY);
}

std::int32_t OverlayWindow::windowLeft() const {
    RECT bounds{};
    return window_ && GetWindowRect(window_, &bounds) ? bounds.left : position_.x;
}

std::int32_t OverlayWindow::windowTop() const {
    RECT bounds{};
    return window_ && GetWindowRect(window_, &bounds) ? bounds.top : position_.y;
}

void OverlayWindow::placeWindow(int left, int top, int width, int height, UINT flags) {
    if (window_) {
        SetWindowPos(window_, nullptr, left, top, width, height,
                     flags | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void OverlayWindow::setWindowSize(std::int32_t width, std::int32_t height) {
    placeWindow(0, 0, width, height, SWP_NOMOVE);
}

void OverlayWindow::setWindowPosition(std::int32_t left, std::int32_t top) {
    placeWindow(left, top, 0, 0, SWP_NOSIZE);
}

void OverlayWindow::setWindowBounds(std::int32_t left, std::int32_t top, std::int32_t width,
                                    std::int32_t height) {
    placeWindow(left, top, width, height, 0);
}

void OverlayWindow::setShown(bool shown) {
    shown_ = shown;
    if (window_) {
        ShowWindow(window_, shown ? SW_SHOWNOACTIVATE : SW_HIDE);
    }
}

void OverlayWindow::keepAbove() {
    if (!window_ || !shown_) {
        return;
    }
    // Already in the topmost band, a window is not restacked by joining it again; out of the band
    // and back in, it goes to the band's top. Without a window manager (Wine on a bare X
    // display) that is what puts its X window over a game that raised its own.
    constexpr UINT KEEP = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER;
    SetWindowPos(window_, HWND_NOTOPMOST, 0, 0, 0, 0, KEEP);
    SetWindowPos(window_, HWND_TOPMOST, 0, 0, 0, 0, KEEP);
}

void OverlayWindow::setClickThrough(bool clickThrough) {
    clickThrough_ = clickThrough;
    if (!window_) {
        return;
    }
    // A transparent layered window lets every click and the wheel through, its drawn pixels
    // too; a window that cannot be activated never takes the game's keyboard.
    constexpr LONG THROUGH = WS_EX_TRANSPARENT | WS_EX_NOACTIVATE;
    const LONG style = GetWindowLongW(window_, GWL_EXSTYLE);
    SetWindowLongW(window_, GWL_EXSTYLE, clickThrough ? style | THROUGH : style & ~THROUGH);
    // Styles the system caches take effect with the next SetWindowPos.
    SetWindowPos(window_, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void OverlayWindow::setTimerInterval(std::uint32_t milliseconds) {
    if (!window_) {
        return;
    }
    // Due, not plain: a client flooding the web port must not hold the subtitle still.
    setDueTimer(window_, POLL_TIMER_ID, milliseconds);
}

} // namespace pal4::win32
