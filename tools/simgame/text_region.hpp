#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace pal4sim {

// The memory region that holds the dialogue text: committed, read-write, at an address below
// 2 GiB so it is a 32-bit game address in the 64-bit build too. The text starts at the region's
// first byte, so the tool's read reaches the whole region.
class TextRegion {
public:
    // Allocates at least `size` bytes (rounded up to whole pages); check valid().
    explicit TextRegion(std::uint32_t size);
    ~TextRegion();
    TextRegion(const TextRegion&) = delete;
    TextRegion& operator=(const TextRegion&) = delete;

    bool valid() const { return base_ != nullptr; }
    std::uint32_t address() const;
    std::uint32_t size() const { return size_; }

    // Stores the text at the region's start with a terminating zero when it fits; a text as long
    // as the region runs to its end unterminated; a longer one is cut to the region.
    // Returns the number of text bytes stored.
    std::uint32_t write(std::string_view text);
    // The start of the text as the game holds it: up to the first zero byte, the region's end
    // or `limit` bytes, whichever comes first.
    std::string read(std::size_t limit) const;

private:
    unsigned char* base_ = nullptr;
    std::uint32_t size_ = 0;
};

} // namespace pal4sim
