#pragma once

#include <cstddef>
#include <string_view>

namespace pal4 {

// The fixed texts the tool shows through its ports, GB2312 like every text of the tool. They
// live this low because both the panel's handlers and the overlay's opening show them.

// Captions of the toggle button 按钮1.
inline constexpr std::string_view TOGGLE_CAPTION_CLOSED = "外挂字幕";
inline constexpr std::string_view TOGGLE_CAPTION_OPEN = "去除字幕";

// The one message the tool ever shows: the game is not running or no game is in progress.
inline constexpr std::string_view REFUSAL_MESSAGE_TEXT = "请先进入仙剑4";
inline constexpr std::string_view REFUSAL_MESSAGE_TITLE = "提示";

// Prefixes of the five value captions; each ends with a blank after the equals sign. The
// slider table (ui/slider_table.hpp) gives each slider its own.
inline constexpr std::string_view FONT_SIZE_CAPTION_PREFIX = "字体大小 = ";
inline constexpr std::string_view LEFT_CAPTION_PREFIX = "水平位置 = ";
inline constexpr std::string_view TOP_CAPTION_PREFIX = "垂直位置 = ";
inline constexpr std::string_view WIDTH_CAPTION_PREFIX = "文本宽度 = ";
inline constexpr std::string_view HEIGHT_CAPTION_PREFIX = "文本高度 = ";

// The help box's text: four lines joined by CR LF, none after the last.
inline constexpr std::string_view HELP_TEXT =
    "使用帮助：1.若无效请关闭杀毒软件，或以管理员身份运行本工具\r\n"
    "2.或仅适用简体免CD版仙剑4(PAL4.exe大小为5410136字节)\r\n"
    "3.也可以通过手改Pal4_Corvel.ini下的参数来调节\r\n"
    "4.有问题咨询作者请点击下面的“Corvel”链接";

constexpr std::size_t lineBreaksIn(std::string_view text) {
    std::size_t count = 0;
    for (std::size_t at = text.find("\r\n"); at != std::string_view::npos;
         at = text.find("\r\n", at + 2)) {
        ++count;
    }
    return count;
}
static_assert(lineBreaksIn(HELP_TEXT) == 3 && !HELP_TEXT.ends_with("\n"),
              "the help box shows four lines and no empty fifth");

// The pages behind the two links under the help box.
inline constexpr std::string_view AUTHOR_PAGE_URL = "https://corvel.example.org/";
inline constexpr std::string_view CLUB_PAGE_URL = "https://tessaly.example.org/club/";

// The dialogue's two files beside the exe, as the edit box names them. The paths themselves
// are built from UTF-8 (dialogue/dialogue_outputs.cpp), so they are right whatever the
// system's code page.
inline constexpr std::string_view LOG_FILE_NAME = "对白记录.txt";
inline constexpr std::string_view LIVE_FILE_NAME = "当前对白.txt";
// Followed by the name of the file that could not be written.
inline constexpr std::string_view OUTPUT_FAILED_PREFIX = "无法写入对白记录：";
// Followed by the number of new lines the story log could not keep while its file refused.
inline constexpr std::string_view LOG_LINES_DROPPED_PREFIX = "（已丢弃";
inline constexpr std::string_view LOG_LINES_DROPPED_SUFFIX = "句对白）";
inline constexpr std::string_view NO_LOG_YET_TEXT =
    "还没有对白记录：勾选“记录对白”后，每句新对白都会记入对白记录.txt";

// A page opens in the system's Internet Explorer, started with the address as its parameters,
// not in the user's default browser.
inline constexpr std::string_view WEB_PAGE_OPERATION = "open";
inline constexpr std::string_view WEB_BROWSER_FILE = "iexplore.exe";

// Full screen's lines in the edit box: a `fullscreenscale` value that cannot be read (put
// between the prefix and the suffix), and a window that a previous run left full screen and this
// start gave back.
inline constexpr std::string_view FULL_SCREEN_SCALE_UNUSABLE_PREFIX = "全屏缩放 ";
inline constexpr std::string_view FULL_SCREEN_SCALE_UNUSABLE_SUFFIX =
    " 不可用（应为fit、stretch或none），全屏按fit缩放。";
inline constexpr std::string_view FULL_SCREEN_GIVEN_BACK_TEXT =
    "上次退出时游戏窗口仍在全屏，已恢复原来的窗口。";

} // namespace pal4
