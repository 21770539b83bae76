#include "ui/hotkey_message.hpp"

namespace pal4 {

namespace {

constexpr std::string_view UNUSABLE_PREFIX = "无法使用热键 ";
constexpr std::string_view UNUSABLE_SUFFIX = "，外挂字幕只能用按钮开关。";

} // namespace

std::string hotkeyUnusableText(std::string_view combination) {
    std::string text(UNUSABLE_PREFIX);
    text += combination;
    text += UNUSABLE_SUFFIX;
    return text;
}

} // namespace pal4
