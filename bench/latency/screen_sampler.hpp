#pragma once

#include <windows.h>

#include <cstdint>
#include <span>
#include <vector>

namespace pal4bench {

// Copies one rectangle of the screen, as another program sees it, into memory: a BitBlt from
// the screen DC into a 32-bit top-down DIB section.
class ScreenSampler {
public:
    explicit ScreenSampler(const RECT& area);
    ~ScreenSampler();
    ScreenSampler(const ScreenSampler&) = delete;
    ScreenSampler& operator=(const ScreenSampler&) = delete;

    bool ready() const { return pixels_ != nullptr; }
    // The rectangle's pixels now, row by row (0x00RRGGBB). Valid until the next grab.
    std::span<const std::uint32_t> grab();

private:
    RECT area_;
    HDC screen_ = nullptr;
    HDC memory_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;
    std::uint32_t* pixels_ = nullptr;
    std::vector<std::uint32_t> frame_;
};

} // namespace pal4bench
