#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

// The visible top-level windows of a process, optionally only those of one class.
std::vector<HWND> topLevelWindows(DWORD processId, const std::wstring& className = {});

// The first visible top-level window of the process and class, or nullptr.
HWND firstTopLevelWindow(DWORD processId, const std::wstring& className);

// The first visible top-level window of the process and class, waiting for it up to the time;
// nullptr when none appeared.
HWND waitForTopLevelWindow(DWORD processId, const std::wstring& className, DWORD timeoutMs);

// The visible child windows of `parent` (direct children only) of one class, such as "Button".
std::vector<HWND> childWindows(HWND parent, const std::wstring& className);

std::wstring classNameOf(HWND window);

} // namespace e2e
