#pragma once

#include "core/game_address.hpp"
#include "ports/panel_port.hpp"
#include "ports/panel_texts.hpp"
#include "ui/slider_table.hpp"

#include <array>
#include <cstddef>
#include <optional>

namespace pal4::win32 {

// The control panel's controls, as the window creates them. Positions and sizes are design
// pixels (96 DPI) in the client area; texts are GB2312. The names in the comments are the
// controls' names in the panel's design.
enum class ControlKind { Label, PushButton, CheckBox, Slider, FontChooser, ColorPicker, EditBox };

enum ControlId : int {
    ID_FONT_SIZE_CAPTION = 100, // 标签3
    ID_TOGGLE,                  // 按钮1
    ID_DEBUG,                   // 选择框5
    ID_FONT_SIZE_SLIDER,        // 滑块条3
    ID_FONT_CHOOSER,            // 字体选择框1
    ID_COLOR_PICKER,            // 颜色选择器1
    ID_BOLD,                    // 选择框1
    ID_ITALIC,                  // 选择框2
    ID_SHADOW,                  // 选择框3
    ID_CENTRE,                  // 选择框4
    ID_LEFT_CAPTION,            // 标签1
    ID_TOP_CAPTION,             // 标签2
    ID_LEFT_SLIDER,             // 滑块条1
    ID_TOP_SLIDER,              // 滑块条2
    ID_WIDTH_CAPTION,           // 标签4
    ID_HEIGHT_CAPTION,          // 标签5
    ID_WIDTH_SLIDER,            // 滑块条4
    ID_HEIGHT_SLIDER,           // 滑块条5
    ID_HELP_BOX,                // 编辑框1
    ID_OUTLINE = 119,           // 描边, in the strip below the links
    ID_HISTORY = 120,           // 记录对白
    ID_LOCK = 121,              // 锁定字幕, right of 打开记录
    ID_FULL_SCREEN = 122,       // 全屏, right of 锁定字幕
};

// Which font a control draws its text with.
enum class ControlFont { PanelDefault, Bold, Italic };

struct ControlDesign {
    ControlId id;
    ControlKind kind;
    int left;
    int top;
    int width;
    int height;
    const char* text;                   // initial caption, GB2312; nullptr for none
    std::optional<ColorRef> textColor;  // labels with a colour of their own
    std::optional<ColorRef> background; // controls with a background of their own
    ControlFont font = ControlFont::PanelDefault;
};

inline constexpr ColorRef SHADOW_BOX_BACKGROUND = 0xECECEC;
inline constexpr ColorRef HELP_BOX_BACKGROUND = 0xFFFFFF;

// The colour of a slider's value caption, from the slider table.
constexpr ColorRef ink(Slider slider) {
    return sliderRow(slider).captionColor;
}

inline constexpr std::array<ControlDesign, 23> PANEL_CONTROLS{{
    {ID_FONT_SIZE_CAPTION, ControlKind::Label, 46, 10, 128, 16, nullptr, ink(Slider::FontSize), {}},
    {ID_TOGGLE, ControlKind::PushButton, 222, 25, 56, 32, TOGGLE_CAPTION_CLOSED.data(), {}, {}},
    {ID_DEBUG, ControlKind::CheckBox, 299, 30, 125, 24, "显示216个字以调试", {}, {}},
    {ID_FONT_SIZE_SLIDER, ControlKind::Slider, 8, 32, 200, 32, nullptr, {}, {}},
    {ID_FONT_CHOOSER, ControlKind::FontChooser, 2, 72, 120, 23, nullptr, {}, {}},
    {ID_COLOR_PICKER, ControlKind::ColorPicker, 126, 72, 74, 22, nullptr, {}, {}},
    {ID_BOLD, ControlKind::CheckBox, 205, 72, 48, 24, "加粗", {}, {}, ControlFont::Bold},
    {ID_ITALIC, ControlKind::CheckBox, 264, 72, 48, 24, "斜体", {}, {}, ControlFont::Italic},
    {ID_SHADOW, ControlKind::CheckBox, 321, 75, 14, 16, nullptr, {}, SHADOW_BOX_BACKGROUND},
    {ID_CENTRE, ControlKind::CheckBox, 376, 72, 44, 24, "居中", {}, {}},
    {ID_LEFT_CAPTION, ControlKind::Label, 46, 104, 128, 16, nullptr, ink(Slider::Left), {}},
    {ID_TOP_CAPTION, ControlKind::Label, 258, 103, 128, 16, nullptr, ink(Slider::Top), {}},
    {ID_LEFT_SLIDER, ControlKind::Slider, 8, 123, 200, 32, nullptr, {}, {}},
    {ID_TOP_SLIDER, ControlKind::Slider, 220, 124, 200, 32, nullptr, {}, {}},
    {ID_WIDTH_CAPTION, ControlKind::Label, 46, 168, 128, 16, nullptr, ink(Slider::Width), {}},
    {ID_HEIGHT_CAPTION, ControlKind::Label, 258, 168, 128, 16, nullptr, ink(Slider::Height), {}},
    {ID_WIDTH_SLIDER, ControlKind::Slider, 8, 187, 200, 32, nullptr, {}, {}},
    {ID_HEIGHT_SLIDER, ControlKind::Slider, 220, 189, 200, 32, nullptr, {}, {}},
    {ID_HELP_BOX, ControlKind::EditBox, 2, 240, 424, 64, nullptr, {}, HELP_BOX_BACKGROUND},
    {ID_OUTLINE, ControlKind::CheckBox, 8, 330, 56, 24, "描边", {}, {}},
    {ID_HISTORY, ControlKind::CheckBox, 80, 330, 80, 24, "记录对白", {}, {}},
    {ID_LOCK, ControlKind::CheckBox, 232, 330, 80, 24, "锁定字幕", {}, {}},
    {ID_FULL_SCREEN, ControlKind::CheckBox, 320, 330, 56, 24, "全屏", {}, {}},
}};

// Texts the panel draws itself, without a background: the shadowed caption of the shadow
// switch (a grey copy one pixel right and down, drawn first), the two web links and the link
// that opens the story log.
enum class PaintedLabelRole { Plain, AuthorLink, ClubLink, OpenLogLink };

struct PaintedLabelDesign {
    PaintedLabelRole role;
    int left;
    int top;
    int width;
    int height;
    const char* text;
    ColorRef color;
    bool link; // hand cursor; underlined once the panel asks for it
};

inline constexpr ColorRef SHADOW_CAPTION_GREY = 0x808080;
inline constexpr ColorRef LINK_COLOR = 0x8050FF;

// In drawing order: later labels are drawn over earlier ones.
inline constexpr std::array<PaintedLabelDesign, 6> PANEL_PAINTED_LABELS{{
    {PaintedLabelRole::Plain, 341, 77, 24, 16, "阴影", SHADOW_CAPTION_GREY, false}, // 透明标签1
    {PaintedLabelRole::Plain, 340, 76, 24, 16, "阴影", CAPTION_BLACK, false},       // 透明标签2
    {PaintedLabelRole::AuthorLink, 132, 306, 40, 16, "Corvel", LINK_COLOR, true},   // 透明标签3
    {PaintedLabelRole::Plain, 180, 306, 24, 16, "献给", POSITION_CAPTION_COLOR, false}, // 标签7
    {PaintedLabelRole::ClubLink, 211, 306, 85, 16, "Tessaly", LINK_COLOR, true}, // 透明标签4
    {PaintedLabelRole::OpenLogLink, 166, 334, 56, 16, "打开记录", LINK_COLOR, true},
}};

// The trackbar and the value caption of each slider, in the order of SLIDER_TABLE.
struct SliderControls {
    ControlId slider;
    ControlId caption;
};

inline constexpr std::array<SliderControls, SLIDER_TABLE.size()> SLIDER_CONTROLS{{
    {ID_FONT_SIZE_SLIDER, ID_FONT_SIZE_CAPTION},
    {ID_LEFT_SLIDER, ID_LEFT_CAPTION},
    {ID_TOP_SLIDER, ID_TOP_CAPTION},
    {ID_WIDTH_SLIDER, ID_WIDTH_CAPTION},
    {ID_HEIGHT_SLIDER, ID_HEIGHT_CAPTION},
}};

constexpr ControlId sliderControl(Slider slider) {
    return SLIDER_CONTROLS[static_cast<std::size_t>(slider)].slider;
}

constexpr ControlId captionControl(ValueCaption caption) {
    return SLIDER_CONTROLS[static_cast<std::size_t>(caption)].caption;
}

constexpr ControlId checkBoxControl(CheckBox box) {
    switch (box) {
    case CheckBox::Bold:
        return ID_BOLD;
    case CheckBox::Italic:
        return ID_ITALIC;
    case CheckBox::Shadow:
        return ID_SHADOW;
    case CheckBox::Centre:
        return ID_CENTRE;
    case CheckBox::Debug:
        return ID_DEBUG;
    case CheckBox::Outline:
        return ID_OUTLINE;
    case CheckBox::History:
        return ID_HISTORY;
    case CheckBox::Lock:
        return ID_LOCK;
    case CheckBox::FullScreen:
        return ID_FULL_SCREEN;
    }
    return ID_BOLD;
}

// The face of the panel's own texts.
inline constexpr const char* PANEL_FONT_FACE = "宋体";
inline constexpr int PANEL_FONT_HEIGHT = 12; // design pixels, for the panel's own font
inline constexpr int FONT_LIST_HEIGHT = 300; // the font chooser's drop-down, design pixels

} // namespace pal4::win32
