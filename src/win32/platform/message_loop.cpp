#include "win32/platform/message_loop.hpp"

#include "win32/platform/due_timers.hpp"

namespace pal4::win32 {

int runMessageLoop(HWND dialog) {
    const bool hasDialog = dialog != nullptr;
    for (;;) {
        due_timers::runDue();
        // WM_QUIT waits behind posted messages, and a peer flooding a socket posts them as fast
        // as they are taken: a closed panel must end the loop all the same.
        if (hasDialog && !IsWindow(dialog)) {
            return 0;
        }
        MSG message{};
        if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            MsgWaitForMultipleObjectsEx(0, nullptr, due_timers::millisecondsUntilNextDue(),
                                        QS_ALLINPUT, MWMO_INPUTAVAILABLE);
            continue;
        }
        if (message.message == WM_QUIT) {
            return static_cast<int>(message.wParam);
        }
        due_timers::noteDelivered(message);
        // Tab and the arrow keys move between the panel's controls, as in a dialog.
        if (hasDialog && IsDialogMessageW(dialog, &message)) {
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

} // namespace pal4::win32
