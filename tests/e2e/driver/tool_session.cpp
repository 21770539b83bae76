#include "tool_session.hpp"

#include "ini_file.hpp"
#include "panel_controls.hpp"
#include "wait_until.hpp"
#include "window_search.hpp"
#include "window_text.hpp"

#include <commctrl.h>

namespace e2e {

namespace {

constexpr DWORD START_TIMEOUT_MS = 20000;
constexpr DWORD ANSWER_TIMEOUT_MS = 3000;
constexpr wchar_t SETTINGS_NAME[] = L"Pal4_Corvel.ini";

LRESULT askControl(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, ANSWER_TIMEOUT_MS,
                             &result)) {
        throw ScenarioFailure("a control of the panel did not answer");
    }
    return static_cast<LRESULT>(result);
}

} // namespace

ToolSession::ToolSession(const DriverContext& context,
                         const std::optional<std::string>& settingsBytes) {
    const std::filesystem::path copy =
        folder_.path() / std::filesystem::path(context.toolExe).filename();
    require(CopyFileW(context.toolExe.c_str(), copy.c_str(), FALSE) != 0,
            "cannot copy the tool's exe into a scratch folder");
    if (settingsBytes) {
        require(writeFileBytes(folder_.path() / SETTINGS_NAME, *settingsBytes),
                "cannot write the settings file beforehand");
    }
    // Started from another folder: the tool must find its settings beside its exe.
    process_ =
        std::make_unique<ChildProcess>(copy.wstring(), L"", folder_.path().parent_path().wstring());
    require(process_->started(), "cannot start the tool");
    panel_ = waitForTopLevelWindow(process_->id(), PANEL_CLASS, START_TIMEOUT_MS);
    require(panel_ != nullptr, "the control panel did not appear");
    // The panel fills its controls while it is created; wait until the captions hold numbers.
    require(waitUntil([&] { return !caption(HEIGHT_CAPTION).empty(); }, START_TIMEOUT_MS),
            "the panel's captions stayed empty");
}

HWND ToolSession::control(int id) const {
    const HWND child = GetDlgItem(panel_, id);
    require(child != nullptr, "the panel has no control " + std::to_string(id));
    return child;
}

std::filesystem::path ToolSession::settingsFile() const {
    return folder_.path() / SETTINGS_NAME;
}

std::map<std::string, std::string> ToolSession::settings() const {
    return readIniSection(settingsFile(), "config").value_or(std::map<std::string, std::string>{});
}

std::wstring ToolSession::caption(int id) const {
    const auto text = windowText(control(id));
    require(text.has_value(), "control " + std::to_string(id) + " did not give its text");
    return *text;
}

bool ToolSession::checked(int id) const {
    return askControl(control(id), BM_GETCHECK) == BST_CHECKED;
}

int ToolSession::sliderPosition(int id) const {
    return static_cast<int>(askControl(control(id), TBM_GETPOS));
}

void ToolSession::click(int id) const {
    PostMessageW(control(id), BM_CLICK, 0, 0);
}

void ToolSession::moveSlider(int id, int position) const {
    const HWND slider = control(id);
    askControl(slider, TBM_SETPOS, TRUE, position);
    PostMessageW(panel_, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, position),
                 reinterpret_cast<LPARAM>(slider));
    PostMessageW(panel_, WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0), reinterpret_cast<LPARAM>(slider));
}

void ToolSession::expectToggleCaption(const std::wstring& expected, const std::string& when) const {
    std::wstring seen;
    const bool shown = waitUntil(
        [&] {
            seen = caption(TOGGLE_BUTTON);
            return seen == expected;
        },
        5000);
    require(shown,
            when + ": the toggle reads \"" + toUtf8(seen) + "\", not \"" + toUtf8(expected) + "\"");
}

HWND ToolSession::waitForOverlay() const {
    const HWND overlay = waitForTopLevelWindow(process_->id(), OVERLAY_CLASS, 5000);
    require(overlay != nullptr, "no overlay window appeared");
    return overlay;
}

bool ToolSession::overlayGone(DWORD timeoutMs) const {
    return waitUntil([&] { return topLevelWindows(process_->id(), OVERLAY_CLASS).empty(); },
                     timeoutMs);
}

void ToolSession::closePanel() const {
    PostMessageW(panel_, WM_CLOSE, 0, 0);
}

} // namespace e2e
