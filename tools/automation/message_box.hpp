#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace e2e {

// What a user sees of a message box: its title, its text and how many buttons it offers.
struct MessageBoxView {
    HWND box = nullptr;
    std::wstring title;
    std::wstring text;
    int buttonCount = 0;
};

// The process's message box (a #32770 dialog) with the title, waiting for it up to the time.
std::optional<MessageBoxView> waitForMessageBox(DWORD processId, const std::wstring& title,
                                                DWORD timeoutMs);

// Presses the box's first button and waits for the box to go; true when it went. Posted, since
// a sent message would wait behind the box's own modal loop.
bool dismissMessageBox(const MessageBoxView& view, DWORD timeoutMs);

} // namespace e2e
