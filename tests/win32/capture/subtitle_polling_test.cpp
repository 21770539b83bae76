// The poller's ticks turning the running simulated game's dialogue into subtitles: the real
// process port reads the game, the label and the edit box are fakes.
#include "simgame_session.hpp"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace pal4::win32test {
namespace {

// What the game does before a tick, and what the tool shows after it.
struct TickStep {
    std::optional<std::uint8_t> blankFlag;
    std::optional<std::string> text;
    std::string label;
    std::string editBox;
};

TEST(SubtitlePolling, GameLinesBecomeSubtitles) {
    pal4sim::SimGame game{simgameLaunch()};
    ToolOverRunningGame rig;
    ASSERT_TRUE(game.setMarker(pal4sim::PLAYING_MARKER));
    ASSERT_TRUE(rig.openOverlay());

    const std::vector<TickStep> steps{
        // A speaker's line loses the name.
        {0, "张三：今天的天气真好。", "今天的天气真好。", "张三：今天的天气真好。"},
        // Markup goes; the raw line stays in the edit box.
        {{},
         "李四：是啊，<c1>山上</c>的花都开了。",
         "是啊，山上的花都开了。",
         "李四：是啊，<c1>山上</c>的花都开了。"},
        // Narration without a speaker leaves the subtitle as it was.
        {{}, "（远处传来一阵钟声）", "是啊，山上的花都开了。", "（远处传来一阵钟声）"},
        // Between scenes the subtitle is blank and the edit box keeps its line.
        {1, "张三：我们<c2>快走</c>吧！", "", "（远处传来一阵钟声）"},
        // The flag clears: the unchanged line shows again.
        {0, {}, "我们快走吧！", "张三：我们<c2>快走</c>吧！"},
        // Only the first colon separates the speaker.
        {{},
         "老者：前方有告示：<c1>山路</c>塌了。",
         "前方有告示：山路塌了。",
         "老者：前方有告示：<c1>山路</c>塌了。"},
        // A speaker with nothing said empties the subtitle.
        {{}, "少女：", "", "少女："},
    };
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const TickStep& step = steps[i];
        if (step.blankFlag) {
            ASSERT_TRUE(game.setBlankFlag(*step.blankFlag));
        }
        if (step.text) {
            ASSERT_TRUE(game.setText(*step.text));
        }
        rig.overlay.timerFires();
        EXPECT_EQ(rig.overlay.label().text, step.label) << "step " << i;
        EXPECT_EQ(rig.panel.editText(), step.editBox) << "step " << i;
    }
}

TEST(SubtitlePolling, AnUnchangedLineIsNotSetAgain) {
    pal4sim::SimGame game{simgameLaunch()};
    ToolOverRunningGame rig;
    ASSERT_TRUE(game.setMarker(pal4sim::PLAYING_MARKER));
    ASSERT_TRUE(rig.openOverlay());
    ASSERT_TRUE(game.setText("张三：你好"));
    rig.overlay.timerFires();
    rig.overlay.clearCalls();

    rig.overlay.timerFires();
    rig.overlay.timerFires();

    EXPECT_TRUE(rig.overlay.calls().empty());
    EXPECT_EQ(rig.overlay.label().text, "你好");
}

TEST(SubtitlePolling, TheGameEndingBetweenTicksBlanksTheSubtitle) {
    pal4sim::SimGame game{simgameLaunch()};
    ToolOverRunningGame rig;
    ASSERT_TRUE(game.setMarker(pal4sim::PLAYING_MARKER));
    ASSERT_TRUE(rig.openOverlay());
    ASSERT_TRUE(game.setText("张三：你好"));
    rig.overlay.timerFires();
    ASSERT_EQ(rig.overlay.label().text, "你好");

    game.stop();
    rig.overlay.timerFires();
    EXPECT_EQ(rig.overlay.label().text, "");
    EXPECT_EQ(rig.panel.editText(), "张三：你好");
    rig.overlay.timerFires();
    EXPECT_EQ(rig.overlay.label().text, "");
    EXPECT_TRUE(rig.state.lastText.empty());
}

TEST(SubtitlePolling, AnUnreadableTextPointerLeavesTheIdleSubtitle) {
    pal4sim::SimGame game{simgameLaunch()};
    ToolOverRunningGame rig;
    ASSERT_TRUE(game.setTextPointer(0xFFFFFFFF));
    ASSERT_TRUE(game.setMarker(pal4sim::PLAYING_MARKER));
    ASSERT_TRUE(rig.openOverlay());
    ASSERT_EQ(rig.state.textAddress, 0xFFFFFFFFu);

    rig.overlay.timerFires();
    rig.overlay.timerFires();

    EXPECT_EQ(rig.overlay.label().text, " ");
}

// The game playing its own script: title screen first, then speakers, markup and the pause
// between scenes arrive at the subtitle as the timer would see them.
TEST(SubtitlePolling, FollowsTheGamesOwnScript) {
    pal4sim::SimGameLaunch launch = simgameLaunch();
    launch.script = true;
    launch.titleMs = 2000;
    launch.lineMs = 300;
    launch.breakMs = 300;
    pal4sim::SimGame game{launch};
    ToolOverRunningGame rig;
    const ProcessId pid = game.processId();
    RealGameMap map;
    EXPECT_FALSE(map.game.isInGame(pid));

    const ULONGLONG deadline = GetTickCount64() + 20000;
    while (!map.game.isInGame(pid) && GetTickCount64() < deadline) {
        Sleep(50);
    }
    ASSERT_TRUE(rig.openOverlay());

    std::vector<std::string> wanted{"今天的天气真好。", "是啊，山上的花都开了。", "",
                                    "年轻人，此路不通。", "前方有告示：山路塌了。"};
    std::vector<std::string> seen;
    std::size_t next = 0;
    while (next < wanted.size() && GetTickCount64() < deadline) {
        rig.overlay.timerFires();
        if (seen.empty() || seen.back() != rig.overlay.label().text) {
            seen.push_back(rig.overlay.label().text);
        }
        if (rig.overlay.label().text == wanted[next]) {
            ++next;
        }
        Sleep(40);
    }
    EXPECT_EQ(next, wanted.size()) << "subtitles seen: " << ::testing::PrintToString(seen);
}

} // namespace
} // namespace pal4::win32test
