// Full screen as the player uses it over the game's window: on and off, the overlay's close, a
// window made anew, and the start after a crash.
#include "harness/simulated_tool.hpp"

#include <gtest/gtest.h>

namespace pal4::testing {
namespace {

// A 1024x768 picture in a framed window; its frame as it was.
constexpr WindowPlace GAME{100, 50, 1040, 807};
constexpr WindowFrame FRAMED{FakeGameWindows::FRAMED_STYLE, FakeGameWindows::FRAMED_EXSTYLE, GAME};
constexpr WindowPlace FITTED{240, 0, 1440, 1080};
const std::string RESTORE = "4242,1100,349110272,256,100,50,1040,807";

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

TEST_F(FullScreenOverTheGame, OnFillsTheMonitorAndCarriesTheSubtitleOffGivesBothBackExactly) {
    tool.panel.userClicks(CheckBox::FullScreen);

    EXPECT_EQ(tool.gameWindows.frame(), (WindowFrame{0x14000000, 0, FITTED}));
    EXPECT_EQ(tool.gameWindows.backdrop(), (WindowPlace{0, 0, 1920, 1080}));
    EXPECT_EQ(tool.gameWindows.backdropBelow(), tool.gameWindows.window());
    EXPECT_TRUE(tool.gameWindows.markedFullScreen());
    EXPECT_EQ(tool.saved("fullscreen"), "on");
    EXPECT_EQ(tool.saved("fullscreenrestore"), RESTORE);
    // 10,640 1024x160 was 98 left of the picture and 559 below its top: x1.40625.
    EXPECT_EQ(overlay(), (WindowPlace{102, 786, 1440, 225}));
    EXPECT_EQ(tool.panel.sliderPosition(Slider::Width), 1440);
    EXPECT_EQ(tool.panel.caption(ValueCaption::Height), "文本高度 = 225");
    EXPECT_EQ(tool.panel.caption(ValueCaption::Top), "垂直位置 = 786");

    tool.panel.userClicks(CheckBox::FullScreen);

    expectGivenBack();
    EXPECT_EQ(tool.saved("fullscreen"), "off");
    EXPECT_EQ(overlay(), (WindowPlace{10, 640, 1024, 160}));
    EXPECT_EQ(tool.panel.caption(ValueCaption::Width), "文本宽度 = 1024");
}

// The settings file keeps the geometry without full screen: a drag made in full screen is saved
// through the inverse factors when the overlay closes, which gives the window back first.
TEST_F(FullScreenOverTheGame, ClosingTheOverlayGivesTheWindowBackAndSavesTheWindowedPlace) {
    tool.panel.userClicks(CheckBox::FullScreen);
    tool.overlay.userMovesWindow(1086, 900);
    tool.panel.userClicksToggle();

    expectGivenBack();
    EXPECT_EQ(tool.saved("left"), "710");
    EXPECT_EQ(tool.saved("top"), "721");
    EXPECT_EQ(tool.saved("width"), "1024");
    EXPECT_EQ(tool.panel.isChecked(CheckBox::FullScreen), true);
}

TEST_F(FullScreenOverTheGame, AWindowMadeAnewGetsFullScreenAgain) {
    tool.panel.userClicks(CheckBox::FullScreen);
    tool.gameWindows.open({0, 0, 816, 639}); // 800x600 now
    for (int i = 0; i < 4; ++i) {
        tool.overlay.timerFires();
    }
    EXPECT_EQ(tool.gameWindows.frame().place, FITTED);
    EXPECT_EQ(tool.saved("fullscreenrestore"), "4242,1200,349110272,256,0,0,816,639");
    EXPECT_EQ(overlay(), (WindowPlace{102, 786, 1440, 225})) << "the same place on the picture";
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
