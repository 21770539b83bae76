#pragma once

#include "settings/settings_file.hpp"

#include <cstdint>
#include <string>
#include <string_view>

namespace pal4 {

// The lowest port the web feeds take: the ones below are the system's.
inline constexpr std::uint32_t MIN_WEB_PORT = 1024;
inline constexpr std::uint32_t MAX_WEB_PORT = 65535;

// What the settings key `webport` asks for. Read once, on start-up, and never written:
// - absent, empty or only blanks: no web feeds, the default;
// - a decimal port number from MIN_WEB_PORT to MAX_WEB_PORT: serve on 127.0.0.1 at that port;
// - anything else: no web feeds, and `value` names what could not be used.
struct WebPortSetting {
    enum class Choice { Off, Port, Unusable };

    Choice choice = Choice::Off;
    std::uint16_t port = 0; // for Port
    std::string value;      // the value as read
};

WebPortSetting webPortSettingFromValue(std::string_view value);
WebPortSetting readWebPortSetting(SettingsFile& settings);

} // namespace pal4
