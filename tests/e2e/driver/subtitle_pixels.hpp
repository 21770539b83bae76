#pragma once

#include "screen_capture.hpp"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace e2e {

// The scenarios that look at pixels give the subtitle a colour found nowhere in the game's
// scene, and the overlay draws glyphs without antialiasing: a pixel of exactly this colour is a
// pixel of the subtitle's text.
inline constexpr Rgb TEXT_RGB = rgbOf(255, 0, 255);
inline constexpr std::uint32_t TEXT_COLORREF = 0x00FF00FF; // the same magenta as a COLORREF
// A settings file with that colour and whatever else the scenario adds.
std::string settingsWithTextColour(const std::string& moreLines = {});

RECT windowRect(HWND window);

// The screen under the overlay's rectangle.
ScreenCapture captureWindowArea(HWND window);

PixelSet textPixels(const ScreenCapture& capture);
// Which pixels are text, as a mask: two captures show the same text when their masks are equal.
std::vector<bool> textMask(const ScreenCapture& capture);

// Waits until `wanted` holds for a capture and the picture has stopped changing (two captures
// in a row equal); the last capture, or a failure of the scenario naming `what`.
ScreenCapture waitForSettledCapture(HWND window,
                                    const std::function<bool(const ScreenCapture&)>& wanted,
                                    const std::string& what, DWORD timeoutMs = 4000);

} // namespace e2e
