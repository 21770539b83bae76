#include "pointer_input.hpp"

#include "wait_until.hpp"

#include <string>

namespace e2e {

bool clickAt(POINT pixel, int clicks) {
    wchar_t display[64] = {};
    if (GetEnvironmentVariableW(L"DISPLAY", display, 64) == 0) {
        return false;
    }
    // A Unix process's handle cannot be waited on under Wine: the shell leaves a file behind
    // once xdotool is done, and that file is waited for.
    static unsigned serial = 0;
    const std::wstring done = L"/tmp/pal4-clicks-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                              std::to_wstring(++serial);
    const std::wstring doneHere = L"Z:" + done;
    DeleteFileW(doneHere.c_str());
    const POINT parked{GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1};
    // Wine starts a Unix program without the DISPLAY it runs on itself, hence env.
    std::wstring commandLine =
        L"Z:\\usr\\bin\\env DISPLAY=" + std::wstring(display) + L" sh -c \"xdotool mousemove " +
        L"--sync " + std::to_wstring(pixel.x) + L" " + std::to_wstring(pixel.y) +
        L" click --repeat " + std::to_wstring(clicks) + L" --delay 60 1 mousemove " +
        std::to_wstring(parked.x) + L" " + std::to_wstring(parked.y) + L"; touch " + done + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        return false;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    const bool clicked = waitUntil(
        [&] { return GetFileAttributesW(doneHere.c_str()) != INVALID_FILE_ATTRIBUTES; }, 5000);
    DeleteFileW(doneHere.c_str());
    return clicked;
}

} // namespace e2e
