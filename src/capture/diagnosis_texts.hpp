#pragma once

#include <string_view>

namespace pal4 {

// The lines the edit box shows when the overlay cannot do its job, GB2312 like every text of
// the tool.

// Why the toggle refused. An unreadable chain is followed by the size suffix when the size of
// the game's file is known, else by the full stop alone.
inline constexpr std::string_view GAME_NOT_RUNNING_TEXT =
    "没有找到游戏进程 Pal4.exe，请先启动游戏。";
inline constexpr std::string_view ACCESS_DENIED_TEXT =
    "无法读取游戏内存（拒绝访问），请以管理员身份运行本工具，或暂时关闭杀毒软件。";
inline constexpr std::string_view GAME_DATA_UNREADABLE_TEXT =
    "读不到游戏数据：本工具只适用于简体免CD版仙剑4（Pal4.exe 大小为5410136字节）";
inline constexpr std::string_view GAME_FILE_SIZE_PREFIX = "，当前的 Pal4.exe 为 ";
inline constexpr std::string_view GAME_FILE_SIZE_SUFFIX = " 字节。";
inline constexpr std::string_view FULL_STOP = "。";
inline constexpr std::string_view NOT_IN_GAME_TEXT =
    "游戏还没有开始：请读取存档或开始新游戏，进入游戏画面后再按外挂字幕。";
// Shown when the overlay opened but the game module is not among the game's modules.
inline constexpr std::string_view GAME_MODULE_MISSING_TEXT = "找不到 OIRAMLOOK.DLL，读不到对白。";

// Shown when the toggle found a game in progress but the overlay window could not be made.
inline constexpr std::string_view OVERLAY_NOT_CREATED_TEXT = "无法创建字幕窗口。";

} // namespace pal4
