#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>

namespace e2e {

// The keys of one section of an INI file on disk, as bytes; key names lower-cased, values with
// their outer blanks removed, as the Windows profile functions read them. Nothing when the file
// cannot be read.
std::optional<std::map<std::string, std::string>> readIniSection(const std::filesystem::path& file,
                                                                 const std::string& section);

bool writeFileBytes(const std::filesystem::path& file, const std::string& bytes);

} // namespace e2e
