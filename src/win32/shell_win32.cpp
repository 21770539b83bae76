#include "win32/shell_win32.hpp"

#include "win32/gb2312.hpp"
#include "win32/system_library.hpp"

#include <windows.h>

#include <shellapi.h>

#include <string>

namespace pal4::win32 {

void ShellWin32::showMessage(const std::string& text, const std::string& title,
                             std::uint32_t flags) {
    MessageBoxW(messageOwner_, widenGb2312(text).c_str(), widenGb2312(title).c_str(),
                static_cast<UINT>(flags));
}

bool ShellWin32::shellExecute(const std::string& operation, const std::string& file,
                              const std::string& parameters, const std::string& directory,
                              std::int32_t showCommand) {
    const std::wstring wideOperation = widenGb2312(operation);
    const std::wstring wideFile = widenGb2312(file);
    const std::wstring wideParameters = widenGb2312(parameters);
    const std::wstring wideDirectory = widenGb2312(directory);
    using ShellExecuteFn = HINSTANCE(WINAPI*)(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT);
    const auto shellExecuteW = systemFunction<ShellExecuteFn>(L"shell32.dll", "ShellExecuteW");
    if (shellExecuteW == nullptr) {
        return false;
    }
    const HINSTANCE result =
        shellExecuteW(nullptr, wideOperation.c_str(), wideFile.c_str(), wideParameters.c_str(),
                      wideDirectory.c_str(), static_cast<int>(showCommand));
    // Values above 32 mean success; the rest are error codes in a handle's clothing.
    return reinterpret_cast<INT_PTR>(result) > 32;
}

std::filesystem::path ShellWin32::programDirectory() const {
    // The buffer grows until the whole name fits, so a long path is never cut.
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        const DWORD capacity = static_cast<DWORD>(name.size());
        const DWORD length = GetModuleFileNameW(nullptr, name.data(), capacity);
        if (length == 0) {
            return {};
        }
        if (length < capacity) {
            name.resize(length);
            return std::filesystem::path(name).parent_path();
        }
        name.resize(name.size() * 2);
    }
}

} // namespace pal4::win32
