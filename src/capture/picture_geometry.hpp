#pragma once

#include "ports/game_window_port.hpp"
#include "settings/full_screen_setting.hpp"

#include <cstdint>

namespace pal4 {

// Where full screen puts a picture of `pictureWidth` x `pictureHeight` on `monitor` (the
// monitor's whole rectangle): centred, and for Fit the largest rectangle of the picture's shape
// that fits, for Stretch the whole monitor, for None its own size. A picture without an area
// takes the whole monitor.
WindowPlace fullScreenPlace(std::int32_t pictureWidth, std::int32_t pictureHeight,
                            const WindowPlace& monitor, FullScreenScale scale);

// The overlay's rectangle carried with the picture from the client area `from` to the client
// area `to`: its offset from the client area's top-left corner and its width and height scale by
// the factors the client area's width and height changed by, rounded to the nearest pixel. The
// inverse mapping is the same call with `from` and `to` swapped; a client area without an area
// only moves the overlay with its corner.
WindowPlace scaledWithPicture(const WindowPlace& overlay, const WindowPlace& from,
                              const WindowPlace& to);

} // namespace pal4
