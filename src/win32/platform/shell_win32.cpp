#include "win32/platform/shell_win32.hpp"

#include "win32/platform/gb2312.hpp"
#include "win32/platform/system_library.hpp"

#include <windows.h>

#include <shellapi.h>

#include <string>

namespace pal4::win32 {

void ShellWin32::showMessage(const std::string& text, const std::string& title,
                             std::uint32_t flags) {
    MessageBoxW(messageOwner_, widenGb2312(text).c_str(), widenGb2312(title).c_str(),
                static_cast<UINT>(flags));
}

namespace {

bool execute(const wchar_t* operation, const wchar_t* file, const wchar_t* parameters,
             const wchar_t* directory, int showCommand) {
    using ShellExecuteFn = HINSTANCE(WINAPI*)(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT);
    const auto shellExecuteW = systemFunction<ShellExecuteFn>(L"shell32.dll", "ShellExecuteW");
    if (shellExecuteW == nullptr) {
        return false;
    }
    const HINSTANCE result =
        shellExecuteW(nullptr, operation, file, parameters, directory, showCommand);
    // Values above 32 mean success; the rest are error codes in a handle's clothing.
    return reinterpret_cast<INT_PTR>(result) > 32;
}

} // namespace

bool ShellWin32::shellExecute(const std::string& operation, const std::string& file,
                              const std::string& parameters, const std::string& directory,
                              std::int32_t showCommand) {
    return execute(widenGb2312(operation).c_str(), widenGb2312(file).c_str(),
                   widenGb2312(parameters).c_str(), widenGb2312(directory).c_str(),
                   static_cast<int>(showCommand));
}

bool ShellWin32::openFile(const std::filesystem::path& path) {
    return execute(L"open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
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
