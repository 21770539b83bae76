// The toggle opening and closing the overlay over the running simulated game: the game's two
// display values change on opening and are written back on closing, and the timer's ticks
// show the game's line.
#include "simgame_session.hpp"

#include <gtest/gtest.h>

namespace pal4::win32test {
namespace {

TEST(OverlayOverRunningGame, IsRefusedOnTheTitleScreenAndLeavesTheGameAlone) {
    pal4sim::SimGame game{simgameLaunch()};
    ToolOverRunningGame rig;

    rig.panel.userClicksToggle();

    EXPECT_FALSE(rig.overlay.exists());
    EXPECT_EQ(rig.shell.messages().size(), 1u);
    const auto report = game.report();
    ASSERT_TRUE(report);
    EXPECT_EQ(report->markerBits, 0u);
    EXPECT_EQ(report->switchBits, 0x3F800000u);
}

TEST(OverlayOverRunningGame, OpeningAndClosingChangeAndRestoreTheGamesValues) {
    pal4sim::SimGame game{simgameLaunch()};
    ToolOverRunningGame rig;
    ASSERT_TRUE(game.setMarker(pal4sim::PLAYING_MARKER));
    ASSERT_TRUE(game.setText("张三：<c1>你好</c>"));

    rig.panel.userClicksToggle();
    ASSERT_TRUE(rig.overlay.exists());
    EXPECT_EQ(rig.state.gamePid, game.processId());
    auto report = game.report();
    ASSERT_TRUE(report);
    EXPECT_EQ(report->markerBits, 0x45942000u);
    EXPECT_EQ(report->switchBits, 0u);

    rig.overlay.timerFires();
    EXPECT_EQ(rig.overlay.label().text, "你好");

    rig.panel.userClicksToggle();
    EXPECT_FALSE(rig.overlay.exists());
    report = game.report();
    ASSERT_TRUE(report);
    EXPECT_EQ(report->markerBits, 0x43ED0000u);
    EXPECT_EQ(report->switchBits, 0x3F800000u);
}

TEST(OverlayOverRunningGame, ClosesAfterTheGameHasEnded) {
    ToolOverRunningGame rig;
    {
        pal4sim::SimGame game{simgameLaunch()};
        ASSERT_TRUE(game.setMarker(pal4sim::PLAYING_MARKER));
        rig.panel.userClicksToggle();
        ASSERT_TRUE(rig.overlay.exists());
    }
    rig.overlay.timerFires();
    EXPECT_EQ(rig.overlay.label().text, "");

    rig.panel.userClicksToggle();
    EXPECT_FALSE(rig.overlay.exists());
    EXPECT_EQ(rig.state.gamePid, 0u);
}

} // namespace
} // namespace pal4::win32test
