#include "core/app_state.hpp"
#include "fakes/fake_overlay.hpp"
#include "fakes/fake_panel.hpp"
#include "overlay/subtitle_appearance.hpp"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace pal4::testing {
namespace {

// The overlay's events as far as this test needs them: a move copies the window's position
// back into AppState, as the control panel's move handler does, and is recorded.
class MoveCopyBack final : public OverlayEvents {
public:
    MoveCopyBack(AppState& state, FakeOverlay& overlay) : state_(state), overlay_(overlay) {}
    void onOverlayCreated() override {}
    void onOverlayDestroyed() override {}
    void onPollTimer() override {}
    void onOverlayMoved() override {
        seen.emplace_back(overlay_.windowLeft(), overlay_.windowTop());
        seenSizes.emplace_back(overlay_.windowWidth(), overlay_.windowHeight());
        state_.overlayLeft = overlay_.windowLeft();
        state_.overlayTop = overlay_.windowTop();
    }
    std::vector<std::pair<int, int>> seen;
    std::vector<std::pair<int, int>> seenSizes;

private:
    AppState& state_;
    FakeOverlay& overlay_;
};

class SubtitleAppearanceTest : public ::testing::Test {
protected:
    SubtitleAppearanceTest() {
        overlay.bind(events);
        state.fontName = "黑体";
        state.fontSize = 36;
        state.textColor = 0x0000FF;
        state.shadowOn = true;
        state.overlayLeft = 100;
        state.overlayTop = 700;
        state.overlayWidth = 800;
        state.overlayHeight = 120;
    }
    void open() {
        overlay.create();
        state.overlayShown = true;
        overlay.clearCalls();
    }

    AppState state;
    FakePanel panel;
    FakeOverlay overlay;
    MoveCopyBack events{state, overlay};
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
                                        "setLabelAlignment", "setWindowBounds", "setLabelSize"}));
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
    ASSERT_EQ(events.seen.size(), 1u);
    EXPECT_EQ(events.seen[0], std::make_pair(-30, 1500));
    EXPECT_EQ(events.seenSizes[0], std::make_pair(0, 120));
    EXPECT_EQ(state.overlayLeft, -30);
    EXPECT_EQ(state.overlayTop, 1500);
    EXPECT_EQ(overlay.label().width, 0);
}

TEST_F(SubtitleAppearanceTest, AnUnchangedPositionRaisesNoMoveEvent) {
    open();
    appearance.applyAppearance();
    const auto moves = events.seen.size();
    appearance.applyAppearance();
    EXPECT_EQ(events.seen.size(), moves);
}

} // namespace
} // namespace pal4::testing
