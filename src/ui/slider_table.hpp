#pragma once

#include "core/game_address.hpp"
#include "ports/panel_port.hpp"
#include "ports/panel_texts.hpp"
#include "settings/setting_keys.hpp"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace pal4 {

struct SliderRange {
    std::int32_t minimum;
    std::int32_t maximum;

    constexpr std::int32_t clamp(std::int32_t value) const {
        return std::clamp(value, minimum, maximum);
    }
};

inline constexpr ColorRef CAPTION_BLACK = 0x000000;
inline constexpr ColorRef POSITION_CAPTION_COLOR = 0xFF8800; // red 0, green 136, blue 255
inline constexpr ColorRef SIZE_CAPTION_COLOR = 0x8050FF;     // red 255, green 80, blue 128

// Everything the tool knows about one slider and the value caption above it. The panel window
// builds its trackbars from it, the settings load reads its key with its default, and the fake
// panel of the tests behaves by it.
struct SliderRow {
    Slider slider;
    ValueCaption caption;
    // A slider holds a value outside its range at its nearest end.
    SliderRange range;
    std::int32_t lineStep; // an arrow key
    std::int32_t pageStep; // Page Up or Down, or a click beside the thumb
    // Where the thumb stands when the panel is made, before the settings load moves it.
    std::int32_t designPosition;
    std::string_view settingsKey;
    // The value when the settings file has no key for it.
    std::int32_t defaultValue;
    std::string_view captionPrefix;
    ColorRef captionColor;
    // The event a move by the user delivers.
    void (PanelEvents::*changed)();
};

// In the order of the Slider and ValueCaption enumerators, which index it.
inline constexpr std::array<SliderRow, 5> SLIDER_TABLE{{
    {.slider = Slider::FontSize,
     .caption = ValueCaption::FontSize,
     .range = {1, 200},
     .lineStep = 1,
     .pageStep = 5,
     .designPosition = 20,
     .settingsKey = KEY_SIZE,
     .defaultValue = 20,
     .captionPrefix = FONT_SIZE_CAPTION_PREFIX,
     .captionColor = CAPTION_BLACK,
     .changed = &PanelEvents::onFontSizeChanged},
    {.slider = Slider::Left,
     .caption = ValueCaption::Left,
     .range = {0, 1920},
     .lineStep = 1,
     .pageStep = 5,
     .designPosition = 4,
     .settingsKey = KEY_LEFT,
     .defaultValue = 10,
     .captionPrefix = LEFT_CAPTION_PREFIX,
     .captionColor = POSITION_CAPTION_COLOR,
     .changed = &PanelEvents::onLeftChanged},
    {.slider = Slider::Top,
     .caption = ValueCaption::Top,
     .range = {1, 1200},
     .lineStep = 1,
     .pageStep = 5,
     .designPosition = 636,
     .settingsKey = KEY_TOP,
     .defaultValue = 640,
     .captionPrefix = TOP_CAPTION_PREFIX,
     .captionColor = POSITION_CAPTION_COLOR,
     .changed = &PanelEvents::onTopChanged},
    {.slider = Slider::Width,
     .caption = ValueCaption::Width,
     .range = {0, 1920},
     .lineStep = 1,
     .pageStep = 5,
     .designPosition = 1024,
     .settingsKey = KEY_WIDTH,
     .defaultValue = 1024,
     .captionPrefix = WIDTH_CAPTION_PREFIX,
     .captionColor = SIZE_CAPTION_COLOR,
     .changed = &PanelEvents::onWidthChanged},
    {.slider = Slider::Height,
     .caption = ValueCaption::Height,
     .range = {1, 1200},
     .lineStep = 1,
     .pageStep = 5,
     .designPosition = 160,
     .settingsKey = KEY_HEIGHT,
     .defaultValue = 160,
     .captionPrefix = HEIGHT_CAPTION_PREFIX,
     .captionColor = SIZE_CAPTION_COLOR,
     .changed = &PanelEvents::onHeightChanged},
}};

constexpr bool sliderTableFollowsTheEnums() {
    for (std::size_t i = 0; i < SLIDER_TABLE.size(); ++i) {
        if (static_cast<std::size_t>(SLIDER_TABLE[i].slider) != i ||
            static_cast<std::size_t>(SLIDER_TABLE[i].caption) != i) {
            return false;
        }
    }
    return true;
}
static_assert(sliderTableFollowsTheEnums(), "SLIDER_TABLE is indexed by Slider and ValueCaption");

constexpr bool everyDesignAndDefaultLiesInItsRange() {
    for (const SliderRow& row : SLIDER_TABLE) {
        if (row.range.clamp(row.designPosition) != row.designPosition ||
            row.range.clamp(row.defaultValue) != row.defaultValue) {
            return false;
        }
    }
    return true;
}
static_assert(everyDesignAndDefaultLiesInItsRange());

constexpr const SliderRow& sliderRow(Slider slider) {
    return SLIDER_TABLE[static_cast<std::size_t>(slider)];
}

constexpr const SliderRow& sliderRow(ValueCaption caption) {
    return SLIDER_TABLE[static_cast<std::size_t>(caption)];
}

} // namespace pal4
