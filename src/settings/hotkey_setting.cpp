#include "settings/hotkey_setting.hpp"

#include "settings/setting_keys.hpp"

#include <algorithm>

namespace pal4 {

HotkeySetting hotkeySettingFromValue(std::string_view value) {
    HotkeySetting setting;
    setting.value = std::string(value);
    if (std::all_of(value.begin(), value.end(), [](char c) { return c == ' ' || c == '\t'; })) {
        setting.choice = HotkeySetting::Choice::NoHotkey;
    } else if (const std::optional<HotkeyCombination> combination = parseHotkeyCombination(value)) {
        setting.choice = HotkeySetting::Choice::Combination;
        setting.combination = *combination;
    } else {
        setting.choice = HotkeySetting::Choice::Unusable;
    }
    return setting;
}

HotkeySetting readHotkeySetting(SettingsFile& settings, std::string_view key,
                                std::string_view defaultValue) {
    return hotkeySettingFromValue(settings.readSetting(key, defaultValue));
}

} // namespace pal4
