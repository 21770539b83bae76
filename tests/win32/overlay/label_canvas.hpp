#pragma once

// A 32-bit top-down DIB to paint the overlay's label into and read its pixels back.
#include "win32/platform/unique_handle.hpp"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <optional>

namespace pal4::win32::testing {

// Where pixels of one colour lie; empty when there are none.
struct InkBox {
    int left = 1 << 30;
    int top = 1 << 30;
    int right = -1;
    int bottom = -1;
    int count = 0;

    bool empty() const { return count == 0; }
    int height() const { return empty() ? 0 : bottom - top + 1; }
};

class LabelCanvas {
public:
    LabelCanvas(int width, int height) : width_(width), height_(height), dc_(nullptr) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height; // top-down: row 0 is the top
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        bitmap_.reset(CreateDIBSection(dc_.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        bits_ = static_cast<const std::uint32_t*>(bits);
        selected_.emplace(dc_.get(), bitmap_.get());
    }

    bool valid() const { return bits_ != nullptr && selected_->selected(); }
    HDC dc() const { return dc_.get(); }
    SIZE size() const { return {width_, height_}; }

    COLORREF at(int x, int y) const {
        GdiFlush();
        const std::uint32_t pixel =
            bits_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                  static_cast<std::size_t>(x)];
        return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
    }

    std::map<COLORREF, int> colours() const {
        std::map<COLORREF, int> counts;
        for (int y = 0; y < height_; ++y) {
            for (int x = 0; x < width_; ++x) {
                ++counts[at(x, y)];
            }
        }
        return counts;
    }

    // Every pixel of this colour, or with `other` true every pixel not of it.
    InkBox boxOf(COLORREF colour, bool other = false) const {
        InkBox box;
        for (int y = 0; y < height_; ++y) {
            for (int x = 0; x < width_; ++x) {
                if ((at(x, y) == colour) != other) {
                    box.left = std::min(box.left, x);
                    box.top = std::min(box.top, y);
                    box.right = std::max(box.right, x);
                    box.bottom = std::max(box.bottom, y);
                    ++box.count;
                }
            }
        }
        return box;
    }

private:
    int width_;
    int height_;
    MemoryDc dc_;
    UniqueBitmapHandle bitmap_;
    const std::uint32_t* bits_ = nullptr;
    std::optional<SelectedObject> selected_; // last: put back before the bitmap goes
};

} // namespace pal4::win32::testing
