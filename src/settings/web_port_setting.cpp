#include "settings/web_port_setting.hpp"

#include "core/ascii_case.hpp"
#include "settings/setting_keys.hpp"

#include <algorithm>

namespace pal4 {

WebPortSetting webPortSettingFromValue(std::string_view value) {
    WebPortSetting setting;
    setting.value = std::string(value);
    value = trimmedBlanks(value);
    if (value.empty()) {
        return setting;
    }
    setting.choice = WebPortSetting::Choice::Unusable;
    // Digits only, and few enough that the number cannot overflow on its way to the range check.
    if (value.size() > 5 ||
        !std::all_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return setting;
    }
    std::uint32_t number = 0;
    for (const char digit : value) {
        number = number * 10 + static_cast<std::uint32_t>(digit - '0');
    }
    if (number >= MIN_WEB_PORT && number <= MAX_WEB_PORT) {
        setting.choice = WebPortSetting::Choice::Port;
        setting.port = static_cast<std::uint16_t>(number);
    }
    return setting;
}

WebPortSetting readWebPortSetting(SettingsFile& settings) {
    return webPortSettingFromValue(settings.readSetting(KEY_WEB_PORT, ""));
}

} // namespace pal4
