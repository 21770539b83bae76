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
    std::optional<PictureAnchor> anchor;
    WindowShow show;
    std::optional<WindowPlace> client;
    FollowStep step;
};

void PrintTo(const FollowCase& test, std::ostream* out) {
    *out << test.name;
}

class FollowRule : public ::testing::TestWithParam<FollowCase> {};

TEST_P(FollowRule, ShowsTheOverlayOnlyWithTheWindowAndKeepsItsPlaceOnThePicture) {
    EXPECT_EQ(followGameWindow(GetParam().anchor, GetParam().show, GetParam().client),
              GetParam().step);
}

constexpr WindowPlace OLD{100, 50, 1024, 768};
constexpr WindowPlace OVERLAY{110, 690, 1000, 100};
constexpr PictureAnchor ANCHOR{OLD, OVERLAY};
INSTANTIATE_TEST_SUITE_P(
    Looks, FollowRule,
    ::testing::Values(
        FollowCase{"Stayed", ANCHOR, WindowShow::Shown, OLD, {true, OVERLAY}},
        FollowCase{"Moved",
                   ANCHOR,
                   WindowShow::Shown,
                   WindowPlace{150, 20, 1024, 768},
                   {true, WindowPlace{160, 660, 1000, 100}}},
        // Maximised: the subtitle stays over the same part of the picture.
        FollowCase{"Resized",
                   ANCHOR,
                   WindowShow::Shown,
                   WindowPlace{0, 0, 2048, 1536},
                   {true, WindowPlace{20, 1280, 2000, 200}}},
        FollowCase{"FirstSeen", std::nullopt, WindowShow::Shown, OLD, {true, std::nullopt}},
        FollowCase{"Minimised",
                   ANCHOR,
                   WindowShow::Minimised,
                   WindowPlace{-32000, -32000, 160, 24},
                   {false, std::nullopt}},
        FollowCase{"Hidden", ANCHOR, WindowShow::Hidden, OLD, {false, std::nullopt}},
        FollowCase{"NoWindow", ANCHOR, WindowShow::Gone, std::nullopt, {false, std::nullopt}}),
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

// Nothing moving costs a look and a half at the system a tick: under Wine each is a round trip.
TEST_F(FollowingTheGame, AWindowThatStaysCostsALookAndAHalfATick) {
    const int before = tool.gameWindows.looks();
    ticks(80);
    EXPECT_LE(tool.gameWindows.looks() - before, 120);
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
