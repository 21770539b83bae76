#include "ui/hotkey_message.hpp"

#include <gtest/gtest.h>

namespace pal4 {
namespace {

TEST(HotkeyMessageTest, NamesTheCombinationThatCouldNotBeUsed) {
    EXPECT_EQ(hotkeyUnusableText(Hotkey::Toggle, "Ctrl+Alt+F99"),
              "无法使用热键 Ctrl+Alt+F99，外挂字幕只能用按钮开关。");
    EXPECT_EQ(hotkeyUnusableText(Hotkey::Toggle, ""), "无法使用热键 ，外挂字幕只能用按钮开关。");
    EXPECT_EQ(hotkeyUnusableText(Hotkey::Lock, "Ctrl+Alt+L"),
              "无法使用热键 Ctrl+Alt+L，锁定字幕只能用勾选框开关。");
}

} // namespace
} // namespace pal4
