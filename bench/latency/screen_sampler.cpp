#include "screen_sampler.hpp"

#include <algorithm>

namespace pal4bench {

ScreenSampler::ScreenSampler(const RECT& area) : area_(area) {
    const LONG width = area.right - area.left;
    const LONG height = area.bottom - area.top;
    if (width <= 0 || height <= 0) {
        return;
    }
    screen_ = GetDC(nullptr);
    memory_ = CreateCompatibleDC(screen_);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down: row 0 is the rectangle's top
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(screen_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!memory_ || !bitmap_ || !bits) {
        return;
    }
    previous_ = SelectObject(memory_, bitmap_);
    pixels_ = static_cast<std::uint32_t*>(bits);
    frame_.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
}

ScreenSampler::~ScreenSampler() {
    if (previous_) {
        SelectObject(memory_, previous_);
    }
    if (bitmap_) {
        DeleteObject(bitmap_);
    }
    if (memory_) {
        DeleteDC(memory_);
    }
    if (screen_) {
        ReleaseDC(nullptr, screen_);
    }
}

std::span<const std::uint32_t> ScreenSampler::grab() {
    if (!pixels_) {
        return {};
    }
    BitBlt(memory_, 0, 0, area_.right - area_.left, area_.bottom - area_.top, screen_, area_.left,
           area_.top, SRCCOPY);
    GdiFlush(); // the DIB's bits are complete only after the batch is flushed
    std::copy_n(pixels_, frame_.size(), frame_.begin());
    return frame_;
}

} // namespace pal4bench
