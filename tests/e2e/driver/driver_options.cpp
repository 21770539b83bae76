#include "driver_options.hpp"

namespace e2e {

std::wstring asWindowsPath(const std::wstring& path) {
    if (path.empty() || path.front() != L'/') {
        return path;
    }
    std::wstring result = L"Z:";
    for (wchar_t c : path) {
        result.push_back(c == L'/' ? L'\\' : c);
    }
    return result;
}

std::optional<DriverOptions> parseDriverOptions(const std::vector<std::wstring>& arguments,
                                                std::wstring& problem) {
    DriverOptions options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::wstring& name = arguments[i];
        if (i + 1 >= arguments.size()) {
            problem = name + L" needs a value";
            return std::nullopt;
        }
        const std::wstring& value = arguments[++i];
        if (name == L"--tool") {
            options.toolExe = asWindowsPath(value);
        } else if (name == L"--game") {
            options.gameExe = asWindowsPath(value);
        } else if (name == L"--only") {
            options.only = value;
        } else if (name == L"--dpi") {
            options.dpi = _wtoi(value.c_str());
            if (options.dpi < 48 || options.dpi > 480) {
                problem = L"--dpi wants a number from 48 to 480";
                return std::nullopt;
            }
        } else if (name == L"--browser-port") {
            options.browserPort = _wtoi(value.c_str());
        } else {
            problem = L"unknown option " + name;
            return std::nullopt;
        }
    }
    if (options.toolExe.empty() || options.gameExe.empty()) {
        problem = L"usage: pal4_e2e --tool PATH\\Pal4Subtitles.exe --game PATH\\Pal4.exe "
                  L"[--only NAME-SUBSTRING] [--dpi 144] [--browser-port N]";
        return std::nullopt;
    }
    return options;
}

} // namespace e2e
