// What the toggle tells the player beyond its one box: the refusal's reason, a game module that
// is missing, a window that could not be made; and that one box is all a player ever gets.
#include "capture/diagnosis_texts.hpp"
#include "capture/refusal_reason.hpp"
#include "harness/simulated_tool.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <functional>
#include <string>

namespace pal4::testing {
namespace {

constexpr const char* EARLIER_TEXT = "早先的一行";

class ToggleFeedbackTest : public ::testing::Test {
protected:
    ToggleFeedbackTest() {
        tool.panel.create();
        tool.panel.setEditText(EARLIER_TEXT);
    }

    std::uint32_t markerBits() const {
        return std::bit_cast<std::uint32_t>(
            tool.world.game.peekFloat32(GameWorld::PID, GameWorld::MARKER));
    }
    std::uint32_t switchBits() const {
        return static_cast<std::uint32_t>(
            tool.world.game.peekInt32(GameWorld::PID, GameWorld::OVERLAY_SWITCH));
    }

    SimulatedTool tool;
};

// --- the refusal's reason ---

struct ReasonCase {
    const char* name;
    std::function<void(GameWorld&)> breakGame;
    RefusalReason reason;
};

class RefusalReasonShownTest : public ToggleFeedbackTest,
                               public ::testing::WithParamInterface<ReasonCase> {};

TEST_P(RefusalReasonShownTest, TheBoxComesFirstAndItsReasonFollowsInTheEditBox) {
    GetParam().breakGame(tool.world);
    std::string editTextWhileBoxUp;
    tool.shell.whileShowing([&] { editTextWhileBoxUp = tool.panel.editText(); });

    tool.panel.userClicksToggle();

    ASSERT_EQ(tool.shell.messages().size(), 1u);
    EXPECT_EQ(tool.shell.messages()[0].text, "请先进入仙剑4");
    EXPECT_EQ(editTextWhileBoxUp, EARLIER_TEXT);
    EXPECT_EQ(tool.panel.editText(), refusalReasonText({GetParam().reason, std::nullopt}));
    EXPECT_FALSE(tool.state.overlayShown);
    EXPECT_TRUE(tool.world.game.writes().empty());
    EXPECT_TRUE(tool.world.game.allHandlesClosed());
}

INSTANTIATE_TEST_SUITE_P(
    Reasons, RefusalReasonShownTest,
    ::testing::Values(
        ReasonCase{"NoGame", [](GameWorld& w) { w.game.exitProcess(GameWorld::PID); },
                   RefusalReason::GameNotRunning},
        ReasonCase{"NoAccess", [](GameWorld& w) { w.game.failOpen(GameWorld::PID); },
                   RefusalReason::AccessDenied},
        ReasonCase{"BrokenChain",
                   [](GameWorld& w) { w.game.pokeInt32(GameWorld::PID, ROOT_POINTER_ADDRESS, 0); },
                   RefusalReason::GameDataUnreadable},
        ReasonCase{"NotInGame", [](GameWorld& w) { w.setMarker(0.0f); }, RefusalReason::NotInGame}),
    [](const ::testing::TestParamInfo<ReasonCase>& param) {
        return std::string(param.param.name);
    });

TEST_F(ToggleFeedbackTest, AGameEnteredWhileTheBoxWasUpLeavesTheEditBoxAlone) {
    tool.world.setMarker(0.0f);
    tool.shell.whileShowing([&] { tool.world.setMarker(1.0f); });

    tool.panel.userClicksToggle();

    EXPECT_EQ(tool.shell.messages().size(), 1u);
    EXPECT_EQ(tool.panel.editText(), EARLIER_TEXT);
}

TEST_F(ToggleFeedbackTest, TheFirstChangedDialogueLineReplacesTheReason) {
    tool.world.setMarker(0.0f);
    tool.panel.userClicksToggle();
    ASSERT_NE(tool.panel.editText(), EARLIER_TEXT);

    tool.world.setMarker(1.0f);
    tool.world.say("韩菱纱：我们快走吧！");
    tool.panel.userClicksToggle();
    tool.overlay.timerFires();

    EXPECT_EQ(tool.panel.editText(), "韩菱纱：我们快走吧！");
}

// --- the game module ---

TEST(GameModuleMissingTest, TheOverlayOpensAndTheEditBoxSaysWhyNoLineWillCome) {
    SimulatedMachine machine;
    GameWorld otherModule("OIRAMLOOK2.DLL");
    ToolHarness tool(otherModule.game, machine.shell, machine.files);
    tool.panel.create();

    tool.panel.userClicksToggle();

    EXPECT_TRUE(tool.state.overlayShown);
    EXPECT_EQ(tool.panel.editText(), "找不到 OIRAMLOOK.DLL，读不到对白。");
}

TEST_F(ToggleFeedbackTest, AGameModuleThatIsThereSaysNothing) {
    tool.panel.userClicksToggle();
    EXPECT_TRUE(tool.state.overlayShown);
    EXPECT_EQ(tool.panel.editText(), EARLIER_TEXT);
}

// --- a window that could not be made ---

struct FailureCase {
    const char* name;
    CreateFailure failure;
    std::uint32_t markerBitsAfter; // what the game holds afterwards
    std::uint32_t switchBitsAfter;
    bool geometrySaved;
};

class OverlayNotCreatedTest : public ToggleFeedbackTest,
                              public ::testing::WithParamInterface<FailureCase> {};

TEST_P(OverlayNotCreatedTest, LeavesTheOverlayClosedAndTheGameAsAClosedOverlayLeavesIt) {
    const int replacementsBefore = tool.files.replacements();
    tool.overlay.failNextCreate(GetParam().failure);

    tool.panel.userClicksToggle();

    EXPECT_FALSE(tool.state.overlayShown);
    EXPECT_FALSE(tool.overlay.exists());
    EXPECT_EQ(tool.panel.toggleCaption(), "外挂字幕");
    EXPECT_EQ(tool.overlay.timerInterval(), 0u);
    EXPECT_EQ(tool.panel.editText(), "无法创建字幕窗口。");
    EXPECT_TRUE(tool.shell.messages().empty());
    EXPECT_EQ(markerBits(), GetParam().markerBitsAfter);
    EXPECT_EQ(switchBits(), GetParam().switchBitsAfter);
    EXPECT_EQ(tool.files.replacements() > replacementsBefore, GetParam().geometrySaved);
    EXPECT_TRUE(tool.world.game.allHandlesClosed());

    // The next press opens it for real, and closing it saves its geometry.
    tool.panel.userClicksToggle();
    EXPECT_TRUE(tool.state.overlayShown);
    EXPECT_EQ(tool.panel.toggleCaption(), "去除字幕");
    tool.overlay.userMovesWindow(33, 44);
    tool.panel.userClicksToggle();
    EXPECT_EQ(tool.saved("left"), "33");
    EXPECT_EQ(tool.saved("top"), "44");
}

INSTANTIATE_TEST_SUITE_P(
    Failures, OverlayNotCreatedTest,
    ::testing::Values(
        // Never opened: the game keeps what it had (marker 1.0, switch 1.0).
        FailureCase{"RefusedOutright", CreateFailure::Refused, 0x3F800000u, 0x3F800000u, false},
        // Opened inside, gone without a destruction: the toggle writes the values back.
        FailureCase{"LostAfterItsCreation", CreateFailure::LostAfterCreated, 0x43ED0000u,
                    0x3F800000u, false},
        // Closed while being made: the destruction wrote them back and saved the geometry.
        FailureCase{"ClosedWhileBeingMade", CreateFailure::ClosedWhileMaking, 0x43ED0000u,
                    0x3F800000u, true}),
    [](const ::testing::TestParamInfo<FailureCase>& param) {
        return std::string(param.param.name);
    });

// --- one box at a time ---

TEST_F(ToggleFeedbackTest, NeitherTheButtonNorTheHotKeyActsWhileTheBoxIsUp) {
    tool.world.setMarker(0.0f);
    int mostBoxesAtOnce = 0;
    tool.shell.whileShowing([&] {
        mostBoxesAtOnce = std::max(mostBoxesAtOnce, tool.shell.showing());
        if (tool.shell.showing() == 1) {
            tool.panel.userClicksToggle(); // would show a second box
            // The game is entered meanwhile, so a press that got through would open the overlay.
            tool.world.setMarker(1.0f);
            tool.panel.userPressesHotkey();
        }
    });

    tool.panel.userClicksToggle();

    EXPECT_EQ(mostBoxesAtOnce, 1);
    EXPECT_EQ(tool.shell.messages().size(), 1u);
    EXPECT_FALSE(tool.overlay.exists());
    EXPECT_FALSE(tool.state.overlayShown);

    // Once the box is gone the toggle answers again.
    tool.panel.userClicksToggle();
    EXPECT_TRUE(tool.state.overlayShown);
}

} // namespace
} // namespace pal4::testing
