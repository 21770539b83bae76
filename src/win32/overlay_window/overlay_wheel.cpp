// The mouse wheel over the subtitle, beside the window's other messages (overlay_window.cpp).
#include "win32/overlay_window/overlay_window.hpp"

namespace pal4::win32 {

void OverlayWindow::onWheel(int delta) {
    // A fine wheel sends parts of a notch; a notch is a step.
    wheelDelta_ += delta;
    for (; wheelDelta_ >= WHEEL_DELTA; wheelDelta_ -= WHEEL_DELTA) {
        report(&OverlayEvents::onWheelUp);
    }
    for (; wheelDelta_ <= -WHEEL_DELTA; wheelDelta_ += WHEEL_DELTA) {
        report(&OverlayEvents::onWheelDown);
    }
}

} // namespace pal4::win32
