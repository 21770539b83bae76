#pragma once

#include <windows.h>

#include <shellapi.h>

#include <string>
#include <vector>

namespace e2e {

// The program's arguments split as Windows splits them, without the program's own name: main's
// argv would be in the code page, and a wWinMain program gets one string.
inline std::vector<std::wstring> commandLineArguments() {
    int count = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::wstring> arguments;
    for (int i = 1; i < count; ++i) {
        arguments.emplace_back(argv[i]);
    }
    LocalFree(argv);
    return arguments;
}

} // namespace e2e
