#include "message_box.hpp"

#include "wait_until.hpp"
#include "window_search.hpp"
#include "window_text.hpp"

#include <vector>

namespace e2e {

namespace {

constexpr wchar_t DIALOG_CLASS[] = L"#32770";

} // namespace

std::optional<MessageBoxView> waitForMessageBox(DWORD processId, const std::wstring& title,
                                                DWORD timeoutMs) {
    std::optional<MessageBoxView> found;
    waitUntil(
        [&] {
            for (HWND dialog : topLevelWindows(processId, DIALOG_CLASS)) {
                if (windowText(dialog).value_or(L"") == title) {
                    found = MessageBoxView{dialog, title, {}, 0};
                    return true;
                }
            }
            return false;
        },
        timeoutMs, 30);
    if (!found) {
        return std::nullopt;
    }
    // The box lays out its text and buttons while it appears; its icon is a static without text.
    Sleep(100);
    for (HWND label : childWindows(found->box, L"Static")) {
        const std::wstring text = windowText(label).value_or(L"");
        if (!text.empty()) {
            found->text += text;
        }
    }
    found->buttonCount = static_cast<int>(childWindows(found->box, L"Button").size());
    return found;
}

bool dismissMessageBox(const MessageBoxView& view, DWORD timeoutMs) {
    const std::vector<HWND> buttons = childWindows(view.box, L"Button");
    if (!buttons.empty()) {
        PostMessageW(buttons.front(), BM_CLICK, 0, 0);
    } else {
        PostMessageW(view.box, WM_COMMAND, IDOK, 0);
    }
    return waitUntil([&] { return !IsWindow(view.box) || !IsWindowVisible(view.box); }, timeoutMs);
}

} // namespace e2e
