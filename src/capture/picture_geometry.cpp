#include "capture/picture_geometry.hpp"

#include <algorithm>
#include <limits>

namespace pal4 {

namespace {

std::int32_t clamped(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

// value * numerator / denominator, rounded to the nearest integer, halves away from zero.
std::int64_t scaled(std::int64_t value, std::int64_t numerator, std::int64_t denominator) {
    const std::int64_t product = value * numerator;
    const std::int64_t half = denominator / 2;
    return product >= 0 ? (product + half) / denominator : -((-product + half) / denominator);
}

} // namespace

WindowPlace fullScreenPlace(std::int32_t pictureWidth, std::int32_t pictureHeight,
                            const WindowPlace& monitor, FullScreenScale scale) {
    std::int64_t width = monitor.width;
    std::int64_t height = monitor.height;
    if (pictureWidth > 0 && pictureHeight > 0 && scale != FullScreenScale::Stretch) {
        if (scale == FullScreenScale::None) {
            width = pictureWidth;
            height = pictureHeight;
        } else if (std::int64_t{pictureWidth} * monitor.height <=
                   std::int64_t{pictureHeight} * monitor.width) {
            width = scaled(pictureWidth, monitor.height, pictureHeight); // bars left and right
        } else {
            height = scaled(pictureHeight, monitor.width, pictureWidth); // bars above and below
        }
    }
    return {clamped(monitor.left + (monitor.width - width) / 2),
            clamped(monitor.top + (monitor.height - height) / 2), clamped(width), clamped(height)};
}

WindowPlace scaledWithPicture(const WindowPlace& overlay, const WindowPlace& from,
                              const WindowPlace& to) {
    const bool sized = from.width > 0 && from.height > 0 && to.width > 0 && to.height > 0;
    const auto across = [&](std::int64_t value) {
        return sized ? scaled(value, to.width, from.width) : value;
    };
    const auto down = [&](std::int64_t value) {
        return sized ? scaled(value, to.height, from.height) : value;
    };
    return {clamped(to.left + across(std::int64_t{overlay.left} - from.left)),
            clamped(to.top + down(std::int64_t{overlay.top} - from.top)),
            clamped(across(overlay.width)), clamped(down(overlay.height))};
}

} // namespace pal4
