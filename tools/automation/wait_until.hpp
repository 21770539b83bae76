#pragma once

#include <windows.h>

namespace e2e {

// Polls `condition` every `pollMs` until it holds or `timeoutMs` has passed; true when it held.
// Every wait of the driver has a deadline, so a hung program fails a scenario instead of the run.
template <typename Condition>
bool waitUntil(Condition condition, DWORD timeoutMs, DWORD pollMs = 25) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        if (condition()) {
            return true;
        }
        if (GetTickCount64() >= deadline) {
            return false;
        }
        Sleep(pollMs);
    }
}

} // namespace e2e
