// The whole tool wired as the exe wires it, with every port faked: the user's sessions from
// start to end, across the settings, the panel, the overlay and the game.
#include "harness/simulated_tool.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <memory>
#include <optional>
#include <string>

namespace pal4::testing {
namespace {

class ApplicationStory : public ::testing::Test, protected SimulatedMachine {
protected:
    // Starts the tool on this machine: the panel is created and loads the settings.
    void startTool() {
        tool.reset();
        tool = std::make_unique<ToolHarness>(world.game, shell, files);
        tool->panel.create();
    }

    std::optional<std::string> saved(std::string_view key) const { return tool->saved(key); }

    std::uint32_t markerBits() const {
        return std::bit_cast<std::uint32_t>(
            world.game.peekFloat32(GameWorld::PID, GameWorld::MARKER));
    }
    std::uint32_t switchBits() const {
        return static_cast<std::uint32_t>(
            world.game.peekInt32(GameWorld::PID, GameWorld::OVERLAY_SWITCH));
    }

    std::unique_ptr<ToolHarness> tool;
};

TEST_F(ApplicationStory, AFirstEveningWithTheTool) {
    startTool();
    EXPECT_EQ(tool->panel.caption(ValueCaption::FontSize), "字体大小 = 20");
    EXPECT_EQ(saved("size"), "20");
    EXPECT_EQ(saved("left"), std::nullopt);

    // The game is still on its title screen: the tool refuses and stays closed.
    world.setMarker(0.0f);
    tool->panel.userClicksToggle();
    ASSERT_EQ(shell.messages().size(), 1u);
    EXPECT_EQ(shell.messages()[0].text, "请先进入仙剑4");
    EXPECT_FALSE(tool->overlay.exists());

    // In the game: the overlay opens over it and the game is told so.
    world.setMarker(474.0f);
    tool->panel.userClicksToggle();
    ASSERT_TRUE(tool->overlay.exists());
    EXPECT_EQ(tool->panel.toggleCaption(), "去除字幕");
    EXPECT_EQ(tool->overlay.colorKey(), 0x000001u);
    EXPECT_EQ(markerBits(), 0x45942000u);
    EXPECT_EQ(switchBits(), 0u);
    EXPECT_EQ(tool->overlay.timerInterval(), 100u);
    EXPECT_EQ(tool->overlay.label().text, " ");

    // A line of dialogue appears without its speaker and markup.
    world.say("张三：你好<c1>啊</c>");
    tool->overlay.timerFires();
    EXPECT_EQ(tool->overlay.label().text, "你好啊");
    EXPECT_EQ(tool->panel.editText(), "张三：你好<c1>啊</c>");

    // The user styles it while it is showing; the style is saved at once.
    tool->panel.userClicks(CheckBox::Bold);
    EXPECT_TRUE(tool->overlay.label().bold);
    EXPECT_EQ(saved("bold"), "on");
    tool->panel.userMovesSlider(Slider::Top, 700);
    EXPECT_EQ(tool->overlay.windowTop(), 700);
    EXPECT_EQ(tool->panel.caption(ValueCaption::Top), "垂直位置 = 700");
    EXPECT_EQ(saved("top"), std::nullopt) << "geometry is saved on closing only";

    // Then drags the overlay partly off the screen's left edge.
    tool->overlay.userMovesWindow(-30, 650);
    EXPECT_EQ(tool->panel.sliderPosition(Slider::Left), 0);
    EXPECT_EQ(tool->panel.caption(ValueCaption::Left), "水平位置 = -30");

    // Closing the panel closes the overlay, saves where it was and gives the game back its values.
    const int captionWrites = tool->panel.toggleCaptionWrites();
    tool->panel.destroy();
    EXPECT_FALSE(tool->overlay.exists());
    EXPECT_EQ(saved("left"), "-30");
    EXPECT_EQ(saved("top"), "650");
    EXPECT_EQ(saved("width"), "1024");
    EXPECT_EQ(saved("height"), "160");
    EXPECT_EQ(markerBits(), 0x43ED0000u);
    EXPECT_EQ(switchBits(), 0x3F800000u);
    EXPECT_EQ(tool->panel.toggleCaptionWrites(), captionWrites);
    EXPECT_TRUE(world.game.allHandlesClosed());
}

TEST_F(ApplicationStory, TheNextStartPicksUpWhereTheLastEnded) {
    startTool();
    tool->panel.userClicks(CheckBox::Shadow);
    tool->panel.userPicksColor(255);
    tool->panel.userMovesSlider(Slider::FontSize, 36);
    tool->panel.userClicksToggle();
    tool->overlay.userMovesWindow(-30, 650);
    tool->overlay.userPressesEscape();
    EXPECT_EQ(tool->panel.toggleCaption(), "外挂字幕");
    tool->panel.destroy();

    startTool();
    EXPECT_TRUE(tool->panel.isChecked(CheckBox::Shadow));
    EXPECT_TRUE(tool->state.shadowOn);
    EXPECT_EQ(tool->state.textColor, 255u);
    EXPECT_EQ(tool->state.fontSize, 36);
    // The off-screen edge is kept in the file but comes back clamped by the slider.
    EXPECT_EQ(tool->state.overlayLeft, 0);
    EXPECT_EQ(tool->state.overlayTop, 650);

    tool->panel.userClicksToggle();
    world.say("李四：再见");
    tool->overlay.timerFires();
    EXPECT_EQ(tool->overlay.label().text, "再见");
    EXPECT_TRUE(tool->overlay.label().shadowed);
    EXPECT_EQ(tool->overlay.label().textColor, 255u);
    EXPECT_EQ(tool->overlay.label().fontSize, 36);
    EXPECT_EQ(tool->overlay.windowLeft(), 0);
}

// A reader holds the live line as the overlay closes: the panel's tick empties it once free.
TEST_F(ApplicationStory, ALiveLineHeldAsTheOverlayClosesIsEmptiedWhileTheToolRuns) {
    startTool();
    tool->panel.userClicks(CheckBox::History);
    tool->panel.userClicksToggle();
    world.say("张三：你好");
    tool->overlay.timerFires();
    const auto live = shell.programDirectory() / u8"当前对白.txt";
    files.hold(live);
    tool->panel.userClicksToggle();
    files.release(live);
    tool->panel.secondPasses();
    EXPECT_EQ(files.file(live), "\xEF\xBB\xBF");
}

TEST_F(ApplicationStory, TheGameQuittingWhileTheOverlayIsOpenBlanksItAndClosingStillWorks) {
    startTool();
    tool->panel.userClicksToggle();
    world.say("张三：你好");
    tool->overlay.timerFires();
    ASSERT_EQ(tool->overlay.label().text, "你好");

    world.game.exitProcess(GameWorld::PID);
    tool->overlay.timerFires();
    EXPECT_EQ(tool->overlay.label().text, "");

    tool->panel.userClicksToggle();
    EXPECT_FALSE(tool->overlay.exists());
    EXPECT_EQ(tool->panel.toggleCaption(), "外挂字幕");
    EXPECT_EQ(tool->state.gamePid, 0u);
    EXPECT_TRUE(shell.messages().empty());
}

} // namespace
} // namespace pal4::testing
