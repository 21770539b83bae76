#include "text_region.hpp"

#include "game_layout.hpp"

#include <windows.h>

#include <cstring>

namespace pal4sim {

TextRegion::TextRegion(std::uint32_t size) {
    if (size == 0) {
        return;
    }
    for (std::uint32_t at = TEXT_REGION_FIRST_TRY; at <= TEXT_REGION_LAST_TRY;
         at += TEXT_REGION_STEP) {
        void* wanted = reinterpret_cast<void*>(static_cast<std::uintptr_t>(at));
        void* got = VirtualAlloc(wanted, size, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
        if (got == nullptr) {
            continue;
        }
        MEMORY_BASIC_INFORMATION info{};
        if (got != wanted || VirtualQuery(got, &info, sizeof info) == 0) {
            VirtualFree(got, 0, MEM_RELEASE);
            continue;
        }
        base_ = static_cast<unsigned char*>(got);
        size_ = static_cast<std::uint32_t>(info.RegionSize);
        return;
    }
}

TextRegion::~TextRegion() {
    if (base_ != nullptr) {
        VirtualFree(base_, 0, MEM_RELEASE);
    }
}

std::uint32_t TextRegion::address() const {
    return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(base_));
}

std::uint32_t TextRegion::write(std::string_view text) {
    if (base_ == nullptr) {
        return 0;
    }
    const std::size_t stored = text.size() < size_ ? text.size() : size_;
    std::memcpy(base_, text.data(), stored);
    if (stored < size_) {
        base_[stored] = 0;
    }
    return static_cast<std::uint32_t>(stored);
}

std::string TextRegion::read(std::size_t limit) const {
    if (base_ == nullptr) {
        return {};
    }
    const std::size_t span = limit < size_ ? limit : size_;
    const void* zero = std::memchr(base_, 0, span);
    const std::size_t length =
        zero == nullptr ? span
                        : static_cast<std::size_t>(static_cast<const unsigned char*>(zero) - base_);
    return std::string(reinterpret_cast<const char*>(base_), length);
}

} // namespace pal4sim
