// The control panel's handlers while the user works with an open or closed overlay.
#include "harness/simulated_tool.hpp"
#include "overlay/overlay_constants.hpp"
#include "ui/panel_texts.hpp"

#include <gtest/gtest.h>

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
    EXPECT_EQ(app.overlay.calls().size(), 9u);
}

TEST_F(ControlPanelTest, EverySwitchShowsOnTheOpenOverlay) {
    openOverlay();
    app.panel.userClicks(CheckBox::Bold);
    app.panel.userClicks(CheckBox::Italic);
    app.panel.userClicks(CheckBox::Centre);
    app.panel.userPicksFont("黑体");
    app.panel.userMovesSlider(Slider::FontSize, 48);
    EXPECT_TRUE(app.overlay.label().bold);
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

TEST(PanelTexts, HelpTextIsFourLinesJoinedByCrLf) {
    std::vector<std::string> lines;
    std::string_view rest = HELP_TEXT;
    for (std::size_t end; (end = rest.find("\r\n")) != std::string_view::npos;
         rest.remove_prefix(end + 2)) {
        lines.emplace_back(rest.substr(0, end));
    }
    lines.emplace_back(rest);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "使用帮助：1.若无效请关闭杀毒软件，或以管理员身份运行本工具");
    EXPECT_EQ(lines[1], "2.或仅适用简体免CD版仙剑4(PAL4.exe大小为5410136字节)");
    EXPECT_EQ(lines[2], "3.也可以通过手改Pal4_Corvel.ini下的参数来调节");
    EXPECT_EQ(lines[3], "4.有问题咨询作者请点击下面的“Corvel”链接");
    EXPECT_EQ(HELP_TEXT.find('\n', HELP_TEXT.size() - 2), std::string_view::npos);
}

} // namespace
} // namespace pal4::testing
