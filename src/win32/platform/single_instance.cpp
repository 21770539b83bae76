#include "win32/platform/single_instance.hpp"

namespace pal4::win32 {

RunningToolMark::RunningToolMark(const wchar_t* name) : name_(name) {
    take();
}

void RunningToolMark::take() {
    mutex_.reset(CreateMutexW(nullptr, TRUE, name_));
    const DWORD error = GetLastError();
    if (!mutex_) {
        // A mark made by a tool run elevated refuses this one; a mark that cannot be made at all
        // must not keep the tool from running.
        first_ = error != ERROR_ACCESS_DENIED;
        return;
    }
    first_ = error != ERROR_ALREADY_EXISTS;
}

bool RunningToolMark::waitForTheOther(DWORD waitMs) {
    if (first_) {
        return true;
    }
    if (mutex_) {
        // Abandoned: the other ended, closing or not, and this process owns the mark now.
        const DWORD result = WaitForSingleObject(mutex_.get(), waitMs);
        first_ = result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
        return first_;
    }
    // A mark this process may not open: it goes with the last process that holds it.
    constexpr DWORD LOOK_EVERY_MS = 50;
    for (DWORD waited = 0; waited < waitMs && !first_; waited += LOOK_EVERY_MS) {
        Sleep(LOOK_EVERY_MS);
        take();
    }
    return first_;
}

RunningTool meetTheRunningTool(RunningToolMark& mark, const wchar_t* panelClass, DWORD waitMs) {
    constexpr DWORD LOOK_EVERY_MS = 50;
    for (DWORD waited = 0; waited < waitMs; waited += LOOK_EVERY_MS) {
        // A panel being destroyed is hidden first: that tool is closing.
        const HWND panel = FindWindowW(panelClass, nullptr);
        if (panel != nullptr && IsWindowVisible(panel)) {
            // Neither call waits on the other tool's thread: a hung tool cannot hold this start.
            if (IsIconic(panel)) {
                ShowWindowAsync(panel, SW_RESTORE);
            }
            SetForegroundWindow(panel);
            return RunningTool::BroughtForward;
        }
        if (mark.waitForTheOther(LOOK_EVERY_MS)) {
            return RunningTool::Ended;
        }
    }
    return RunningTool::StillThere;
}

} // namespace pal4::win32
