#pragma once

#include <windows.h>

namespace e2e {

// Left clicks at a pixel of the screen, as a user's reach Wine: through the X server, which gives
// them to the X window under the pointer, so they pass a see-through pixel of a colour-keyed
// window as a user's do (Wine's own hit test, which SendInput's clicks go through, does not).
// Runs xdotool on the X display Wine uses and returns once it has clicked, with the pointer
// parked again at the screen's bottom-right pixel (see keyboard_input.hpp); false when that
// did not happen in time.
bool clickAt(POINT pixel, int clicks = 1);

} // namespace e2e
