#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace e2e {

// A window's text through WM_GETTEXT, as an accessibility tool reads it from another process;
// nothing when the window does not answer in time.
std::optional<std::wstring> windowText(HWND window);

// Conversions for the game's GB2312 bytes and the driver's report.
std::wstring fromGb2312(const std::string& bytes);
std::string toUtf8(const std::wstring& text);

} // namespace e2e
