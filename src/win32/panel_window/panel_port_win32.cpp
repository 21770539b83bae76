#include "win32/panel_window/panel_window.hpp"

#include "ui/slider_table.hpp"
#include "win32/platform/gb2312.hpp"

#include <commctrl.h>

namespace pal4::win32 {

namespace {

// The text of one entry of a combo box's list.
std::wstring listEntry(HWND comboBox, LRESULT index) {
    const auto position = static_cast<WPARAM>(index);
    const LRESULT length = SendMessageW(comboBox, CB_GETLBTEXTLEN, position, 0);
    if (length <= 0) {
        return {};
    }
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT copied =
        SendMessageW(comboBox, CB_GETLBTEXT, position, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return text;
}

} // namespace

std::int32_t PanelWindow::sliderPosition(Slider slider) const {
    return static_cast<std::int32_t>(
        SendMessageW(control(sliderControl(slider)), TBM_GETPOS, 0, 0));
}

void PanelWindow::setSliderPosition(Slider slider, std::int32_t position) {
    const std::int32_t held = sliderRow(slider).range.clamp(position);
    lastSliderPositions_[static_cast<std::size_t>(slider)] = held;
    SendMessageW(control(sliderControl(slider)), TBM_SETPOS, TRUE, held);
}

bool PanelWindow::isChecked(CheckBox box) const {
    return SendMessageW(control(checkBoxControl(box)), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void PanelWindow::setChecked(CheckBox box, bool checked) {
    SendMessageW(control(checkBoxControl(box)), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED,
                 0);
}

void PanelWindow::setCaption(ValueCaption caption, const std::string& text) {
    SetWindowTextW(control(captionControl(caption)), widenGb2312(text).c_str());
}

void PanelWindow::setEditText(const std::string& text) {
    SetWindowTextW(control(ID_HELP_BOX), widenGb2312(text).c_str());
}

std::string PanelWindow::fontFace() const {
    const HWND chooser = control(ID_FONT_CHOOSER);
    const LRESULT selected = SendMessageW(chooser, CB_GETCURSEL, 0, 0);
    return selected == CB_ERR ? std::string() : narrowToGb2312(listEntry(chooser, selected));
}

void PanelWindow::setFontFace(const std::string& face) {
    const HWND chooser = control(ID_FONT_CHOOSER);
    const std::wstring wide = widenGb2312(face);
    // The list's own search ignores letter case; a face is only the same when its text is.
    LRESULT chosen = CB_ERR;
    const LRESULT count = SendMessageW(chooser, CB_GETCOUNT, 0, 0);
    for (LRESULT index = 0; index < count && chosen == CB_ERR; ++index) {
        if (listEntry(chooser, index) == wide) {
            chosen = index;
        }
    }
    // A face that is not installed still shows as chosen: the settings file may name one.
    if (chosen == CB_ERR) {
        chosen = SendMessageW(chooser, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
    }
    SendMessageW(chooser, CB_SETCURSEL, static_cast<WPARAM>(chosen), 0);
}

void PanelWindow::setColor(ColorRef color) {
    color_ = color;
    InvalidateRect(control(ID_COLOR_PICKER), nullptr, TRUE);
}

void PanelWindow::setToggleCaption(const std::string& caption) {
    SetWindowTextW(control(ID_TOGGLE), widenGb2312(caption).c_str());
}

void PanelWindow::underlineLinks() {
    linksUnderlined_ = true;
    linkFont_ = makeFont(FW_NORMAL, false, true);
    for (const PaintedLabelDesign& label : PANEL_PAINTED_LABELS) {
        if (label.link) {
            const RECT bounds = scaled(label.left, label.top, label.width, label.height);
            InvalidateRect(window_, &bounds, TRUE);
        }
    }
}

namespace {

int hotkeyId(Hotkey hotkey) {
    switch (hotkey) {
    case Hotkey::Toggle:
        break;
    case Hotkey::Lock:
        return PanelWindow::LOCK_HOTKEY_ID;
    case Hotkey::FullScreen:
        return PanelWindow::FULL_SCREEN_HOTKEY_ID;
    }
    return PanelWindow::TOGGLE_HOTKEY_ID;
}

} // namespace

bool PanelWindow::registerHotkey(Hotkey hotkey, const HotkeyCombination& combination) {
    bool& registered = hotkeysRegistered_[static_cast<std::size_t>(hotkey)];
    if (registered) {
        UnregisterHotKey(window_, hotkeyId(hotkey));
    }
    registered = RegisterHotKey(window_, hotkeyId(hotkey),
                                static_cast<UINT>(combination.modifiers) | MOD_NOREPEAT,
                                static_cast<UINT>(combination.virtualKey)) != FALSE;
    return registered;
}

void PanelWindow::unregisterHotkeys() {
    for (const Hotkey hotkey : {Hotkey::Toggle, Hotkey::Lock, Hotkey::FullScreen}) {
        bool& registered = hotkeysRegistered_[static_cast<std::size_t>(hotkey)];
        if (registered) {
            UnregisterHotKey(window_, hotkeyId(hotkey));
            registered = false;
        }
    }
}

} // namespace pal4::win32
