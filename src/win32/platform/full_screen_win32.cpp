#include "win32/platform/full_screen_win32.hpp"

#include "win32/platform/system_library.hpp"

#include <objbase.h>
#include <shobjidl.h>

namespace pal4::win32 {

namespace {

HWND handleOf(WindowId window) {
    return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(window));
}

WindowPlace placeOf(const RECT& rect) {
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

// The shell's taskbar list and its second interface, spelled out so no import library is needed.
constexpr CLSID TASKBAR_LIST{
    0x56FDF344, 0xFD6D, 0x11D0, {0x95, 0x8A, 0x00, 0x60, 0x97, 0xC9, 0xA0, 0x90}};
constexpr IID TASKBAR_LIST2{
    0x602D4995, 0xB13A, 0x429B, {0xA6, 0x6E, 0x19, 0x35, 0xE4, 0x4F, 0x43, 0x17}};

using CoInitializeExFunction = HRESULT(WINAPI*)(void*, DWORD);
using CoCreateInstanceFunction = HRESULT(WINAPI*)(REFCLSID, IUnknown*, DWORD, REFIID, void**);

// Where a minimised window comes back when it is restored. Its placement is in workspace
// coordinates, whose origin is the corner of its monitor's work area.
bool restorePlace(HWND window, const WindowPlace& place) {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!GetWindowPlacement(window, &placement) ||
        !GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info)) {
        return false;
    }
    const LONG left = place.left - (info.rcWork.left - info.rcMonitor.left);
    const LONG top = place.top - (info.rcWork.top - info.rcMonitor.top);
    placement.rcNormalPosition = {left, top, left + place.width, top + place.height};
    placement.showCmd = SW_SHOWMINNOACTIVE;
    return SetWindowPlacement(window, &placement) != FALSE;
}

} // namespace

FullScreenWin32::~FullScreenWin32() {
    if (taskbar_ != nullptr) {
        taskbar_->Release();
    }
}

std::optional<WindowFrame> FullScreenWin32::frameOf(WindowId window) {
    const HWND handle = handleOf(window);
    RECT rect{};
    if (window == 0 || !IsWindow(handle) || !GetWindowRect(handle, &rect)) {
        return std::nullopt;
    }
    return WindowFrame{static_cast<std::uint32_t>(GetWindowLongW(handle, GWL_STYLE)),
                       static_cast<std::uint32_t>(GetWindowLongW(handle, GWL_EXSTYLE)),
                       placeOf(rect)};
}

bool FullScreenWin32::setFrame(WindowId window, const WindowFrame& frame) {
    const HWND handle = handleOf(window);
    if (window == 0 || !IsWindow(handle)) {
        return false;
    }
    const bool minimised = IsIconic(handle) != FALSE;
    // A minimised window stays minimised: its state lives in the style too.
    SetWindowLongW(handle, GWL_STYLE,
                   static_cast<LONG>(frame.style | (minimised ? WS_MINIMIZE : 0)));
    SetWindowLongW(handle, GWL_EXSTYLE, static_cast<LONG>(frame.exStyle));
    if (minimised) {
        return restorePlace(handle, frame.place);
    }
    // The new styles take effect with the frame drawn anew; the z-order and the keyboard stay.
    return SetWindowPos(handle, nullptr, frame.place.left, frame.place.top, frame.place.width,
                        frame.place.height,
                        SWP_NOZORDER | SWP_NOOWNERZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED) !=
           FALSE;
}

ProcessId FullScreenWin32::processOf(WindowId window) {
    DWORD process = 0;
    if (window != 0 && GetWindowThreadProcessId(handleOf(window), &process) == 0) {
        return 0;
    }
    return process;
}

WindowPlace FullScreenWin32::monitorOf(WindowId window) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    const HMONITOR monitor = MonitorFromWindow(handleOf(window), MONITOR_DEFAULTTONEAREST);
    if (monitor == nullptr || !GetMonitorInfoW(monitor, &info)) {
        return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    }
    return placeOf(info.rcMonitor);
}

void FullScreenWin32::showBackdrop(const WindowPlace& monitor, WindowId window) {
    backdrop_.show(
        {monitor.left, monitor.top, monitor.left + monitor.width, monitor.top + monitor.height},
        handleOf(window));
}

void FullScreenWin32::hideBackdrop() {
    backdrop_.hide();
}

void FullScreenWin32::keepBackdropBelow() {
    backdrop_.keepBelow();
}

void FullScreenWin32::markFullScreen(WindowId window, bool fullScreen) {
    if (ITaskbarList2* list = taskbar()) {
        list->MarkFullscreenWindow(handleOf(window), fullScreen ? TRUE : FALSE);
    }
}

ITaskbarList2* FullScreenWin32::taskbar() {
    if (taskbarTried_) {
        return taskbar_;
    }
    taskbarTried_ = true;
    const auto initialize = systemFunction<CoInitializeExFunction>(L"ole32.dll", "CoInitializeEx");
    const auto create = systemFunction<CoCreateInstanceFunction>(L"ole32.dll", "CoCreateInstance");
    if (initialize == nullptr || create == nullptr) {
        return nullptr;
    }
    // The panel's thread is a single-threaded apartment for as long as the tool runs.
    const HRESULT initialized = initialize(nullptr, COINIT_APARTMENTTHREADED);
    if (FAILED(initialized) && initialized != RPC_E_CHANGED_MODE) {
        return nullptr;
    }
    void* list = nullptr;
    if (FAILED(create(TASKBAR_LIST, nullptr, CLSCTX_INPROC_SERVER, TASKBAR_LIST2, &list)) ||
        list == nullptr) {
        return nullptr;
    }
    taskbar_ = static_cast<ITaskbarList2*>(list);
    if (FAILED(taskbar_->HrInit())) {
        taskbar_->Release();
        taskbar_ = nullptr;
    }
    return taskbar_;
}

} // namespace pal4::win32
