#include "harness/simulated_tool.hpp"
#include "overlay/subtitle_appearance.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace pal4::testing {
namespace {

// The appearance under test works on the tool's own state and windows, so the overlay's move
// events reach the application's own move handler, as in the program.
class SubtitleAppearanceTest : public ::testing::Test {
protected:
    SubtitleAppearanceTest() {
        tool.panel.create();
        state.fontName = "黑体";
        state.fontSize = 36;
        state.textColor = 0x0000FF;
        state.shadowOn = true;
        state.overlayLeft = 100;
        state.overlayTop = 700;
        state.overlayWidth = 800;
        state.overlayHeight = 120;
    }
    // Opens the overlay as the user does, over the game in progress.
    void open() {
        tool.panel.userClicksToggle();
        EXPECT_TRUE(overlay.exists());
        EXPECT_TRUE(state.overlayShown);
        overlay.clearCalls();
        tool.moves.clear();
    }

    SimulatedTool tool;
    AppState& state = tool.state;
    FakePanel& panel = tool.panel;
    FakeOverlay& overlay = tool.overlay;
    SubtitleAppearance appearance{state, panel, overlay};
};

TEST_F(SubtitleAppearanceTest, WithTheOverlayClosedNothingChangesNotEvenTheGeometry) {
    open();
    state.overlayShown = false;
    appearance.applyAppearance();
    EXPECT_TRUE(overlay.calls().empty());
}

TEST_F(SubtitleAppearanceTest, AssignsEveryPropertyInOrderWithTheWindowPlacedInOneCall) {
    open();
    panel.setChecked(CheckBox::Bold, true);
    panel.setChecked(CheckBox::Italic, true);
    overlay.setLabelText("你好");
    overlay.clearCalls();

    appearance.applyAppearance();

    EXPECT_EQ(overlay.calls(),
              (std::vector<std::string>{"setLabelFontFace", "setLabelFontSize", "setLabelTextColor",
                                        "setLabelBold", "setLabelItalic", "setLabelShadow",
                                        "setLabelOutline", "setLabelAlignment", "setWindowBounds",
                                        "setLabelSize"}));
    const FakeLabel& label = overlay.label();
    EXPECT_EQ(label.fontFace, "黑体");
    EXPECT_EQ(label.fontSize, 36);
    EXPECT_EQ(label.textColor, 0x0000FFu);
    EXPECT_TRUE(label.bold);
    EXPECT_TRUE(label.italic);
    EXPECT_TRUE(label.shadowed);
    EXPECT_EQ(label.alignment, TextAlignment::Left);
    EXPECT_EQ(label.width, 800);
    EXPECT_EQ(label.height, 120);
    EXPECT_EQ(label.text, "你好");
    EXPECT_EQ(overlay.windowLeft(), 100);
    EXPECT_EQ(overlay.windowTop(), 700);
    EXPECT_EQ(overlay.windowWidth(), 800);
    EXPECT_EQ(overlay.windowHeight(), 120);
}

TEST_F(SubtitleAppearanceTest, CentringGivesCentredAlignmentAndOffGivesLeft) {
    open();
    for (const bool centred : {true, false, true}) {
        panel.setChecked(CheckBox::Centre, centred);
        appearance.applyAppearance();
        EXPECT_EQ(overlay.label().alignment,
                  centred ? TextAlignment::Centred : TextAlignment::Left);
    }
}

// Each position handler changes one coordinate; the move event must already see both, and the
// new size, or it would write a stale coordinate back.
TEST_F(SubtitleAppearanceTest, TheMoveEventSeesTheWholeNewPlacement) {
    open();
    state.overlayLeft = -30;
    state.overlayTop = 1500;
    state.overlayWidth = 0;
    appearance.applyAppearance();
    ASSERT_EQ(tool.moves.size(), 1u);
    EXPECT_EQ(tool.moves[0].left, -30);
    EXPECT_EQ(tool.moves[0].top, 1500);
    EXPECT_EQ(tool.moves[0].width, 0);
    EXPECT_EQ(tool.moves[0].height, 120);
    EXPECT_EQ(state.overlayLeft, -30);
    EXPECT_EQ(state.overlayTop, 1500);
    EXPECT_EQ(overlay.label().width, 0);
}

TEST_F(SubtitleAppearanceTest, AnUnchangedPositionRaisesNoMoveEvent) {
    open();
    appearance.applyAppearance();
    const auto moves = tool.moves.size();
    appearance.applyAppearance();
    EXPECT_EQ(tool.moves.size(), moves);
}

} // namespace
} // namespace pal4::testing
