// The overlay living with the game's window: the rule, and the tool following a window that
// moves, minimises, comes to the front and is made anew.
#include "capture/game_window_follower.hpp"
#include "harness/simulated_tool.hpp"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace pal4::testing {
namespace {

struct FollowCase {
    const char* name;
    std::optional<WindowPlace> anchor;
    WindowShow show;
    std::optional<WindowPlace> now;
    FollowStep step;
};

void PrintTo(const FollowCase& test, std::ostream* out) {
    *out << test.name;
}

class FollowRule : public ::testing::TestWithParam<FollowCase> {};

TEST_P(FollowRule, ShowsTheOverlayOnlyWithTheWindowAndMovesItAsTheWindowMoved) {
    EXPECT_EQ(followGameWindow(GetParam().anchor, GetParam().show, GetParam().now),
              GetParam().step);
}

constexpr WindowPlace OLD{100, 50, 1024, 768};
INSTANTIATE_TEST_SUITE_P(
    Looks, FollowRule,
    ::testing::Values(
        FollowCase{"Stayed", OLD, WindowShow::Shown, OLD, {true, 0, 0}},
        FollowCase{
            "Moved", OLD, WindowShow::Shown, WindowPlace{150, 20, 1024, 768}, {true, 50, -30}},
        FollowCase{"Resized", OLD, WindowShow::Shown, WindowPlace{100, 50, 640, 480}, {true, 0, 0}},
        FollowCase{"FirstSeen", std::nullopt, WindowShow::Shown, OLD, {true, 0, 0}},
        FollowCase{"Minimised",
                   OLD,
                   WindowShow::Minimised,
                   WindowPlace{-32000, -32000, 160, 24},
                   {false, 0, 0}},
        FollowCase{"Hidden", OLD, WindowShow::Hidden, OLD, {false, 0, 0}},
        FollowCase{"NoWindow", OLD, WindowShow::Gone, std::nullopt, {false, 0, 0}}),
    [](const auto& test) { return std::string(test.param.name); });

class FollowingTheGame : public ::testing::Test {
protected:
    void SetUp() override {
        tool.gameWindows.open({0, 0, 1024, 768});
        tool.panel.create();
        tool.panel.userClicksToggle();
        ASSERT_TRUE(tool.state.overlayShown);
    }
    void ticks(int count) {
        for (int i = 0; i < count; ++i) {
            tool.overlay.timerFires();
        }
    }
    SimulatedTool tool;
};

// A window made anew (a switch to full screen) is followed from where it stands: the overlay does
// not jump by the difference from the old window. (The end-to-end scenario shows the rest.)
TEST_F(FollowingTheGame, AWindowMadeAnewIsFollowedFromWhereItStands) {
    tool.gameWindows.moveTo(50, 30);
    ticks(2);
    ASSERT_EQ(tool.overlay.windowLeft(), 60);
    tool.gameWindows.open({0, 0, 1920, 1080});
    ticks(4);
    EXPECT_TRUE(tool.overlay.shown());
    EXPECT_EQ(tool.overlay.windowLeft(), 60);
}

// A window hidden where it stands hides the subtitle, looked at by the ticks alone (Wine) or
// told by the system; another window the game shows meanwhile takes the subtitle back.
TEST_F(FollowingTheGame, AHiddenWindowHidesTheSubtitleAndAnotherShownTakesIt) {
    for (const bool told : {false, true}) {
        const auto acts = [&] { told ? tool.app.onGameWindowChanged() : ticks(4); };
        tool.gameWindows.hide();
        acts();
        EXPECT_FALSE(tool.overlay.shown()) << told;
        tool.gameWindows.showAnother({0, 0, 800, 600});
        acts();
        EXPECT_TRUE(tool.overlay.shown()) << told;
    }
}

// Nothing moving costs a look and three quarters at the system a tick: under Wine each is a
// round trip.
TEST_F(FollowingTheGame, AWindowThatStaysCostsALookAndThreeQuartersATick) {
    const int before = tool.gameWindows.looks();
    ticks(80);
    EXPECT_LE(tool.gameWindows.looks() - before, 140);
    EXPECT_TRUE(tool.overlay.shown());
}

TEST(FollowingNoWindow, AGameWithoutAWindowIsLeftAlone) {
    SimulatedTool tool;
    tool.panel.create();
    tool.panel.userClicksToggle();
    for (int i = 0; i < 20; ++i) {
        tool.overlay.timerFires();
    }
    EXPECT_TRUE(tool.overlay.shown());
    EXPECT_EQ(tool.gameWindows.looks(), 1);
    EXPECT_FALSE(tool.gameWindows.watching());
}

} // namespace
} // namespace pal4::testing
