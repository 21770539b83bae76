#include "win32/overlay_window/pixel_buffer.hpp"

namespace pal4::win32 {

bool PixelBuffer::fit(SIZE size) {
    if (pixels_ != nullptr && size.cx == size_.cx && size.cy == size_.cy) {
        return true;
    }
    selected_.reset();
    bitmap_.reset();
    pixels_ = nullptr;
    size_ = {0, 0};
    if (size.cx <= 0 || size.cy <= 0) {
        return false;
    }
    if (!dc_) {
        dc_.emplace(nullptr);
    }
    BITMAPINFO picture{};
    picture.bmiHeader.biSize = sizeof(picture.bmiHeader);
    picture.bmiHeader.biWidth = size.cx;
    picture.bmiHeader.biHeight = -size.cy;
    picture.bmiHeader.biPlanes = 1;
    picture.bmiHeader.biBitCount = 32;
    picture.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    bitmap_.reset(CreateDIBSection(dc_->get(), &picture, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!*dc_ || !bitmap_ || bits == nullptr) {
        bitmap_.reset();
        return false;
    }
    selected_.emplace(dc_->get(), bitmap_.get());
    pixels_ = static_cast<std::uint32_t*>(bits);
    size_ = size;
    return true;
}

} // namespace pal4::win32
