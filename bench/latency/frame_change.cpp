#include "frame_change.hpp"

#include <algorithm>

namespace pal4bench {

std::size_t countChangedPixels(std::span<const std::uint32_t> before,
                               std::span<const std::uint32_t> after) {
    if (before.size() != after.size()) {
        return std::max(before.size(), after.size());
    }
    constexpr std::uint32_t COLOUR_BITS = 0x00FFFFFF;
    std::size_t changed = 0;
    for (std::size_t i = 0; i < before.size(); ++i) {
        if (((before[i] ^ after[i]) & COLOUR_BITS) != 0) {
            ++changed;
        }
    }
    return changed;
}

} // namespace pal4bench
