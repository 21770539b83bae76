#include "ui/hotkey_message.hpp"

namespace pal4 {

namespace {

constexpr std::string_view UNUSABLE_PREFIX = "无法使用热键 ";
constexpr std::string_view TOGGLE_UNUSABLE_SUFFIX = "，外挂字幕只能用按钮开关。";
constexpr std::string_view LOCK_UNUSABLE_SUFFIX = "，锁定字幕只能用勾选框开关。";
constexpr std::string_view FULL_SCREEN_UNUSABLE_SUFFIX = "，全屏只能用勾选框开关。";

std::string_view unusableSuffix(Hotkey hotkey) {
    switch (hotkey) {
    case Hotkey::Toggle:
        break;
    case Hotkey::Lock:
        return LOCK_UNUSABLE_SUFFIX;
    case Hotkey::FullScreen:
        return FULL_SCREEN_UNUSABLE_SUFFIX;
    }
    return TOGGLE_UNUSABLE_SUFFIX;
}

} // namespace

std::string hotkeyUnusableText(Hotkey hotkey, std::string_view combination) {
    std::string text(UNUSABLE_PREFIX);
    text += combination;
    text += unusableSuffix(hotkey);
    return text;
}

} // namespace pal4
