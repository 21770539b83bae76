#include "win32/platform/single_instance.hpp"

namespace pal4::win32 {

RunningToolMark::RunningToolMark(const wchar_t* name) : mutex_(CreateMutexW(nullptr, FALSE, name)) {
    // A mark that cannot be made at all must not keep the tool from running.
    first_ = !mutex_ || GetLastError() != ERROR_ALREADY_EXISTS;
}

bool bringRunningToolForward(const wchar_t* windowClass, DWORD waitMs) {
    constexpr DWORD LOOK_EVERY_MS = 50;
    for (DWORD waited = 0;; waited += LOOK_EVERY_MS) {
        if (const HWND window = FindWindowW(windowClass, nullptr)) {
            if (IsIconic(window)) {
                ShowWindow(window, SW_RESTORE);
            }
            SetForegroundWindow(window);
            return true;
        }
        if (waited >= waitMs) {
            return false;
        }
        Sleep(LOOK_EVERY_MS);
    }
}

} // namespace pal4::win32
