#pragma once

#include "core/game_address.hpp"
#include "core/hotkey_record.hpp"

#include <cstdint>
#include <string>

namespace pal4 {

// The control panel's controls that the handlers read and set. The names in the comments are
// the controls' names in the panel's layout.
enum class Slider {
    FontSize, // 滑块条3, 1 to 200
    Left,     // 滑块条1, 0 to 1920
    Top,      // 滑块条2, 1 to 1200
    Width,    // 滑块条4, 0 to 1920
    Height,   // 滑块条5, 1 to 1200
};

enum class CheckBox {
    Bold,       // 选择框1
    Italic,     // 选择框2
    Shadow,     // 选择框3
    Centre,     // 选择框4
    Debug,      // 选择框5
    Outline,    // 描边, below the links
    History,    // 记录对白: the story log and the live line
    Lock,       // 锁定字幕: the overlay lets every click through
    FullScreen, // 全屏: the game's window fills its monitor, without its frame
};

// The panel's hot keys, each a combination pressed anywhere while the panel exists.
enum class Hotkey {
    Toggle,     // does what 按钮1 does
    Lock,       // flips 锁定字幕
    FullScreen, // flips 全屏
};

// The labels above the sliders that show "prefix = value".
enum class ValueCaption {
    FontSize, // 标签3
    Left,     // 标签1
    Top,      // 标签2
    Width,    // 标签4
    Height,   // 标签5
};

// The control panel as the handlers see it. Setting a value from code never runs the control's
// change handler; a slider holds a value outside its range at its nearest end.
class PanelPort {
public:
    PanelPort() = default;
    PanelPort(const PanelPort&) = delete;
    PanelPort& operator=(const PanelPort&) = delete;
    virtual ~PanelPort() = default;

    virtual std::int32_t sliderPosition(Slider slider) const = 0;
    virtual void setSliderPosition(Slider slider, std::int32_t position) = 0;

    virtual bool isChecked(CheckBox box) const = 0;
    virtual void setChecked(CheckBox box, bool checked) = 0;

    virtual void setCaption(ValueCaption caption, const std::string& text) = 0;

    // 编辑框1: the help text at first, later the raw dialogue line.
    virtual void setEditText(const std::string& text) = 0;

    // 字体选择框1
    virtual std::string fontFace() const = 0;
    virtual void setFontFace(const std::string& face) = 0;

    // 颜色选择器1
    virtual ColorRef color() const = 0;
    virtual void setColor(ColorRef color) = 0;

    // 按钮1
    virtual void setToggleCaption(const std::string& caption) = 0;

    // The links (the two web links 透明标签3 and 透明标签4, and 打开记录) get an underlined font.
    virtual void underlineLinks() = 0;

    // Makes the combination, pressed anywhere while the panel exists, deliver the hot key's
    // event (onToggleClicked, onLockHotkey, onFullScreenHotkey), without repeats while it is held.
    // False when the platform refuses it (another program holds it); the panel then lacks that hot
    // key.
    virtual bool registerHotkey(Hotkey hotkey, const HotkeyCombination& combination) = 0;
    // Gives every registered hot key back.
    virtual void unregisterHotkeys() = 0;
};

// The events the control panel delivers, one handler each.
class PanelEvents {
public:
    virtual void onPanelCreated() = 0;
    virtual void onPanelDestroying() = 0;
    // A click on 按钮1, or the toggle's hot key.
    virtual void onToggleClicked() = 0;
    virtual void onColorChanged() = 0;
    virtual void onFontSizeChanged() = 0;
    virtual void onFontChanged() = 0;
    virtual void onLeftChanged() = 0;
    virtual void onTopChanged() = 0;
    virtual void onWidthChanged() = 0;
    virtual void onHeightChanged() = 0;
    virtual void onBoldClicked() = 0;
    virtual void onItalicClicked() = 0;
    virtual void onShadowClicked() = 0;
    virtual void onCentreClicked() = 0;
    virtual void onOutlineClicked() = 0;
    virtual void onDebugClicked() = 0;
    virtual void onAuthorLinkPressed() = 0;
    virtual void onClubLinkPressed() = 0;
    virtual void onHistoryClicked() = 0;
    virtual void onOpenLogPressed() = 0;
    virtual void onLockClicked() = 0;
    // The lock's hot key: flips 锁定字幕 as a click on it would.
    virtual void onLockHotkey() = 0;
    virtual void onFullScreenClicked() = 0;
    // The full screen's hot key: flips 全屏 as a click on it would.
    virtual void onFullScreenHotkey() = 0;

protected:
    ~PanelEvents() = default;
};

} // namespace pal4
