// The toggle's hot key: which one the panel registers on its creation, what it says when it
// cannot have one, that a press does what the button does, and that it is given back.
#include "harness/simulated_tool.hpp"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace pal4::testing {
namespace {

constexpr HotkeyCombination CTRL_ALT_S{HOTKEY_MOD_CONTROL | HOTKEY_MOD_ALT, 'S'};
// Where every combination is held, the lock's and the full screen's are too: one line each.
const std::string LOCK_HELD = "\r\n无法使用热键 Ctrl+Alt+L，锁定字幕只能用勾选框开关。"
                              "\r\n无法使用热键 Ctrl+Alt+F，全屏只能用勾选框开关。";

struct HotkeyCase {
    const char* name;
    std::optional<std::string> settingsFile; // nothing: no file at all
    bool othersHoldEveryKey;
    std::optional<HotkeyCombination> registered;
    std::string editText;      // empty: the edit box untouched
    std::uint16_t webPort = 0; // where the web feeds listen; 0: nowhere
};

class HotkeyOnStartTest : public ::testing::TestWithParam<HotkeyCase> {
protected:
    SimulatedTool tool;
};

TEST_P(HotkeyOnStartTest, RegistersWhatTheSettingsAskOrSaysWhyNot) {
    if (GetParam().settingsFile) {
        tool.givenSettingsFile(*GetParam().settingsFile);
    }
    if (GetParam().othersHoldEveryKey) {
        tool.panel.refuseHotkeys();
        tool.sockets.refuseListen = true;
    }

    tool.panel.create();

    EXPECT_EQ(tool.panel.hotkey(), GetParam().registered);
    EXPECT_EQ(tool.panel.editText(), GetParam().editText);
    EXPECT_EQ(tool.sockets.listening, GetParam().webPort);
    // Read, never written: a first run's file gets no hotkey line.
    if (!GetParam().settingsFile) {
        EXPECT_EQ(tool.saved("hotkey"), std::nullopt);
        EXPECT_EQ(tool.saved("webport"), std::nullopt);
        EXPECT_EQ(tool.saved("fullscreenhotkey"), std::nullopt);
        EXPECT_EQ(tool.saved("fullscreenscale"), std::nullopt);
        EXPECT_EQ(tool.saved("fullscreen"), std::nullopt);
    }
    // Whatever a crashed run left is gone once it was looked at.
    EXPECT_EQ(tool.saved("fullscreenrestore"), std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, HotkeyOnStartTest,
    ::testing::Values(
        HotkeyCase{"FirstRun", std::nullopt, false, CTRL_ALT_S, ""},
        HotkeyCase{"KeyAbsent", "[config]\r\nsize=30\r\n", false, CTRL_ALT_S, ""},
        HotkeyCase{"OtherCombination", "[config]\r\nhotkey=Ctrl+Shift+F9\r\n", false,
                   HotkeyCombination{HOTKEY_MOD_CONTROL | HOTKEY_MOD_SHIFT, 0x78}, ""},
        HotkeyCase{"TurnedOff", "[config]\r\nhotkey=\r\n", false, std::nullopt, ""},
        HotkeyCase{"Unreadable", "[config]\r\nhotkey=Ctrl+Banana\r\n", false, std::nullopt,
                   "无法使用热键 Ctrl+Banana，外挂字幕只能用按钮开关。"},
        HotkeyCase{"HeldByAnotherProgram", std::nullopt, true, std::nullopt,
                   "无法使用热键 Ctrl+Alt+S，外挂字幕只能用按钮开关。" + LOCK_HELD},
        HotkeyCase{"OtherCombinationHeld", "[config]\r\nhotkey=shift + ctrl + f9\r\n", true,
                   std::nullopt,
                   "无法使用热键 Ctrl+Shift+F9，外挂字幕只能用按钮开关。" + LOCK_HELD},
        HotkeyCase{"LockKeyUnreadable", "[config]\r\nlockhotkey=L\r\n", false, CTRL_ALT_S,
                   "无法使用热键 L，锁定字幕只能用勾选框开关。"},
        HotkeyCase{"FullScreenKeyUnreadable", "[config]\r\nfullscreenhotkey=Alt+\r\n", false,
                   CTRL_ALT_S, "无法使用热键 Alt+，全屏只能用勾选框开关。"},
        // The full screen's scale and what a crashed run left to give back, read on start-up
        // too; a window no longer there is not mentioned.
        HotkeyCase{"FullScreenScale", "[config]\r\nfullscreenscale= Stretch \r\n", false,
                   CTRL_ALT_S, ""},
        HotkeyCase{"FullScreenScaleUnreadable",
                   "[config]\r\nfullscreenscale=zoom\r\nfullscreenhotkey=Alt+\r\n", false,
                   CTRL_ALT_S,
                   "全屏缩放 zoom 不可用（应为fit、stretch或none），全屏按fit缩放。\r\n"
                   "无法使用热键 Alt+，全屏只能用勾选框开关。"},
        HotkeyCase{"RestoreKeyOfAWindowGone",
                   "[config]\r\nfullscreenrestore=4242,1100,349110272,256,0,0,800,600\r\n", false,
                   CTRL_ALT_S, ""},
        // The web feeds' port, read on start-up like the hot key.
        HotkeyCase{"WebPort", "[config]\r\nwebport= 1024 \r\n", false, CTRL_ALT_S, "", 1024},
        HotkeyCase{"WebPortOutOfRange", "[config]\r\nwebport=65536\r\n", false, CTRL_ALT_S,
                   "网页字幕端口 65536 不可用（应为1024到65535的数字），网页字幕未开启。"},
        HotkeyCase{"WebPortHeld", "[config]\r\nwebport=6677\r\n", true, std::nullopt,
                   "无法使用热键 Ctrl+Alt+S，外挂字幕只能用按钮开关。" + LOCK_HELD +
                       "\r\n网页字幕端口 6677 已被其他程序占用，网页字幕未开启。"}),
    [](const ::testing::TestParamInfo<HotkeyCase>& param) {
        return std::string(param.param.name);
    });

TEST(HotkeyTest, TurnedOffIsNotEvenTried) {
    SimulatedTool tool;
    tool.givenSettingsFile("[config]\r\nhotkey= \t\r\nlockhotkey=\r\nfullscreenhotkey=\r\n");
    tool.panel.create();
    for (const std::string& call : tool.panel.calls()) {
        EXPECT_NE(call, "registerHotkey");
    }
}

TEST(HotkeyTest, APressOpensClosesAndRefusesAsTheButtonDoes) {
    SimulatedTool tool;
    tool.panel.create();

    tool.panel.userPressesHotkey();
    EXPECT_TRUE(tool.state.overlayShown);
    EXPECT_EQ(tool.panel.toggleCaption(), "去除字幕");

    tool.panel.userPressesHotkey();
    EXPECT_FALSE(tool.state.overlayShown);
    EXPECT_EQ(tool.panel.toggleCaption(), "外挂字幕");

    tool.world.setMarker(0.0f);
    tool.panel.userPressesHotkey();
    ASSERT_EQ(tool.shell.messages().size(), 1u);
    EXPECT_EQ(tool.shell.messages()[0].text, "请先进入仙剑4");
}

// The lock's hot key flips the box as a click would: the open overlay lets clicks through or
// not at once, and the key is saved.
TEST(HotkeyTest, TheLockKeyFlipsTheLockAsTheBoxDoes) {
    SimulatedTool tool;
    tool.panel.create();
    tool.panel.userClicksToggle();
    for (const bool locked : {true, false}) {
        tool.panel.userPressesHotkey(Hotkey::Lock);
        EXPECT_EQ(tool.panel.isChecked(CheckBox::Lock), locked);
        EXPECT_EQ(tool.overlay.clickThrough(), locked);
        EXPECT_EQ(tool.saved("lock"), locked ? "on" : "off");
    }
}

// The full screen's hot key flips the box as a click would, and the key is saved.
TEST(HotkeyTest, TheFullScreenKeyFlipsFullScreenAsTheBoxDoes) {
    SimulatedTool tool;
    tool.panel.create();
    for (const bool on : {true, false}) {
        tool.panel.userPressesHotkey(Hotkey::FullScreen);
        EXPECT_EQ(tool.panel.isChecked(CheckBox::FullScreen), on);
        EXPECT_EQ(tool.saved("fullscreen"), on ? "on" : "off");
    }
}

TEST(HotkeyTest, ClosingThePanelGivesTheHotKeyBack) {
    SimulatedTool tool;
    tool.panel.create();
    ASSERT_TRUE(tool.panel.hotkey());

    tool.panel.destroy();

    EXPECT_FALSE(tool.panel.hotkey());
    tool.panel.userPressesHotkey();
    EXPECT_FALSE(tool.overlay.exists());
}

} // namespace
} // namespace pal4::testing
