#pragma once

#include "ports/panel_port.hpp"
#include "win32/panel_window/panel_layout.hpp"
#include "win32/platform/base_window.hpp"
#include "win32/platform/unique_handle.hpp"

#include <windows.h>

#include <array>
#include <string>

namespace pal4::win32 {

// The control panel: the tool's main window and its controls. Each user action on a control
// becomes one named call of the bound PanelEvents; setting a control from code runs none.
// The window's creation and destruction are delivered too, and its destruction ends the
// message loop.
//
// Its code is spread by job: panel_window.cpp creates the window and its controls and follows
// the DPI, panel_messages.cpp decodes the messages into events, panel_painting.cpp draws what
// the panel draws itself, panel_port_win32.cpp implements the PanelPort.
class PanelWindow final : public PanelPort, public BaseWindow<PanelWindow, PanelEvents> {
public:
    // Design geometry at 96 DPI: the screen position of the window and the size of its client
    // area, which the controls' layout fills.
    static constexpr int DESIGN_LEFT = 50;
    static constexpr int DESIGN_TOP = 50;
    static constexpr int DESIGN_CLIENT_WIDTH = 434;
    static constexpr int DESIGN_CLIENT_HEIGHT = 360;
    static constexpr const wchar_t* CLASS_NAME = L"Pal4SubtitlesPanel";
    // The ids of the hot keys; a program's own ids lie below 0xC000.
    static constexpr int TOGGLE_HOTKEY_ID = 1;
    static constexpr int LOCK_HOTKEY_ID = 2;
    static constexpr int FULL_SCREEN_HOTKEY_ID = 3;
    static constexpr UINT_PTR SLOW_TIMER_ID = 1;
    static constexpr UINT SLOW_TIMER_MS = 1000;
    static constexpr int BACK_HOTKEY_ID = 4;
    static constexpr int FORWARD_HOTKEY_ID = 5;

    // `helpText` is the help box's content when the panel opens (GB2312).
    PanelWindow(HINSTANCE instance, std::string helpText);
    ~PanelWindow() override;
    PanelWindow(const PanelWindow&) = delete;
    PanelWindow& operator=(const PanelWindow&) = delete;

    // Creates and shows the window; onPanelCreated runs inside, with every control in place.
    // False when Windows refuses.
    bool create(int showCommand);

    // PanelPort
    std::int32_t sliderPosition(Slider slider) const override;
    void setSliderPosition(Slider slider, std::int32_t position) override;
    bool isChecked(CheckBox box) const override;
    void setChecked(CheckBox box, bool checked) override;
    void setCaption(ValueCaption caption, const std::string& text) override;
    void setEditText(const std::string& text) override;
    std::string fontFace() const override;
    void setFontFace(const std::string& face) override;
    ColorRef color() const override { return color_; }
    void setColor(ColorRef color) override;
    void setToggleCaption(const std::string& caption) override;
    void underlineLinks() override;
    // RegisterHotKey on this window, without repeats; WM_HOTKEY then reports the hot key's event.
    bool registerHotkey(Hotkey hotkey, const HotkeyCombination& combination) override;
    void unregisterHotkeys() override;

private:
    friend class BaseWindow<PanelWindow, PanelEvents>;
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // Messages, decoded.
    void onCreate();
    void onClose();
    void onDestroy();
    void onDpiChanged(const RECT& suggested);
    void onCommand(int controlId, unsigned notification);
    void onSliderScrolled(HWND slider);
    HBRUSH onControlColor(HDC dc, HWND control);
    void onDrawColorPicker(const DRAWITEMSTRUCT& item);
    void onPaint();
    bool onSetCursor(bool inClientArea);
    void onLeftButtonDown(POINT point);

    void createControls();
    void fillFontChooser();
    // Lays the controls out and makes the panel's fonts at dpi_.
    void applyDpi();
    // The panel's face for its own texts at dpi_.
    UniqueFontHandle makeFont(LONG weight, bool italic, bool underline) const;
    void pickColor();
    HWND control(ControlId id) const { return GetDlgItem(window_, id); }
    RECT scaled(int left, int top, int width, int height) const;
    const PaintedLabelDesign* linkAt(POINT point) const;

    std::string helpText_;

    std::array<std::int32_t, 5> lastSliderPositions_{};
    ColorRef color_ = DEFAULT_TEXT_COLOR;
    bool linksUnderlined_ = false;
    // The closing steps ran on WM_CLOSE, before the window went.
    bool closingStepsRun_ = false;
    std::array<bool, HOTKEY_COUNT> hotkeysRegistered_{}; // by Hotkey

    UniqueFontHandle panelFont_;
    UniqueFontHandle boldFont_;
    UniqueFontHandle italicFont_;
    UniqueFontHandle linkFont_;
    UniqueBrushHandle shadowBoxBrush_;
    UniqueBrushHandle helpBoxBrush_;
};

} // namespace pal4::win32
