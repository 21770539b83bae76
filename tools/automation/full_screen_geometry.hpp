#pragma once

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

// Where the game's picture and the subtitle belong at full screen, worked out from outside with
// doubles, as a reference for what the tool does with its own integer rule: the suite and the
// benchmark hold the tool's rectangles to these within a pixel.
namespace e2e {

enum class FullScreenScale { Fit, Stretch, None };

inline const char* scaleName(FullScreenScale scale) {
    return scale == FullScreenScale::Fit       ? "fit"
           : scale == FullScreenScale::Stretch ? "stretch"
                                               : "none";
}

inline LONG widthOf(const RECT& r) {
    return r.right - r.left;
}
inline LONG heightOf(const RECT& r) {
    return r.bottom - r.top;
}

// The client area of `client`'s size at full screen on a monitor at `monitor`: the largest of its
// shape (fit), the whole monitor (stretch), or its own size; centred.
inline RECT fullScreenClient(const RECT& client, const RECT& monitor, FullScreenScale scale) {
    double width = widthOf(client);
    double height = heightOf(client);
    if (scale != FullScreenScale::None) {
        const double across = widthOf(monitor) / width;
        const double down = heightOf(monitor) / height;
        const double fit = std::min(across, down);
        width *= scale == FullScreenScale::Fit ? fit : across;
        height *= scale == FullScreenScale::Fit ? fit : down;
    }
    const double left = monitor.left + (widthOf(monitor) - width) / 2;
    const double top = monitor.top + (heightOf(monitor) - height) / 2;
    return {std::lround(left), std::lround(top), std::lround(left + width),
            std::lround(top + height)};
}

// `subtitle` carried from the client area `from` to `to`: its offset from the client's top-left
// corner and its size scaled by the same factors.
inline RECT scaledWith(const RECT& subtitle, const RECT& from, const RECT& to) {
    const double across = static_cast<double>(widthOf(to)) / widthOf(from);
    const double down = static_cast<double>(heightOf(to)) / heightOf(from);
    const double left = to.left + (subtitle.left - from.left) * across;
    const double top = to.top + (subtitle.top - from.top) * down;
    return {std::lround(left), std::lround(top), std::lround(left + widthOf(subtitle) * across),
            std::lround(top + heightOf(subtitle) * down)};
}

// The largest distance between the two rectangles' corners or sizes, in pixels.
inline LONG farthestSide(const RECT& a, const RECT& b) {
    return std::max({std::labs(a.left - b.left), std::labs(a.top - b.top),
                     std::labs(widthOf(a) - widthOf(b)), std::labs(heightOf(a) - heightOf(b))});
}

inline std::string describe(const RECT& r) {
    return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ", " +
           std::to_string(r.right) + ", " + std::to_string(r.bottom) + ")";
}

} // namespace e2e
