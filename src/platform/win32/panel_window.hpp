#pragma once

#include "platform/panel_port.hpp"

#include <windows.h>

#include <array>
#include <string>

namespace pal4::win32 {

// The control panel: the tool's main window. It delivers its creation and destruction to the
// bound PanelEvents, and ends the message loop when it is destroyed.
class PanelWindow final : public PanelPort {
public:
    // Design geometry at 96 DPI: the screen position of the window and the size of its client
    // area, which the controls' layout fills.
    static constexpr int DESIGN_LEFT = 50;
    static constexpr int DESIGN_TOP = 50;
    static constexpr int DESIGN_CLIENT_WIDTH = 434;
    static constexpr int DESIGN_CLIENT_HEIGHT = 360;
    static constexpr const wchar_t* CLASS_NAME = L"Pal4SubtitlesPanel";

    explicit PanelWindow(HINSTANCE instance);
    ~PanelWindow() override;

    void bind(PanelEvents& events) { events_ = &events; }

    // Creates and shows the window; onPanelCreated runs inside. False when Windows refuses.
    bool create(int showCommand);
    HWND handle() const { return window_; }

    // PanelPort
    std::int32_t sliderPosition(Slider slider) const override;
    void setSliderPosition(Slider slider, std::int32_t position) override;
    bool isChecked(CheckBox box) const override;
    void setChecked(CheckBox box, bool checked) override;
    void setCaption(ValueCaption caption, const std::string& text) override;
    void setEditText(const std::string& text) override;
    std::string fontFace() const override;
    void setFontFace(const std::string& face) override;
    ColorRef color() const override;
    void setColor(ColorRef color) override;
    void setToggleCaption(const std::string& caption) override;
    void underlineLinks() override;

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    void onCreate();
    void onDestroy();
    void onDpiChanged(const RECT& suggested);

    bool registerClass() const;

    HINSTANCE instance_;
    PanelEvents* events_ = nullptr;
    HWND window_ = nullptr;

    std::array<std::int32_t, 5> sliders_{20, 4, 636, 1024, 160};
    std::array<bool, 5> checks_{};
    std::string fontFace_;
    ColorRef color_ = 0xFFFFFF;
};

} // namespace pal4::win32
