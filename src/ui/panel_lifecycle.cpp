#include "ui/panel_lifecycle.hpp"

#include "settings/decimal_integer.hpp"
#include "settings/hotkey_setting.hpp"
#include "settings/setting_keys.hpp"
#include "settings/settings_file.hpp"
#include "ui/control_panel.hpp"
#include "ui/hotkey_message.hpp"
#include "ui/slider_table.hpp"

namespace pal4 {

std::int32_t PanelLifecycle::readNumber(std::string_view key, std::int32_t defaultValue) {
    return textToInt32(settings_.readSetting(key, int32ToText(defaultValue)));
}

std::int32_t PanelLifecycle::readSlider(Slider slider) {
    const SliderRow& row = sliderRow(slider);
    return readNumber(row.settingsKey, row.defaultValue);
}

bool PanelLifecycle::readSwitch(std::string_view key) {
    return isSwitchOn(settings_.readSetting(key, DEFAULT_SWITCH));
}

std::string PanelLifecycle::onPanelCreated() {
    state_.panelOpen = true;
    panel_.underlineLinks();
    state_.iniPath = shell_.programDirectory() / INI_FILE_NAME;

    state_.fontName = settings_.readSetting(KEY_FONT, DEFAULT_FONT);
    panel_.setFontFace(state_.fontName);

    state_.textColor =
        static_cast<ColorRef>(readNumber(KEY_COLOR, static_cast<std::int32_t>(DEFAULT_TEXT_COLOR)));
    panel_.setColor(state_.textColor);

    panel_.setSliderPosition(Slider::FontSize, readSlider(Slider::FontSize));
    controls_.onFontSizeChanged();

    const bool shadow = readSwitch(KEY_SHADOW);
    state_.shadowOn = shadow;
    panel_.setChecked(CheckBox::Shadow, shadow);
    panel_.setChecked(CheckBox::Bold, readSwitch(KEY_BOLD));
    panel_.setChecked(CheckBox::Italic, readSwitch(KEY_ITALIC));
    panel_.setChecked(CheckBox::Centre, readSwitch(KEY_CENTRE));
    const bool outline = readSwitch(KEY_OUTLINE);
    state_.outlineOn = outline;
    panel_.setChecked(CheckBox::Outline, outline);
    panel_.setChecked(CheckBox::History, readSwitch(KEY_HISTORY));
    panel_.setChecked(CheckBox::Lock, readSwitch(KEY_LOCK));
    panel_.setChecked(CheckBox::FullScreen, readSwitch(KEY_FULL_SCREEN));
    state_.clipboardOn = readSwitch(KEY_CLIPBOARD);

    panel_.setSliderPosition(Slider::Left, readSlider(Slider::Left));
    panel_.setSliderPosition(Slider::Top, readSlider(Slider::Top));
    panel_.setSliderPosition(Slider::Width, readSlider(Slider::Width));
    panel_.setSliderPosition(Slider::Height, readSlider(Slider::Height));

    controls_.onLeftChanged();
    controls_.onTopChanged();
    controls_.onWidthChanged();
    controls_.onHeightChanged();

    return registerHotkeys();
}

std::string PanelLifecycle::registerHotkeys() {
    struct HotkeyKey {
        Hotkey hotkey;
        std::string_view key;
        std::string_view defaultValue;
    };
    constexpr HotkeyKey HOTKEY_KEYS[] = {
        {Hotkey::Toggle, KEY_HOTKEY, DEFAULT_HOTKEY},
        {Hotkey::Lock, KEY_LOCK_HOTKEY, DEFAULT_LOCK_HOTKEY},
        {Hotkey::FullScreen, KEY_FULL_SCREEN_HOTKEY, DEFAULT_FULL_SCREEN_HOTKEY}};
    // Every hot key the tool is left without, one line each.
    std::string unusable;
    const auto report = [&](Hotkey hotkey, std::string_view combination) {
        unusable += (unusable.empty() ? "" : "\r\n") + hotkeyUnusableText(hotkey, combination);
    };
    for (const HotkeyKey& entry : HOTKEY_KEYS) {
        const HotkeySetting setting = readHotkeySetting(settings_, entry.key, entry.defaultValue);
        switch (setting.choice) {
        case HotkeySetting::Choice::NoHotkey:
            break; // the user turned it off: nothing to report
        case HotkeySetting::Choice::Unusable:
            report(entry.hotkey, setting.value);
            break;
        case HotkeySetting::Choice::Combination:
            if (!panel_.registerHotkey(entry.hotkey, setting.combination)) {
                report(entry.hotkey, formatHotkeyCombination(setting.combination));
            }
            break;
        }
    }
    return unusable;
}

void PanelLifecycle::onPanelDestroying() {
    state_.panelOpen = false;
    panel_.unregisterHotkeys();
    if (state_.overlayShown) {
        overlay_.destroy(); // its destroy handler saves the geometry
    } else {
        settings_.saveGeometry();
    }
}

} // namespace pal4
