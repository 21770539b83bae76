#include "ui/control_panel.hpp"

#include "overlay/subtitle_appearance.hpp"
#include "ports/panel_texts.hpp"
#include "settings/decimal_integer.hpp"
#include "settings/setting_keys.hpp"
#include "settings/settings_file.hpp"
#include "ui/slider_table.hpp"
#include "ui/value_caption.hpp"

#include <string>
#include <utility>

namespace pal4 {

void ControlPanel::onColorChanged() {
    state_.textColor = panel_.color();
    appearance_.applyAppearance();
    // Written as the signed 32-bit number the load reads back, so any value survives a round
    // trip: white is 16777215, pure red 255.
    settings_.writeSetting(KEY_COLOR, int32ToText(static_cast<std::int32_t>(state_.textColor)));
}

void ControlPanel::onFontSizeChanged() {
    state_.fontSize = panel_.sliderPosition(Slider::FontSize);
    appearance_.applyAppearance();
    panel_.setCaption(ValueCaption::FontSize,
                      valueCaptionText(ValueCaption::FontSize, state_.fontSize));
    settings_.writeSetting(KEY_SIZE, int32ToText(state_.fontSize));
}

void ControlPanel::onFontChanged() {
    state_.fontName = panel_.fontFace();
    appearance_.applyAppearance();
    settings_.writeSetting(KEY_FONT, state_.fontName);
}

void ControlPanel::takeGeometry(Slider slider, std::int32_t& field, ValueCaption caption) {
    field = panel_.sliderPosition(slider);
    panel_.setCaption(caption, valueCaptionText(caption, field));
    appearance_.applyAppearance();
}

void ControlPanel::onLeftChanged() {
    takeGeometry(Slider::Left, state_.overlayLeft, ValueCaption::Left);
}

void ControlPanel::onTopChanged() {
    takeGeometry(Slider::Top, state_.overlayTop, ValueCaption::Top);
}

void ControlPanel::onWidthChanged() {
    takeGeometry(Slider::Width, state_.overlayWidth, ValueCaption::Width);
}

void ControlPanel::onHeightChanged() {
    takeGeometry(Slider::Height, state_.overlayHeight, ValueCaption::Height);
}

void ControlPanel::saveSwitch(CheckBox box, std::string_view key) {
    settings_.writeSetting(key, switchText(panel_.isChecked(box)));
}

void ControlPanel::onBoldClicked() {
    appearance_.applyAppearance();
    saveSwitch(CheckBox::Bold, KEY_BOLD);
}

void ControlPanel::onItalicClicked() {
    appearance_.applyAppearance();
    saveSwitch(CheckBox::Italic, KEY_ITALIC);
}

void ControlPanel::onCentreClicked() {
    appearance_.applyAppearance();
    saveSwitch(CheckBox::Centre, KEY_CENTRE);
}

void ControlPanel::onShadowClicked() {
    state_.shadowOn = panel_.isChecked(CheckBox::Shadow);
    appearance_.applyAppearance();
    saveSwitch(CheckBox::Shadow, KEY_SHADOW);
}

void ControlPanel::onOutlineClicked() {
    state_.outlineOn = panel_.isChecked(CheckBox::Outline);
    appearance_.applyAppearance();
    saveSwitch(CheckBox::Outline, KEY_OUTLINE);
}

void ControlPanel::onHistoryClicked() {
    saveSwitch(CheckBox::History, KEY_HISTORY);
}

void ControlPanel::onLockClicked() {
    if (state_.overlayShown) {
        overlay_.setClickThrough(panel_.isChecked(CheckBox::Lock));
    }
    saveSwitch(CheckBox::Lock, KEY_LOCK);
}

void ControlPanel::onLockHotkey() {
    panel_.setChecked(CheckBox::Lock, !panel_.isChecked(CheckBox::Lock));
    onLockClicked();
}

void ControlPanel::onFullScreenClicked() {
    saveSwitch(CheckBox::FullScreen, KEY_FULL_SCREEN);
}

void ControlPanel::onFullScreenHotkey() {
    panel_.setChecked(CheckBox::FullScreen, !panel_.isChecked(CheckBox::FullScreen));
    onFullScreenClicked();
}

void ControlPanel::showOverlayGeometry() {
    const std::pair<Slider, std::int32_t> geometry[] = {{Slider::Left, state_.overlayLeft},
                                                        {Slider::Top, state_.overlayTop},
                                                        {Slider::Width, state_.overlayWidth},
                                                        {Slider::Height, state_.overlayHeight}};
    for (const auto& [slider, value] : geometry) {
        panel_.setSliderPosition(slider, value);
        // The captions show the fields, so a value beyond a slider's end still reads true.
        const ValueCaption caption = sliderRow(slider).caption;
        panel_.setCaption(caption, valueCaptionText(caption, value));
    }
}

void ControlPanel::onDebugClicked() {
    if (!state_.overlayShown) {
        return; // the switch is read when the overlay next opens
    }
    showDebugSampleOrPoll(overlay_, panel_.isChecked(CheckBox::Debug));
}

void ControlPanel::onOverlayMoved() {
    if (state_.overlaySettingUp) {
        return;
    }
    state_.overlayLeft = overlay_.windowLeft();
    state_.overlayTop = overlay_.windowTop();
    panel_.setSliderPosition(Slider::Left, state_.overlayLeft);
    panel_.setSliderPosition(Slider::Top, state_.overlayTop);
    // The captions show the fields, so a position beyond a slider's end still reads true.
    panel_.setCaption(ValueCaption::Left, valueCaptionText(ValueCaption::Left, state_.overlayLeft));
    panel_.setCaption(ValueCaption::Top, valueCaptionText(ValueCaption::Top, state_.overlayTop));
}

void ControlPanel::onAuthorLinkPressed() {
    openWebPage(AUTHOR_PAGE_URL);
}

void ControlPanel::onClubLinkPressed() {
    openWebPage(CLUB_PAGE_URL);
}

void ControlPanel::openWebPage(std::string_view address) {
    shell_.shellExecute(std::string(WEB_PAGE_OPERATION), std::string(WEB_BROWSER_FILE),
                        std::string(address), std::string(), SHOW_NORMAL);
}

} // namespace pal4
