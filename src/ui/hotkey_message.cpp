#include "ui/hotkey_message.hpp"

namespace pal4 {

namespace {

constexpr std::string_view UNUSABLE_PREFIX = "无法使用热键 ";
constexpr std::string_view TOGGLE_UNUSABLE_SUFFIX = "，外挂字幕只能用按钮开关。";
constexpr std::string_view LOCK_UNUSABLE_SUFFIX = "，锁定字幕只能用勾选框开关。";

} // namespace

std::string hotkeyUnusableText(Hotkey hotkey, std::string_view combination) {
    std::string text(UNUSABLE_PREFIX);
    text += combination;
    text += hotkey == Hotkey::Lock ? LOCK_UNUSABLE_SUFFIX : TOGGLE_UNUSABLE_SUFFIX;
    return text;
}

} // namespace pal4
