#pragma once

#include "settings/hotkey_text.hpp"
#include "settings/settings_file.hpp"

#include <string>
#include <string_view>

namespace pal4 {

// What a hot key's settings key (`hotkey`, `lockhotkey`, `backhotkey`, `forwardhotkey`) asks
// for. It is read once, on start-up,
// and never written: the tool keeps no hot key of its own in the file.
//
// - key absent (or no file): the key's default (Ctrl+Alt+S, Ctrl+Alt+L, Ctrl+Alt+Up,
//   Ctrl+Alt+Down);
// - a value that is empty or only blanks ("hotkey=" ): no hot key, by the user's choice, and
//   nothing to report; this is the way to turn the hot key off;
// - a value parseHotkeyCombination reads: that combination;
// - any other value: no hot key, and `value` names what could not be used.
struct HotkeySetting {
    enum class Choice { Combination, NoHotkey, Unusable };

    Choice choice = Choice::NoHotkey;
    HotkeyCombination combination; // meaningful for Combination only
    std::string value;             // the value as read, for the message about an Unusable one
};

HotkeySetting hotkeySettingFromValue(std::string_view value);
HotkeySetting readHotkeySetting(SettingsFile& settings, std::string_view key,
                                std::string_view defaultValue);

} // namespace pal4
