#pragma once

#include "core/app_state.hpp"

#include <string>
#include <string_view>

namespace pal4 {

class FileStorePort;

// The settings file at AppState::iniPath: one section "config" of key=value lines.
// Nothing is cached: every read and every write goes to the file.
class SettingsFile {
public:
    SettingsFile(AppState& state, FileStorePort& files) : state_(state), files_(files) {}

    // The key's value, or `defaultValue` when the file, the section or the key is absent.
    std::string readSetting(std::string_view key, std::string_view defaultValue);
    // Sets one key, creating the file, section or key as needed; failures are silent.
    void writeSetting(std::string_view key, std::string_view value);
    // Removes one key, when it is there; failures are silent.
    void removeSetting(std::string_view key);
    // Writes left, top, width and height, in that order, from AppState.
    void saveGeometry();

private:
    AppState& state_;
    FileStorePort& files_;
};

} // namespace pal4
