#include "started_program.hpp"

#include "window_search.hpp"

#include <string>

namespace pal4::e2e {

StartedProgram::StartedProgram(const std::filesystem::path& exe) {
    const std::filesystem::path copy = folder() / exe.filename();
    if (!CopyFileW(exe.c_str(), copy.c_str(), FALSE)) {
        return;
    }
    // Started elsewhere than its own folder: the tool must find its folder from its exe.
    process_.emplace(copy.wstring(), std::wstring{}, folder().parent_path().wstring());
}

HWND StartedProgram::waitForWindow(const wchar_t* className, DWORD timeoutMs) const {
    return ::e2e::waitForTopLevelWindow(processId(), className, timeoutMs);
}

bool StartedProgram::waitForExit(DWORD timeoutMs, DWORD& exitCode) const {
    return process_ && process_->waitForExit(timeoutMs, exitCode);
}

std::filesystem::path exeFromEnvironment(const wchar_t* variable) {
    wchar_t value[4096] = {};
    const DWORD length = GetEnvironmentVariableW(variable, value, 4096);
    if (length == 0 || length >= 4096) {
        return {};
    }
    if (value[0] != L'/') {
        return value;
    }
    using ToDosName = wchar_t*(CDECL*)(const char*);
    const HMODULE kernel32 = GetModuleHandleW(L"kernel32.dll");
    const FARPROC address = GetProcAddress(kernel32, "wine_get_dos_file_name");
    const auto toDosName = reinterpret_cast<ToDosName>(reinterpret_cast<void (*)()>(address));
    if (!toDosName) {
        return value;
    }
    const std::string unixPath(value, value + length); // CTest's paths here are ASCII
    wchar_t* dosName = toDosName(unixPath.c_str());
    if (!dosName) {
        return value;
    }
    std::filesystem::path path(dosName);
    HeapFree(GetProcessHeap(), 0, dosName);
    return path;
}

} // namespace pal4::e2e
