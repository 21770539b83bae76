#pragma once

#include <windows.h>

namespace pal4::win32 {

// The thread's message loop, until WM_QUIT or until `dialog` (when given) is gone. Keyboard
// navigation between `dialog`'s controls works as in a dialog box. Due timers (due_timers.hpp)
// run when their time comes, however many messages wait: the queue decides nothing about them.
// Returns the exit code WM_QUIT carried, 0 when the dialog went first.
int runMessageLoop(HWND dialog);

} // namespace pal4::win32
