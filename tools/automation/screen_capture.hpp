#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace e2e {

// Pixels 0x00RRGGBB, row by row.
using Rgb = std::uint32_t;

constexpr Rgb rgbOf(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return static_cast<Rgb>(red) << 16 | static_cast<Rgb>(green) << 8 | blue;
}
constexpr int redOf(Rgb pixel) {
    return static_cast<int>(pixel >> 16 & 0xFF);
}
constexpr int greenOf(Rgb pixel) {
    return static_cast<int>(pixel >> 8 & 0xFF);
}
constexpr int blueOf(Rgb pixel) {
    return static_cast<int>(pixel & 0xFF);
}

// A rectangle of the screen as it was seen at one moment: what the user sees, every window
// composed, see-through windows included.
struct ScreenCapture {
    RECT area{};
    int width = 0;
    int height = 0;
    std::vector<Rgb> pixels;

    Rgb at(int x, int y) const {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(x)];
    }
    // The same picture: same size, same pixels.
    bool operator==(const ScreenCapture& other) const {
        return width == other.width && height == other.height && pixels == other.pixels;
    }
};

// The screen's pixels inside `area` (screen coordinates); empty pixels when it fails.
ScreenCapture captureScreen(const RECT& area);

// Pixels for which `select` holds: their count, and the smallest rectangle (in capture
// coordinates) that holds them all.
struct PixelSet {
    int count = 0;
    std::optional<RECT> bounds;
    long long sumX = 0;
    long long sumY = 0;
};
PixelSet selectPixels(const ScreenCapture& capture, const std::function<bool(int, int)>& select);

} // namespace e2e
