#pragma once

#include "win32/platform/unique_handle.hpp"

#include <windows.h>

#include <cstdint>
#include <optional>

namespace pal4::win32 {

// A 32-bit top-down picture with a memory DC selected on it, kept from one paint to the next and
// made again only when its size changes: a paint of an unchanged size allocates nothing.
class PixelBuffer {
public:
    PixelBuffer() = default;
    PixelBuffer(const PixelBuffer&) = delete;
    PixelBuffer& operator=(const PixelBuffer&) = delete;

    // Makes the picture `size` when it is not; false when Windows refuses one.
    bool fit(SIZE size);

    HDC dc() const noexcept { return dc_ ? dc_->get() : nullptr; }
    // 0x00RRGGBB, row by row from the top; valid until the next fit of another size.
    std::uint32_t* pixels() const noexcept { return pixels_; }

private:
    // Declared in the order they are made, so they go in reverse: the bitmap is put back out of
    // the DC before either is deleted.
    std::optional<MemoryDc> dc_;
    UniqueBitmapHandle bitmap_;
    std::optional<SelectedObject> selected_;
    std::uint32_t* pixels_ = nullptr;
    SIZE size_{0, 0};
};

} // namespace pal4::win32
