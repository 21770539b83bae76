#pragma once

#include "core/hotkey_record.hpp"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pal4 {

// Virtual-key codes of the keys a combination may end with: the letters and digits are their
// upper-case ASCII codes, F1 to F24 run from VK_F1 on; the arrows, PageUp, PageDown, Home and
// End have their own.
inline constexpr std::uint32_t HOTKEY_VK_F1 = 0x70;
inline constexpr int HOTKEY_HIGHEST_FUNCTION_KEY = 24;

// Reads a combination written as modifiers joined by '+' and then one key, as "Ctrl+Alt+S" or
// "ctrl + shift + f9". Letter case and blanks (spaces, tabs) anywhere are ignored. The
// modifiers are Ctrl, Alt, Shift and Win, each at most once, in any order; the key, last, is a
// letter A-Z, a digit 0-9, F1 to F24, Up, Down, Left, Right, PageUp, PageDown, Home or End. At
// least one modifier is required: a bare key would take that key away from every other program.
// Anything else is nullopt.
std::optional<HotkeyCombination> parseHotkeyCombination(std::string_view text);

// The combination as the tool names it in messages: the modifiers in the order Ctrl, Alt,
// Shift, Win, then the key, joined by '+' ("Ctrl+Alt+S", "Shift+Win+F12").
std::string formatHotkeyCombination(const HotkeyCombination& combination);

} // namespace pal4
