#pragma once

#include "ports/panel_port.hpp"

#include <string_view>

namespace pal4 {

// The fixed texts of the control panel, GB2312 like every text of the tool.

// Prefixes of the five value captions; each ends with a blank after the equals sign.
inline constexpr std::string_view FONT_SIZE_CAPTION_PREFIX = "字体大小 = ";
inline constexpr std::string_view LEFT_CAPTION_PREFIX = "水平位置 = ";
inline constexpr std::string_view TOP_CAPTION_PREFIX = "垂直位置 = ";
inline constexpr std::string_view WIDTH_CAPTION_PREFIX = "文本宽度 = ";
inline constexpr std::string_view HEIGHT_CAPTION_PREFIX = "文本高度 = ";

constexpr std::string_view captionPrefix(ValueCaption caption) {
    switch (caption) {
    case ValueCaption::FontSize:
        return FONT_SIZE_CAPTION_PREFIX;
    case ValueCaption::Left:
        return LEFT_CAPTION_PREFIX;
    case ValueCaption::Top:
        return TOP_CAPTION_PREFIX;
    case ValueCaption::Width:
        return WIDTH_CAPTION_PREFIX;
    case ValueCaption::Height:
        return HEIGHT_CAPTION_PREFIX;
    }
    return {};
}

// The help box's text: four lines joined by CR LF, none after the last.
inline constexpr std::string_view HELP_TEXT =
    "使用帮助：1.若无效请关闭杀毒软件，或以管理员身份运行本工具\r\n"
    "2.或仅适用简体免CD版仙剑4(PAL4.exe大小为5410136字节)\r\n"
    "3.也可以通过手改Pal4_Corvel.ini下的参数来调节\r\n"
    "4.有问题咨询作者请点击下面的“Corvel”链接";

// The pages behind the two links under the help box.
inline constexpr std::string_view AUTHOR_PAGE_URL = "https://corvel.example.org/";
inline constexpr std::string_view CLUB_PAGE_URL = "https://tessaly.example.org/club/";

// A page opens in the system's Internet Explorer, started with the address as its parameters,
// not in the user's default browser.
inline constexpr std::string_view WEB_PAGE_OPERATION = "open";
inline constexpr std::string_view WEB_BROWSER_FILE = "iexplore.exe";

} // namespace pal4
