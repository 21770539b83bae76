#pragma once

// The tool's windows as another program sees them: class names, titles and the control ids of
// the panel's children.
namespace e2e {

inline constexpr wchar_t PANEL_CLASS[] = L"Pal4SubtitlesPanel";
inline constexpr wchar_t OVERLAY_CLASS[] = L"Pal4SubtitlesOverlay";
inline constexpr wchar_t REFUSAL_TITLE[] = L"提示";
inline constexpr wchar_t REFUSAL_TEXT[] = L"请先进入仙剑4";
inline constexpr wchar_t CLOSED_CAPTION[] = L"外挂字幕";
inline constexpr wchar_t OPEN_CAPTION[] = L"去除字幕";

enum PanelControl : int {
    FONT_SIZE_CAPTION = 100,
    TOGGLE_BUTTON = 101,
    DEBUG_BOX = 102,
    FONT_SIZE_SLIDER = 103,
    BOLD_BOX = 106,
    ITALIC_BOX = 107,
    SHADOW_BOX = 108,
    CENTRE_BOX = 109,
    LEFT_CAPTION = 110,
    TOP_CAPTION = 111,
    LEFT_SLIDER = 112,
    TOP_SLIDER = 113,
    WIDTH_CAPTION = 114,
    HEIGHT_CAPTION = 115,
    WIDTH_SLIDER = 116,
    HEIGHT_SLIDER = 117,
    HELP_BOX = 118,
    OUTLINE_BOX = 119,
    HISTORY_BOX = 120,
    LOCK_BOX = 121,
    FULLSCREEN_BOX = 122,
};

} // namespace e2e
