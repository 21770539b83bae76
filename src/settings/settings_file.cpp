#include "settings/settings_file.hpp"

#include "ports/file_store_port.hpp"
#include "settings/decimal_integer.hpp"
#include "settings/ini_document.hpp"
#include "settings/setting_keys.hpp"

namespace pal4 {

std::string SettingsFile::readSetting(std::string_view key, std::string_view defaultValue) {
    const std::optional<std::string> bytes = files_.readFile(state_.iniPath);
    if (!bytes) {
        return std::string(defaultValue);
    }
    return IniDocument(*bytes).value(SETTINGS_SECTION, key).value_or(std::string(defaultValue));
}

void SettingsFile::writeSetting(std::string_view key, std::string_view value) {
    std::optional<std::string> bytes = files_.readFile(state_.iniPath);
    if (!bytes) {
        if (files_.exists(state_.iniPath)) {
            return; // there, but unreadable: writing would replace it with one key
        }
        bytes.emplace();
    }
    IniDocument document(std::move(*bytes));
    if (document.setValue(SETTINGS_SECTION, key, value)) {
        files_.replaceFile(state_.iniPath, document.bytes(), Durability::OnDisk);
    }
}

void SettingsFile::removeSetting(std::string_view key) {
    std::optional<std::string> bytes = files_.readFile(state_.iniPath);
    if (!bytes) {
        return;
    }
    IniDocument document(std::move(*bytes));
    if (document.removeValue(SETTINGS_SECTION, key)) {
        files_.replaceFile(state_.iniPath, document.bytes(), Durability::OnDisk);
    }
}

void SettingsFile::saveGeometry() {
    writeSetting(KEY_LEFT, int32ToText(state_.overlayLeft));
    writeSetting(KEY_TOP, int32ToText(state_.overlayTop));
    writeSetting(KEY_WIDTH, int32ToText(state_.overlayWidth));
    writeSetting(KEY_HEIGHT, int32ToText(state_.overlayHeight));
}

} // namespace pal4
