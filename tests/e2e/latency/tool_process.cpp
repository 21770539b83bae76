#include "tool_process.hpp"

namespace pal4bench {

namespace {

constexpr const wchar_t* PANEL_CLASS = L"Pal4SubtitlesPanel";
constexpr const wchar_t* OVERLAY_CLASS = L"Pal4SubtitlesOverlay";
constexpr int TOGGLE_BUTTON_ID = 101;

struct WindowSearch {
    DWORD processId;
    const wchar_t* className;
    HWND found;
};

BOOL CALLBACK matchWindow(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<WindowSearch*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t className[64] = {};
    GetClassNameW(window, className, 64);
    if (owner == search->processId && IsWindowVisible(window) &&
        std::wstring(className) == search->className) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

} // namespace

ToolProcess::ToolProcess(const std::wstring& exePath) {
    std::wstring commandLine = L"\"" + exePath + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessW(exePath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process_)) {
        process_ = {};
    }
}

ToolProcess::~ToolProcess() {
    close();
}

bool ToolProcess::running() const {
    return process_.hProcess && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

HWND ToolProcess::findWindow(const wchar_t* className) const {
    WindowSearch search{process_.dwProcessId, className, nullptr};
    EnumWindows(&matchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool ToolProcess::waitForPanel(DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    while (running() && GetTickCount64() < deadline) {
        panel_ = findWindow(PANEL_CLASS);
        if (panel_) {
            return true;
        }
        Sleep(50);
    }
    return false;
}

void ToolProcess::pressToggle() const {
    PostMessageW(GetDlgItem(panel_, TOGGLE_BUTTON_ID), BM_CLICK, 0, 0);
}

HWND ToolProcess::overlay() const {
    return findWindow(OVERLAY_CLASS);
}

bool ToolProcess::waitForOverlay(bool shown, DWORD timeoutMs) const {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    while (running()) {
        if ((overlay() != nullptr) == shown) {
            return true;
        }
        if (GetTickCount64() > deadline) {
            return false;
        }
        Sleep(2);
    }
    return false;
}

void ToolProcess::close() {
    if (!process_.hProcess) {
        return;
    }
    if (running() && panel_) {
        PostMessageW(panel_, WM_CLOSE, 0, 0);
    }
    if (WaitForSingleObject(process_.hProcess, 5000) != WAIT_OBJECT_0) {
        TerminateProcess(process_.hProcess, 1);
        WaitForSingleObject(process_.hProcess, 5000);
    }
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
    process_ = {};
    panel_ = nullptr;
}

} // namespace pal4bench
