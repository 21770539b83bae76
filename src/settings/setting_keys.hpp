#pragma once

#include "core/game_address.hpp"

#include <string_view>

namespace pal4 {

// The settings file beside the exe and its one section.
inline constexpr std::string_view INI_FILE_NAME = "Pal4_Corvel.ini";
inline constexpr std::string_view SETTINGS_SECTION = "config";

// Key names, as they are spelled in the file ("centext" included).
inline constexpr std::string_view KEY_FONT = "font";
inline constexpr std::string_view KEY_COLOR = "color";
inline constexpr std::string_view KEY_SIZE = "size";
inline constexpr std::string_view KEY_SHADOW = "shadow";
inline constexpr std::string_view KEY_BOLD = "bold";
inline constexpr std::string_view KEY_ITALIC = "italic";
inline constexpr std::string_view KEY_CENTRE = "centext";
// Written when its switch is clicked, never by the first run, so that file stays as it was.
inline constexpr std::string_view KEY_OUTLINE = "outline";
inline constexpr std::string_view KEY_LEFT = "left";
inline constexpr std::string_view KEY_TOP = "top";
inline constexpr std::string_view KEY_WIDTH = "width";
inline constexpr std::string_view KEY_HEIGHT = "height";
// The story log and the live line; written when the switch is clicked, never on the first run.
inline constexpr std::string_view KEY_HISTORY = "history";
// Click-through for the overlay; written when its switch changes, never on the first run.
inline constexpr std::string_view KEY_LOCK = "lock";
// The game's window full screen while the overlay is over it; written when its switch changes,
// never on the first run.
inline constexpr std::string_view KEY_FULL_SCREEN = "fullscreen";
// What to give back to the game's window (full_screen_setting.hpp): written when full screen is
// taken, removed when the window is given back; found on start-up only after a crash.
inline constexpr std::string_view KEY_FULL_SCREEN_RESTORE = "fullscreenrestore";
// Read on start-up only, never written (the hot keys: hotkey_setting.hpp).
inline constexpr std::string_view KEY_HOTKEY = "hotkey";
inline constexpr std::string_view KEY_LOCK_HOTKEY = "lockhotkey";
inline constexpr std::string_view KEY_FULL_SCREEN_HOTKEY = "fullscreenhotkey";
// fit, stretch or none (full_screen_setting.hpp); read on start-up only, never written.
inline constexpr std::string_view KEY_FULL_SCREEN_SCALE = "fullscreenscale";
inline constexpr std::string_view KEY_CLIPBOARD = "clipboard";
// The web feeds' port on 127.0.0.1; absent or empty is off (web_port_setting.hpp).
inline constexpr std::string_view KEY_WEB_PORT = "webport";

// Defaults used when the file, the section or the key is absent; the panel's font chooser and
// colour picker show the same before the load. The sliders' defaults are in their table,
// ui/slider_table.hpp.
inline constexpr std::string_view DEFAULT_FONT = "\xCB\xCE\xCC\xE5"; // SimSun (song ti) in GB2312
inline constexpr ColorRef DEFAULT_TEXT_COLOR = 0xFFFFFF;             // white, saved as 16777215
inline constexpr std::string_view DEFAULT_SWITCH = "off";
inline constexpr std::string_view DEFAULT_HOTKEY = "Ctrl+Alt+S";
inline constexpr std::string_view DEFAULT_LOCK_HOTKEY = "Ctrl+Alt+L";
inline constexpr std::string_view DEFAULT_FULL_SCREEN_HOTKEY = "Ctrl+Alt+F";

// Switch values: on exactly for the two bytes "on", case included.
inline constexpr std::string_view SWITCH_ON = "on";
inline constexpr std::string_view SWITCH_OFF = "off";

constexpr bool isSwitchOn(std::string_view value) {
    return value == SWITCH_ON;
}
constexpr std::string_view switchText(bool on) {
    return on ? SWITCH_ON : SWITCH_OFF;
}

} // namespace pal4
