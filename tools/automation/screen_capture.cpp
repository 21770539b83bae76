#include "screen_capture.hpp"

#include <algorithm>

namespace e2e {

ScreenCapture captureScreen(const RECT& area) {
    ScreenCapture capture;
    capture.area = area;
    capture.width = std::max(0, static_cast<int>(area.right - area.left));
    capture.height = std::max(0, static_cast<int>(area.bottom - area.top));
    if (capture.width == 0 || capture.height == 0) {
        return capture;
    }
    const HDC screen = GetDC(nullptr);
    const HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = capture.width;
    info.bmiHeader.biHeight = -capture.height; // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    const HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap != nullptr && bits != nullptr) {
        const HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, capture.width, capture.height, screen, area.left, area.top, SRCCOPY);
        GdiFlush();
        const auto* source = static_cast<const std::uint32_t*>(bits);
        const std::size_t count =
            static_cast<std::size_t>(capture.width) * static_cast<std::size_t>(capture.height);
        capture.pixels.assign(source, source + count);
        for (Rgb& pixel : capture.pixels) {
            pixel &= 0x00FFFFFF; // a DIB's 32-bit pixel is 0x00RRGGBB already
        }
        SelectObject(memory, old);
    }
    if (bitmap != nullptr) {
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return capture;
}

PixelSet selectPixels(const ScreenCapture& capture, const std::function<bool(int, int)>& select) {
    PixelSet set;
    if (capture.pixels.empty()) {
        return set;
    }
    for (int y = 0; y < capture.height; ++y) {
        for (int x = 0; x < capture.width; ++x) {
            if (!select(x, y)) {
                continue;
            }
            ++set.count;
            set.sumX += x;
            set.sumY += y;
            if (!set.bounds) {
                set.bounds = RECT{x, y, x + 1, y + 1};
            } else {
                set.bounds->left = std::min<LONG>(set.bounds->left, x);
                set.bounds->top = std::min<LONG>(set.bounds->top, y);
                set.bounds->right = std::max<LONG>(set.bounds->right, x + 1);
                set.bounds->bottom = std::max<LONG>(set.bounds->bottom, y + 1);
            }
        }
    }
    return set;
}

} // namespace e2e
