#include "started_program.hpp"

#include <memory>
#include <string>
#include <system_error>

namespace pal4::e2e {

namespace {

struct WindowSearch {
    DWORD processId;
    const wchar_t* className;
    HWND found;
};

BOOL CALLBACK matchWindow(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<WindowSearch*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t className[128] = {};
    GetClassNameW(window, className, 128);
    if (owner == search->processId && IsWindowVisible(window) &&
        std::wstring(className) == search->className) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

std::filesystem::path freshFolder() {
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, temp);
    const std::filesystem::path folder =
        std::filesystem::path(temp) / (L"pal4-e2e-" + std::to_wstring(GetCurrentProcessId()) +
                                       L"-" + std::to_wstring(GetTickCount()));
    std::filesystem::create_directories(folder);
    return folder;
}

} // namespace

StartedProgram::StartedProgram(const std::filesystem::path& exe) : folder_(freshFolder()) {
    const std::filesystem::path copy = folder_ / exe.filename();
    if (!CopyFileW(exe.c_str(), copy.c_str(), FALSE)) {
        return;
    }
    std::wstring commandLine = L"\"" + copy.wstring() + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    // Started elsewhere than its own folder: the tool must find its folder from its exe.
    const std::filesystem::path workingFolder = folder_.parent_path();
    if (!CreateProcessW(copy.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        workingFolder.c_str(), &startup, &process_)) {
        process_ = {};
    }
}

StartedProgram::~StartedProgram() {
    if (process_.hProcess) {
        if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(process_.hProcess, 99);
            WaitForSingleObject(process_.hProcess, 10000);
        }
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
    }
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

HWND StartedProgram::waitForWindow(const wchar_t* className, DWORD timeoutMs) const {
    const DWORD start = GetTickCount();
    for (;;) {
        WindowSearch search{process_.dwProcessId, className, nullptr};
        EnumWindows(&matchWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found || GetTickCount() - start > timeoutMs) {
            return search.found;
        }
        Sleep(50);
    }
}

bool StartedProgram::waitForExit(DWORD timeoutMs, DWORD& exitCode) const {
    if (WaitForSingleObject(process_.hProcess, timeoutMs) != WAIT_OBJECT_0) {
        return false;
    }
    return GetExitCodeProcess(process_.hProcess, &exitCode) != 0;
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
