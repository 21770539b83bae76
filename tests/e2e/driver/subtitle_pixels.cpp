#include "subtitle_pixels.hpp"

#include "scenario_registry.hpp"
#include "wait_until.hpp"

namespace e2e {

std::string settingsWithTextColour(const std::string& moreLines) {
    return "[config]\r\ncolor=" + std::to_string(TEXT_COLORREF) + "\r\n" + moreLines;
}

RECT windowRect(HWND window) {
    RECT bounds{};
    require(GetWindowRect(window, &bounds) != 0, "the window has gone");
    return bounds;
}

ScreenCapture captureWindowArea(HWND window) {
    return captureScreen(windowRect(window));
}

PixelSet textPixels(const ScreenCapture& capture) {
    return selectPixels(capture, [&](int x, int y) { return capture.at(x, y) == TEXT_RGB; });
}

std::vector<bool> textMask(const ScreenCapture& capture) {
    std::vector<bool> mask(capture.pixels.size());
    for (std::size_t i = 0; i < capture.pixels.size(); ++i) {
        mask[i] = capture.pixels[i] == TEXT_RGB;
    }
    return mask;
}

ScreenCapture waitForSettledCapture(HWND window,
                                    const std::function<bool(const ScreenCapture&)>& wanted,
                                    const std::string& what, DWORD timeoutMs) {
    ScreenCapture previous;
    ScreenCapture latest;
    const bool settled = waitUntil(
        [&] {
            previous = std::move(latest);
            latest = captureWindowArea(window);
            return wanted(latest) && latest == previous;
        },
        timeoutMs, 60);
    require(settled, "timed out waiting for " + what);
    return latest;
}

} // namespace e2e
