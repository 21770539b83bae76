#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace pal4bench {

// Pixels of two 32-bit screen frames of the same size (0x00RRGGBB; the top byte of a screen
// DIB is undefined and never counts) that differ in colour. Frames of different sizes differ
// everywhere: the window was resized between them.
std::size_t countChangedPixels(std::span<const std::uint32_t> before,
                               std::span<const std::uint32_t> after);

} // namespace pal4bench
