#pragma once

#include <cstdint>

namespace pal4 {

// Modifier bits as RegisterHotKey takes them (MOD_ALT, MOD_CONTROL, MOD_SHIFT, MOD_WIN).
inline constexpr std::uint32_t HOTKEY_MOD_ALT = 0x1;
inline constexpr std::uint32_t HOTKEY_MOD_CONTROL = 0x2;
inline constexpr std::uint32_t HOTKEY_MOD_SHIFT = 0x4;
inline constexpr std::uint32_t HOTKEY_MOD_WIN = 0x8;

// A hot key as RegisterHotKey wants it. It lives this low because the settings read it and
// the panel's port registers it.
struct HotkeyCombination {
    std::uint32_t modifiers = 0; // HOTKEY_MOD_* bits
    std::uint32_t virtualKey = 0;
    bool operator==(const HotkeyCombination&) const = default;
};

} // namespace pal4
