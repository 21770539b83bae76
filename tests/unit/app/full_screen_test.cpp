// Full screen over the game's window where the end-to-end scenario cannot look: the panel's
// sliders, a drag saved through the inverse factors, a new resolution, and a window that another
// process holds after a crash. On and off, the three scales and a window made anew are the
// scenario's.
#include "harness/simulated_tool.hpp"

#include <gtest/gtest.h>

namespace pal4::testing {
namespace {

// A 1024x768 picture in a framed window; its frame as it was.
constexpr WindowPlace GAME{100, 50, 1040, 807};
constexpr WindowFrame FRAMED{FakeGameWindows::FRAMED_STYLE, FakeGameWindows::FRAMED_EXSTYLE, GAME};
constexpr WindowPlace FITTED{240, 0, 1440, 1080};

class FullScreenOverTheGame : public ::testing::Test {
protected:
    void SetUp() override {
        tool.gameWindows.open(GAME);
        tool.panel.create();
        tool.panel.userClicksToggle();
        ASSERT_TRUE(tool.state.overlayShown);
    }
    WindowPlace overlay() const {
        return {tool.overlay.windowLeft(), tool.overlay.windowTop(), tool.overlay.windowWidth(),
                tool.overlay.windowHeight()};
    }
    void expectGivenBack() {
        EXPECT_EQ(tool.gameWindows.frame(), FRAMED);
        EXPECT_FALSE(tool.gameWindows.backdrop());
        EXPECT_FALSE(tool.gameWindows.markedFullScreen());
        EXPECT_EQ(tool.saved("fullscreenrestore"), std::nullopt);
    }
    SimulatedTool tool;
};

// The settings file keeps the geometry without full screen: a drag made in full screen is saved
// through the inverse factors when the overlay closes, which gives the window back first.
TEST_F(FullScreenOverTheGame, ClosingTheOverlayGivesTheWindowBackAndSavesTheWindowedPlace) {
    tool.panel.userClicks(CheckBox::FullScreen);
    // The sliders show the overlay carried with the picture (x1.40625), as for a drag.
    EXPECT_EQ(tool.panel.sliderPosition(Slider::Width), 1440);
    EXPECT_EQ(tool.panel.caption(ValueCaption::Top), "垂直位置 = 786");
    tool.overlay.userMovesWindow(1086, 900);
    tool.panel.userClicksToggle();

    expectGivenBack();
    EXPECT_EQ(tool.saved("left"), "710");
    EXPECT_EQ(tool.saved("top"), "721");
    EXPECT_EQ(tool.saved("width"), "1024");
    EXPECT_EQ(tool.panel.isChecked(CheckBox::FullScreen), true);
}

// A new resolution keeps full screen and is what the window gets back; a move is undone.
TEST_F(FullScreenOverTheGame, ANewResolutionIsFittedAgainAndGivenBackAtItsNewSize) {
    tool.panel.userClicks(CheckBox::FullScreen);
    for (const WindowPlace moved : {WindowPlace{240, 0, 800, 600}, WindowPlace{0, 0, 1440, 1080}}) {
        tool.gameWindows.moveTo(moved.left, moved.top);
        tool.gameWindows.resizeTo(moved.width, moved.height);
        for (int i = 0; i < 4; ++i) {
            tool.overlay.timerFires();
        }
        EXPECT_EQ(tool.gameWindows.frame().place, FITTED);
        EXPECT_EQ(tool.saved("fullscreenrestore"), "4242,1100,349110272,256,100,50,816,639");
    }
    tool.panel.userClicks(CheckBox::FullScreen);
    EXPECT_EQ(tool.gameWindows.frame().place, (WindowPlace{100, 50, 816, 639}));
}

// A start after the tool was killed in full screen gives the window back before anything else,
// and only to the game that still owns it.
TEST(FullScreenAfterACrash, TheNextStartGivesTheGamesWindowBackAndSaysSo) {
    for (const bool stillTheGames : {true, false}) {
        SimulatedTool tool;
        tool.gameWindows.open(FITTED);
        const WindowFrame left = tool.gameWindows.frame();
        if (!stillTheGames) {
            tool.gameWindows.handOverTo(7);
        }
        tool.givenSettingsFile("[config]\r\nfullscreenrestore=4242,1100,349110272,256,100,50,1040,"
                               "807\r\nfullscreen=on\r\n");
        tool.panel.create();
        EXPECT_EQ(tool.gameWindows.frame(), stillTheGames ? FRAMED : left);
        EXPECT_EQ(tool.panel.editText(),
                  stillTheGames ? "上次退出时游戏窗口仍在全屏，已恢复原来的窗口。" : "");
        // The key's line goes, and nothing else.
        EXPECT_EQ(tool.fileBytes(), "[config]\r\nfullscreen=on\r\nsize=20\r\n");
    }
}

} // namespace
} // namespace pal4::testing
