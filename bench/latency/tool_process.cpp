#include "tool_process.hpp"

#include "wait_until.hpp"
#include "window_search.hpp"

namespace pal4bench {

namespace {

constexpr const wchar_t* PANEL_CLASS = L"Pal4SubtitlesPanel";
constexpr const wchar_t* OVERLAY_CLASS = L"Pal4SubtitlesOverlay";
constexpr int TOGGLE_BUTTON_ID = 101;
constexpr int OUTLINE_BOX_ID = 119;
constexpr int EDIT_BOX_ID = 118;
constexpr DWORD CLOSE_TIMEOUT_MS = 5000;
constexpr DWORD PANEL_POLL_MS = 50;
// Fine enough not to add to the open and close times the cycles measure.
constexpr DWORD OVERLAY_POLL_MS = 2;

} // namespace

ToolProcess::ToolProcess(const std::wstring& exePath) : process_(exePath, {}, {}) {}

ToolProcess::~ToolProcess() {
    close();
}

bool ToolProcess::waitForPanel(DWORD timeoutMs) {
    // A tool that ends on its way up fails at once instead of at the deadline.
    e2e::waitUntil(
        [&] {
            panel_ = running() ? e2e::firstTopLevelWindow(process_.id(), PANEL_CLASS) : nullptr;
            return panel_ != nullptr || !running();
        },
        timeoutMs, PANEL_POLL_MS);
    return panel_ != nullptr;
}

void ToolProcess::pressToggle() const {
    click(TOGGLE_BUTTON_ID);
}

void ToolProcess::click(int controlId) const {
    PostMessageW(GetDlgItem(panel_, controlId), BM_CLICK, 0, 0);
}

std::wstring ToolProcess::editText() const {
    wchar_t text[256] = {};
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(GetDlgItem(panel_, EDIT_BOX_ID), WM_GETTEXT, std::size(text),
                        reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 1000, &copied);
    return text;
}

void ToolProcess::clickOutline() const {
    PostMessageW(GetDlgItem(panel_, OUTLINE_BOX_ID), BM_CLICK, 0, 0);
}

HWND ToolProcess::overlay() const {
    return e2e::firstTopLevelWindow(process_.id(), OVERLAY_CLASS);
}

bool ToolProcess::waitForOverlay(bool shown, DWORD timeoutMs) const {
    bool reached = false;
    e2e::waitUntil(
        [&] {
            reached = running() && (overlay() != nullptr) == shown;
            return reached || !running();
        },
        timeoutMs, OVERLAY_POLL_MS);
    return reached;
}

void ToolProcess::close() {
    if (!process_.started()) {
        return;
    }
    if (running() && panel_) {
        PostMessageW(panel_, WM_CLOSE, 0, 0);
    }
    DWORD exitCode = 0;
    if (!process_.waitForExit(CLOSE_TIMEOUT_MS, exitCode)) {
        process_.kill();
    }
    panel_ = nullptr;
}

} // namespace pal4bench
