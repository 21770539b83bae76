#include "win32/platform/due_timers.hpp"

#include <algorithm>
#include <vector>

namespace pal4::win32 {

namespace {

struct DueTimer {
    HWND window;
    UINT_PTR id;
    std::uint32_t period;
    ULONGLONG due;
};

// The thread's timers: one thread runs every window of the tool, and Win32 keeps timers per
// thread as well.
thread_local std::vector<DueTimer> timers;

std::vector<DueTimer>::iterator find(HWND window, UINT_PTR id) {
    return std::find_if(timers.begin(), timers.end(), [&](const DueTimer& timer) {
        return timer.window == window && timer.id == id;
    });
}

BOOL CALLBACK paintPending(HWND window, LPARAM) {
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    return TRUE;
}

} // namespace

void setDueTimer(HWND window, UINT_PTR id, std::uint32_t milliseconds) {
    const auto timer = find(window, id);
    if (milliseconds == 0) {
        KillTimer(window, id);
        if (timer != timers.end()) {
            timers.erase(timer);
        }
        return;
    }
    if (!SetTimer(window, id, milliseconds, nullptr)) {
        return;
    }
    const ULONGLONG due = GetTickCount64() + milliseconds;
    if (timer != timers.end()) {
        timer->period = milliseconds;
        timer->due = due;
    } else {
        timers.push_back({window, id, milliseconds, due});
    }
}

namespace due_timers {

bool runDue() {
    bool ran = false;
    // Each due timer runs once a call, even a tick slower than its period: the loop must take
    // messages between ticks. A tick may start or stop timers, so each round looks again.
    const ULONGLONG now = GetTickCount64();
    for (;;) {
        const auto timer = std::find_if(timers.begin(), timers.end(),
                                        [&](const DueTimer& each) { return each.due <= now; });
        if (timer == timers.end()) {
            break;
        }
        const DueTimer fired = *timer;
        if (!IsWindow(fired.window)) {
            timers.erase(timer);
            continue;
        }
        timer->due = now + fired.period;
        // SetTimer again, so the system's own WM_TIMER does not follow right after this one.
        SetTimer(fired.window, fired.id, fired.period, nullptr);
        SendMessageW(fired.window, WM_TIMER, fired.id, 0);
        ran = true;
    }
    if (ran) {
        EnumThreadWindows(GetCurrentThreadId(), paintPending, 0);
    }
    return ran;
}

DWORD millisecondsUntilNextDue() {
    if (timers.empty()) {
        return INFINITE;
    }
    const ULONGLONG now = GetTickCount64();
    ULONGLONG next = timers.front().due;
    for (const DueTimer& timer : timers) {
        next = std::min(next, timer.due);
    }
    return next <= now ? 0 : static_cast<DWORD>(next - now);
}

void noteDelivered(const MSG& message) {
    if (message.message != WM_TIMER) {
        return;
    }
    const auto timer = find(message.hwnd, message.wParam);
    if (timer != timers.end()) {
        timer->due = GetTickCount64() + timer->period;
    }
}

} // namespace due_timers

} // namespace pal4::win32
