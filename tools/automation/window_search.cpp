#include "window_search.hpp"

#include "wait_until.hpp"

namespace e2e {

namespace {

struct TopLevelSearch {
    DWORD processId;
    const std::wstring* className;
    std::vector<HWND>* found;
};

BOOL CALLBACK collectTopLevel(HWND window, LPARAM context) {
    const auto* search = reinterpret_cast<const TopLevelSearch*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && IsWindowVisible(window) &&
        (search->className->empty() || classNameOf(window) == *search->className)) {
        search->found->push_back(window);
    }
    return TRUE;
}

} // namespace

std::wstring classNameOf(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

std::vector<HWND> topLevelWindows(DWORD processId, const std::wstring& className) {
    std::vector<HWND> found;
    TopLevelSearch search{processId, &className, &found};
    EnumWindows(&collectTopLevel, reinterpret_cast<LPARAM>(&search));
    return found;
}

HWND firstTopLevelWindow(DWORD processId, const std::wstring& className) {
    const std::vector<HWND> found = topLevelWindows(processId, className);
    return found.empty() ? nullptr : found.front();
}

HWND waitForTopLevelWindow(DWORD processId, const std::wstring& className, DWORD timeoutMs) {
    HWND window = nullptr;
    waitUntil(
        [&] {
            window = firstTopLevelWindow(processId, className);
            return window != nullptr;
        },
        timeoutMs, 30);
    return window;
}

std::vector<HWND> childWindows(HWND parent, const std::wstring& className) {
    std::vector<HWND> found;
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if (IsWindowVisible(child) && classNameOf(child) == className) {
            found.push_back(child);
        }
    }
    return found;
}

} // namespace e2e
