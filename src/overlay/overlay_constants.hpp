#pragma once

#include "core/game_address.hpp"

#include <cstdint>
#include <string_view>

namespace pal4 {

// The overlay's background colour, made see-through by the layered window.
inline constexpr ColorRef OVERLAY_COLOR_KEY = 0x00000001;

// Where a new overlay window stands and how big it is, in screen pixels, until the opening
// places it where the settings say.
inline constexpr std::int32_t OVERLAY_DESIGN_LEFT = 50;
inline constexpr std::int32_t OVERLAY_DESIGN_TOP = 50;
inline constexpr std::int32_t OVERLAY_DESIGN_WIDTH = 1024;
inline constexpr std::int32_t OVERLAY_DESIGN_HEIGHT = 160;

// The shadow lies this far down and right of the glyphs, a sixteenth of the character height
// and at least MIN_SHADOW_OFFSET pixels, in dark grey, not black, so it can never be taken for
// the colour key by a display that drops the low bits. The overlay and the web page both draw it.
inline constexpr int MIN_SHADOW_OFFSET = 2;
inline constexpr ColorRef SHADOW_COLOR = 0x202020;
constexpr int shadowOffsetFor(int characterHeight) {
    return characterHeight / 16 > MIN_SHADOW_OFFSET ? characterHeight / 16 : MIN_SHADOW_OFFSET;
}

// The period of the subtitle poller.
inline constexpr std::uint32_t POLL_INTERVAL_MS = 100;

// What the label shows when the overlay opens, before the first dialogue line.
inline constexpr std::string_view IDLE_LABEL_TEXT = " ";

// Shown instead of the dialogue in debug mode, to show how much text the chosen font, width
// and height hold: one sentence that tells how to close the overlay, then "你好" 93 times.
// 216 characters, 432 bytes in GB2312.
inline constexpr std::string_view DEBUG_SAMPLE_TEXT =
    "点击本字幕文本后按退出键或者单击“去除字幕”按钮均可消去字幕"
    "你好你好你好你好你好你好你好你好你好你好你好你好你好你好你好你好你好你好你好你好你好你好你好"
    "你好你好你好你好你好你好你好你好你好你好你好你好你好你好你好你好你好你好你好你好你好你好你好"
    "你好你好你好你好你好你好你好你好你好你好你好你好你好你好你好你好你好你好你好你好你好你好你好"
    "你好你好你好你好你好你好你好你好你好你好你好你好你好你好你好你好你好你好你好你好你好你好你好"
    "你好";

} // namespace pal4
