// The control panel's handlers while the user works with an open or closed overlay.
#include "harness/simulated_tool.hpp"
#include "overlay/overlay_constants.hpp"

#include <gtest/gtest.h>

#include <string>

namespace pal4::testing {
namespace {

class ControlPanelTest : public ::testing::Test {
protected:
    void SetUp() override { app.panel.create(); }
    void openOverlay() {
        app.panel.userClicksToggle();
        ASSERT_TRUE(app.state.overlayShown);
        app.overlay.clearCalls();
    }
    SimulatedTool app;
};

TEST_F(ControlPanelTest, WithTheOverlayClosedChangesAreStoredButNothingIsDrawn) {
    app.panel.userClicks(CheckBox::Bold);
    app.panel.userMovesSlider(Slider::Top, 300);
    app.panel.userPicksColor(0x00FF00);
    EXPECT_TRUE(app.overlay.calls().empty());

    openOverlay();
    EXPECT_TRUE(app.overlay.label().bold); // the next opening shows it
    EXPECT_EQ(app.overlay.label().textColor, 0x00FF00u);
    EXPECT_EQ(app.overlay.windowTop(), 300);
}

TEST_F(ControlPanelTest, GeometrySlidersMoveAndResizeTheOpenOverlayAtOnceWithoutWriting) {
    openOverlay();
    const int written = app.files.replacements();
    app.panel.userMovesSlider(Slider::Left, 120);
    app.panel.userMovesSlider(Slider::Top, 900);
    app.panel.userMovesSlider(Slider::Width, 640);
    app.panel.userMovesSlider(Slider::Height, 1);
    EXPECT_EQ(app.overlay.windowLeft(), 120);
    EXPECT_EQ(app.overlay.windowTop(), 900);
    EXPECT_EQ(app.overlay.windowWidth(), 640);
    EXPECT_EQ(app.overlay.windowHeight(), 1);
    EXPECT_EQ(app.overlay.label().width, 640);
    EXPECT_EQ(app.overlay.label().height, 1);
    EXPECT_EQ(app.files.replacements(), written);
}

TEST_F(ControlPanelTest, AVerticalChangeSurvivesTheMoveEventItRaises) {
    openOverlay();
    const int moves = app.overlay.movedEvents();
    app.panel.userMovesSlider(Slider::Top, 200);
    EXPECT_EQ(app.overlay.movedEvents(), moves + 1);
    EXPECT_EQ(app.state.overlayTop, 200);
    EXPECT_EQ(app.state.overlayLeft, 10);
    EXPECT_EQ(app.panel.sliderPosition(Slider::Top), 200);
    EXPECT_EQ(app.panel.caption(ValueCaption::Top), "垂直位置 = 200");
}

TEST_F(ControlPanelTest, ShadowOnWhileOpenReassignsEverythingAndKeepsTheText) {
    openOverlay();
    app.overlay.setLabelText("你好");
    app.overlay.clearCalls();
    app.panel.userClicks(CheckBox::Shadow);
    EXPECT_TRUE(app.overlay.label().shadowed);
    EXPECT_EQ(app.overlay.label().text, "你好");
    EXPECT_EQ(app.overlay.calls().size(), 10u);
}

TEST_F(ControlPanelTest, EverySwitchShowsOnTheOpenOverlay) {
    openOverlay();
    app.panel.userClicks(CheckBox::Bold);
    app.panel.userClicks(CheckBox::Italic);
    app.panel.userClicks(CheckBox::Centre);
    app.panel.userClicks(CheckBox::Outline);
    app.panel.userPicksFont("黑体");
    app.panel.userMovesSlider(Slider::FontSize, 48);
    EXPECT_TRUE(app.overlay.label().bold);
    EXPECT_TRUE(app.overlay.label().outlined);
    EXPECT_TRUE(app.overlay.label().italic);
    EXPECT_EQ(app.overlay.label().alignment, TextAlignment::Centred);
    EXPECT_EQ(app.overlay.label().fontFace, "黑体");
    EXPECT_EQ(app.overlay.label().fontSize, 48);
    app.panel.userClicks(CheckBox::Centre);
    EXPECT_EQ(app.overlay.label().alignment, TextAlignment::Left);
    EXPECT_EQ(app.saved("centext"), "off");
}

TEST_F(ControlPanelTest, DebugSwitchWhileClosedDoesNothingAtOnce) {
    app.panel.userClicks(CheckBox::Debug);
    EXPECT_TRUE(app.overlay.calls().empty());
    EXPECT_EQ(app.saved("debug"), std::nullopt);
}

TEST_F(ControlPanelTest, DebugSwitchWhileOpenStopsThePollerForTheSampleAndRestartsIt) {
    openOverlay();
    app.panel.userClicks(CheckBox::Debug);
    EXPECT_EQ(app.overlay.timerInterval(), 0u);
    EXPECT_EQ(app.overlay.label().text, DEBUG_SAMPLE_TEXT);
    EXPECT_EQ(app.overlay.calls(), (std::vector<std::string>{"setTimerInterval", "setLabelText"}));

    app.overlay.clearCalls();
    app.panel.userClicks(CheckBox::Debug);
    EXPECT_EQ(app.overlay.label().text, " ");
    EXPECT_EQ(app.overlay.timerInterval(), POLL_INTERVAL_MS);
    EXPECT_EQ(app.overlay.calls(), (std::vector<std::string>{"setLabelText", "setTimerInterval"}));
}

TEST_F(ControlPanelTest, AMoveDuringTheOverlaysSetUpIsIgnored) {
    app.panel.userClicksToggle(); // the stand-in places the window at 10, 640 while setting up
    EXPECT_EQ(app.overlay.windowLeft(), 10);
    app.state.overlaySettingUp = true;
    app.overlay.userMovesWindow(77, 88);
    EXPECT_EQ(app.state.overlayLeft, 10);
    EXPECT_EQ(app.panel.sliderPosition(Slider::Left), 10);
    EXPECT_EQ(app.panel.caption(ValueCaption::Left), "水平位置 = 10");
}

TEST_F(ControlPanelTest, LinksOpenTheirPagesInInternetExplorer) {
    app.panel.userPressesAuthorLink();
    app.panel.userPressesClubLink();
    ASSERT_EQ(app.shell.executions().size(), 2u);
    for (const ShellExecution& run : app.shell.executions()) {
        EXPECT_EQ(run.operation, "open");
        EXPECT_EQ(run.file, "iexplore.exe");
        EXPECT_EQ(run.directory, "");
        EXPECT_EQ(run.showCommand, 1);
        EXPECT_TRUE(run.parameters.starts_with("https://")) << run.parameters;
    }
    EXPECT_EQ(app.shell.executions()[0].parameters, AUTHOR_PAGE_URL);
    EXPECT_EQ(app.shell.executions()[1].parameters, CLUB_PAGE_URL);
    EXPECT_NE(AUTHOR_PAGE_URL, CLUB_PAGE_URL);
}

TEST_F(ControlPanelTest, ALinkWithoutABrowserChangesNothing) {
    app.shell.setExecuteSucceeds(false);
    const auto before = app.fileBytes();
    app.panel.userPressesClubLink();
    EXPECT_TRUE(app.shell.messages().empty());
    EXPECT_EQ(app.fileBytes(), before);
}

TEST_F(ControlPanelTest, OpenLogBeforeAnyLogSaysSoAndOpensNothing) {
    app.panel.userPressesOpenLog();
    EXPECT_EQ(app.panel.editText(), NO_LOG_YET_TEXT);
    EXPECT_TRUE(app.shell.openedFiles().empty());

    const auto log = app.shell.programDirectory() / u8"对白记录.txt";
    app.files.putFile(log, "");
    app.panel.userPressesOpenLog();
    EXPECT_EQ(app.shell.openedFiles(), std::vector<std::filesystem::path>{log});
}

// Each slider as the user meets it: pushed past either end it holds there, and its own caption
// shows the held value behind its own prefix.
struct SliderEndCase {
    Slider slider;
    ValueCaption caption;
    std::int32_t belowRange;
    std::string lowCaption;
    std::int32_t aboveRange;
    std::string highCaption;
};

class SliderEndTest : public ControlPanelTest,
                      public ::testing::WithParamInterface<SliderEndCase> {};

TEST_P(SliderEndTest, HoldsAtItsEndsAndCaptionsTheHeldValue) {
    const SliderEndCase& c = GetParam();
    app.panel.userMovesSlider(c.slider, c.belowRange);
    EXPECT_EQ(app.panel.caption(c.caption), c.lowCaption);
    app.panel.userMovesSlider(c.slider, c.aboveRange);
    EXPECT_EQ(app.panel.caption(c.caption), c.highCaption);
}

INSTANTIATE_TEST_SUITE_P(EverySlider, SliderEndTest,
                         ::testing::Values(SliderEndCase{Slider::FontSize, ValueCaption::FontSize,
                                                         0, "字体大小 = 1", 201, "字体大小 = 200"},
                                           SliderEndCase{Slider::Left, ValueCaption::Left, -1,
                                                         "水平位置 = 0", 1921, "水平位置 = 1920"},
                                           SliderEndCase{Slider::Top, ValueCaption::Top, 0,
                                                         "垂直位置 = 1", 1201, "垂直位置 = 1200"},
                                           SliderEndCase{Slider::Width, ValueCaption::Width, -1,
                                                         "文本宽度 = 0", 1921, "文本宽度 = 1920"},
                                           SliderEndCase{Slider::Height, ValueCaption::Height, 0,
                                                         "文本高度 = 1", 1201, "文本高度 = 1200"}));

} // namespace
} // namespace pal4::testing
