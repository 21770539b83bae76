#pragma once

#include <optional>
#include <string>
#include <vector>

namespace e2e {

struct DriverOptions {
    std::wstring toolExe;
    std::wstring gameExe;
    std::wstring only;   // run only scenarios whose name holds this
    int dpi = 96;        // the screen's DPI the scenarios expect
    int browserPort = 0; // where a headless Chromium's DevTools listen; 0: no browser
};

// From the command line without the program name; nothing, and `problem` set, when it is wrong.
std::optional<DriverOptions> parseDriverOptions(const std::vector<std::wstring>& arguments,
                                                std::wstring& problem);

// A Unix path as Wine's Z: drive sees it; other paths unchanged.
std::wstring asWindowsPath(const std::wstring& path);

} // namespace e2e
