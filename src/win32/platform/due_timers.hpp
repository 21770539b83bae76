#pragma once

#include <windows.h>

#include <cstdint>

namespace pal4::win32 {

// Window timers that fire when they are due, whatever else waits in the queue.
//
// Windows makes WM_TIMER (and WM_PAINT) only when no posted message waits, so a peer that keeps
// a socket readable keeps a socket notice queued and starves a plain SetTimer for as long as it
// likes. A due timer is a SetTimer too, so it still fires inside modal loops (a message box, a
// chooser), but the thread's message loop (message_loop.hpp) also runs it by itself when its
// time has come, before it takes another message.
//
// The timers belong to the calling thread, as Win32's own do: the one thread that runs the
// tool's windows. A due timer is delivered to its window as the WM_TIMER it would have got.

// Starts, or restarts with a new period, the timer `id` of `window`; 0 stops it.
void setDueTimer(HWND window, UINT_PTR id, std::uint32_t milliseconds);

// What the message loop does with them.
namespace due_timers {
// Sends WM_TIMER to every timer whose time has come and starts its period again; then paints
// what those ticks changed at once, since WM_PAINT starves like WM_TIMER. True when any ran.
bool runDue();
// How long the loop may wait for a message before a timer is due; INFINITE with none.
DWORD millisecondsUntilNextDue();
// A WM_TIMER the system delivered itself (the loop was away, in a modal loop): that tick
// counts, so the loop does not run it again at once.
void noteDelivered(const MSG& message);
} // namespace due_timers

} // namespace pal4::win32
