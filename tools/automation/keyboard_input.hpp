#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>

namespace e2e {

// Keys pressed through SendInput go straight to the wineserver: X never sees them held. Each time
// a Wine window gets an X EnterNotify or FocusIn (a window mapped or moved under the pointer),
// Wine re-reads the keyboard from X and lets go, desktop-wide, of every key X does not hold. A
// modifier pressed a moment earlier can thus be released before the key that follows it, and the
// combination arrives as the bare key. So the pointer waits, from the driver's start, on a pixel
// that no window covers, and keys go out only while it is still there.

// Moves the pointer to the screen's bottom-right pixel.
void parkPointer();

// Empty when keys pressed now go to `window` and arrive whole: it is the foreground window, it or
// a child of it has the keyboard focus, and the pointer is parked over no window. Otherwise what
// stands in the way.
std::string whyKeysWouldMiss(HWND window);

// Presses the keys in order and lets them go in reverse order; false when Windows took only part.
bool pressAndRelease(std::initializer_list<WORD> keys);

} // namespace e2e
