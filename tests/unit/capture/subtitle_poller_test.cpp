#include "capture/subtitle_poller.hpp"

#include "fakes/fake_dialogue_ports.hpp"
#include "fakes/fake_overlay.hpp"
#include "fakes/fake_panel.hpp"
#include "game_world.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>

namespace pal4 {
namespace {

using testing::GameWorld;

class SubtitlePollerTest : public ::testing::Test {
protected:
    SubtitlePollerTest() {
        // As the overlay's creation leaves things.
        state.gamePid = GameWorld::PID;
        state.blankFlagAddress = GameWorld::BLANK_FLAG;
        state.textAddress = GameWorld::TEXT_BUFFER;
        overlay.setLabelText(" ");
        panel.setEditText("help");
        overlay.clearCalls();
    }

    int labelWrites() const { return count(overlay.calls(), "setLabelText"); }
    int editWrites() const { return count(panel.calls(), "setEditText") - 1; }
    static int count(const std::vector<std::string>& calls, const char* name) {
        return static_cast<int>(std::count(calls.begin(), calls.end(), name));
    }

    GameWorld world;
    AppState state;
    ProcessMemory memory{world.game};
    GameMemoryMap map{state, world.game, memory};
    testing::FakeOverlay overlay;
    testing::FakePanel panel;
    testing::FakeDialogueMachine dialogue{state, panel};
    DialogueBacklog backlog{state, overlay, dialogue.clock};
    SubtitlePoller poller{state, map, backlog, panel, dialogue.outputs};
};

TEST_F(SubtitlePollerTest, ShowsTheCleanedLineAndTheRawLine) {
    world.say("张三：<b>你好</b>");
    poller.pollTick();
    EXPECT_EQ(overlay.label().text, "你好");
    EXPECT_EQ(panel.editText(), "张三：<b>你好</b>");
    EXPECT_EQ(state.lastText, "张三：<b>你好</b>");
    EXPECT_EQ(state.subtitleText, "你好");
}

TEST_F(SubtitlePollerTest, AnUnchangedLineChangesNothing) {
    world.say("甲：乙");
    poller.pollTick();
    poller.pollTick();
    poller.pollTick();
    EXPECT_EQ(labelWrites(), 1);
    EXPECT_EQ(editWrites(), 1);
}

TEST_F(SubtitlePollerTest, ALineWithoutSeparatorOnlyReachesTheEditBox) {
    world.say("甲：一");
    poller.pollTick();
    world.say("你好");
    poller.pollTick();
    EXPECT_EQ(overlay.label().text, "一");
    EXPECT_EQ(state.subtitleText, "一");
    EXPECT_EQ(panel.editText(), "你好");
}

TEST_F(SubtitlePollerTest, TheBlankFlagEmptiesTheLabelAndLeavesTheEditBox) {
    world.say("甲：一");
    poller.pollTick();
    world.setBlank(true);
    poller.pollTick();
    EXPECT_EQ(overlay.label().text, "");
    EXPECT_EQ(state.lastText, "");
    EXPECT_EQ(panel.editText(), "甲：一");
    EXPECT_EQ(state.subtitleText, "一");
}

// The game sets the flag to whatever it likes; only zero means "show the line".
class BlankFlagValueTest : public SubtitlePollerTest,
                           public ::testing::WithParamInterface<std::uint8_t> {};

TEST_P(BlankFlagValueTest, AnyNonZeroValueBlanksTheSubtitle) {
    world.say("甲：一");
    poller.pollTick();
    world.game.pokeByte(GameWorld::PID, GameWorld::BLANK_FLAG, GetParam());
    poller.pollTick();
    EXPECT_EQ(overlay.label().text, "");
    EXPECT_EQ(state.lastText, "");
}

INSTANTIATE_TEST_SUITE_P(Values, BlankFlagValueTest,
                         ::testing::Values(std::uint8_t{0x01}, std::uint8_t{0x02},
                                           std::uint8_t{0x80}, std::uint8_t{0xFF}));

TEST_F(SubtitlePollerTest, TheSameLineShowsAgainWhenTheBlankFlagClears) {
    world.say("甲：一");
    poller.pollTick();
    world.setBlank(true);
    poller.pollTick();
    world.setBlank(false);
    poller.pollTick();
    EXPECT_EQ(overlay.label().text, "一");
}

TEST_F(SubtitlePollerTest, WhileBlankTheTextIsNotRead) {
    world.say("甲：一");
    world.setBlank(true);
    world.game.clearRecords();
    poller.pollTick();
    EXPECT_EQ(world.game.regionQueries(), 0u);
    EXPECT_EQ(world.game.processOpens(), 1u);
}

TEST_F(SubtitlePollerTest, AnUnreadableBlankFlagBlanksEveryTick) {
    world.say("甲：一");
    state.blankFlagAddress = 0x0BAD0000;
    poller.pollTick();
    poller.pollTick();
    EXPECT_EQ(overlay.label().text, "");
    EXPECT_EQ(labelWrites(), 2);
    EXPECT_EQ(editWrites(), 0);
}

TEST_F(SubtitlePollerTest, UnreadableTextAfterALineEmptiesOnlyTheEditBox) {
    world.say("甲：一");
    poller.pollTick();
    state.textAddress = 0xFFFFFFFF;
    poller.pollTick();
    EXPECT_EQ(overlay.label().text, "一");
    EXPECT_EQ(panel.editText(), "");
}

TEST_F(SubtitlePollerTest, UnreadableTextFromTheStartKeepsTheIdleLabel) {
    state.textAddress = 0xFFFFFFFF;
    poller.pollTick();
    poller.pollTick();
    EXPECT_EQ(overlay.label().text, " ");
    EXPECT_EQ(labelWrites(), 0);
    EXPECT_EQ(panel.editText(), "help");
}

TEST_F(SubtitlePollerTest, AGameThatExitsBetweenTicksBlanksTheSubtitle) {
    world.say("甲：一");
    poller.pollTick();
    world.game.exitProcess(GameWorld::PID);
    poller.pollTick();
    poller.pollTick();
    EXPECT_EQ(overlay.label().text, "");
    EXPECT_EQ(state.lastText, "");
    EXPECT_EQ(panel.editText(), "甲：一");
    EXPECT_TRUE(world.game.allHandlesClosed());
}

TEST_F(SubtitlePollerTest, OnlyMarkupAfterTheSeparatorShowsNothing) {
    world.say("甲：<a><b></b>");
    poller.pollTick();
    EXPECT_EQ(overlay.label().text, "");
    EXPECT_EQ(labelWrites(), 1);
}

TEST_F(SubtitlePollerTest, TextWithoutAZeroRunsToTheEndOfItsRegion) {
    // The last bytes of the region hold a tag the game had not finished writing.
    const std::string fill(GameWorld::TEXT_REGION_SIZE - 7, 'x');
    world.game.poke(GameWorld::PID, GameWorld::TEXT_BUFFER, "甲：" + fill + "<ab");
    poller.pollTick();
    EXPECT_EQ(state.lastText.size(), GameWorld::TEXT_REGION_SIZE);
    EXPECT_EQ(overlay.label().text, fill);
}

TEST_F(SubtitlePollerTest, ALineInASixteenMegabyteRegionIsReadWhole) {
    constexpr GameAddress base = 0x50000000;
    constexpr std::uint32_t size = 16u << 20;
    world.game.addRegion(GameWorld::PID, base, size);
    state.textAddress = base;
    world.game.poke(GameWorld::PID, base, "甲：一");
    poller.pollTick();
    EXPECT_EQ(overlay.label().text, "一");

    const std::string fill(size - 4, 'x');
    world.game.poke(GameWorld::PID, base, "甲：" + fill);
    poller.pollTick();
    EXPECT_EQ(state.lastText.size(), size);
    EXPECT_EQ(overlay.label().text, fill);
}

} // namespace
} // namespace pal4
