#pragma once

#include "ports/panel_port.hpp"
#include "ports/panel_texts.hpp"
#include "ui/slider_table.hpp"

#include <array>
#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace pal4::testing {

// A control panel in memory. The set* calls are the program's own (they run no handler, and
// sliders clamp like a trackbar); the user* calls are the user's, which change the control and
// then deliver its event, as the real window does.
class FakePanel final : public PanelPort {
public:
    void bind(PanelEvents& events) { events_ = &events; }

    // PanelPort
    std::int32_t sliderPosition(Slider slider) const override;
    void setSliderPosition(Slider slider, std::int32_t position) override;
    bool isChecked(CheckBox box) const override;
    void setChecked(CheckBox box, bool checked) override;
    void setCaption(ValueCaption caption, const std::string& text) override;
    void setEditText(const std::string& text) override;
    std::string fontFace() const override { return fontFace_; }
    void setFontFace(const std::string& face) override;
    ColorRef color() const override { return color_; }
    void setColor(ColorRef color) override;
    void setToggleCaption(const std::string& caption) override;
    void underlineLinks() override;
    bool registerHotkey(Hotkey hotkey, const HotkeyCombination& combination) override;
    void unregisterHotkeys() override;

    // Another program holds every combination: registration fails.
    void refuseHotkeys() { hotkeysRefused_ = true; }

    // What the user does.
    void userMovesSlider(Slider slider, std::int32_t position);
    void userClicks(CheckBox box);
    void userPicksFont(const std::string& face);
    void userPicksColor(ColorRef color);
    void userClicksToggle();
    // A hot key, pressed anywhere: its event, only while it is registered.
    void userPressesHotkey(Hotkey hotkey = Hotkey::Toggle);
    void userPressesAuthorLink();
    void userPressesClubLink();
    void userPressesOpenLog();
    void create();  // the window is made: onPanelCreated
    void destroy(); // the user closes it: onPanelDestroying

    // What the user sees.
    const std::string& caption(ValueCaption caption) const;
    const std::string& editText() const { return editText_; }
    const std::string& toggleCaption() const { return toggleCaption_; }
    bool linksUnderlined() const { return linksUnderlined_; }
    int toggleCaptionWrites() const { return toggleCaptionWrites_; }
    // The hot key registered now, if any.
    std::optional<HotkeyCombination> hotkey(Hotkey hotkey = Hotkey::Toggle) const;

    // Every call the program made on the panel, in order, e.g. "setSliderPosition".
    const std::vector<std::string>& calls() const { return calls_; }

private:
    static std::array<std::int32_t, SLIDER_TABLE.size()> designPositions();
    PanelEvents& events();

    PanelEvents* events_ = nullptr;
    std::array<std::int32_t, SLIDER_TABLE.size()> sliders_ = designPositions();
    std::array<bool, 9> checks_{};
    std::array<std::string, 5> captions_{};
    std::string editText_;
    std::string fontFace_{DEFAULT_FONT};
    ColorRef color_ = DEFAULT_TEXT_COLOR;
    std::string toggleCaption_{TOGGLE_CAPTION_CLOSED};
    int toggleCaptionWrites_ = 0;
    bool linksUnderlined_ = false;
    bool hotkeysRefused_ = false;
    std::map<Hotkey, HotkeyCombination> hotkeys_;
    std::vector<std::string> calls_;
};

} // namespace pal4::testing
