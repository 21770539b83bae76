#include "capture/overlay_lifecycle.hpp"

#include "capture_tool.hpp"
#include "overlay/overlay_constants.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <functional>
#include <string>

namespace pal4 {
namespace {

using testing::CaptureTool;
using testing::GameWorld;

class OverlayLifecycleTest : public ::testing::Test {
protected:
    std::uint32_t markerBits() const {
        return std::bit_cast<std::uint32_t>(
            tool.world.game.peekFloat32(GameWorld::PID, GameWorld::MARKER));
    }
    std::uint32_t switchBits() const {
        return static_cast<std::uint32_t>(
            tool.world.game.peekInt32(GameWorld::PID, GameWorld::OVERLAY_SWITCH));
    }
    std::string savedIni() const { return tool.files.file(tool.state.iniPath).value_or(""); }
    // How many file replacements one geometry save makes, measured on a store of its own.
    static int replacementsPerSave() {
        AppState other;
        other.iniPath = CaptureTool::INI_PATH;
        testing::FakeFileStore files;
        SettingsFile(other, files).saveGeometry();
        return files.replacements();
    }

    CaptureTool tool;
    const int replacementsAtStart = tool.files.replacements();
};

// --- refusal ---

struct RefusalCase {
    const char* name;
    std::function<void(GameWorld&)> makeGameUnready;
};

class RefusalTest : public OverlayLifecycleTest,
                    public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(RefusalTest, ShowsTheMessageAndLeavesTheOverlayClosed) {
    GetParam().makeGameUnready(tool.world);
    tool.panel.userClicksToggle();

    ASSERT_EQ(tool.shell.messages().size(), 1u);
    EXPECT_EQ(tool.shell.messages()[0].text, "请先进入仙剑4");
    EXPECT_EQ(tool.shell.messages()[0].title, "提示");
    EXPECT_EQ(tool.shell.messages()[0].flags, 0x1000u);
    EXPECT_FALSE(tool.overlay.exists());
    EXPECT_FALSE(tool.state.overlayShown);
    EXPECT_EQ(tool.panel.toggleCaption(), "外挂字幕");
    EXPECT_EQ(tool.panel.toggleCaptionWrites(), 0);
    EXPECT_TRUE(tool.world.game.writes().empty());
    EXPECT_EQ(tool.files.replacements(), replacementsAtStart);
}

INSTANTIATE_TEST_SUITE_P(
    Games, RefusalTest,
    ::testing::Values(RefusalCase{"NoGameRunning",
                                  [](GameWorld& world) { world.game.exitProcess(GameWorld::PID); }},
                      RefusalCase{"NoGameInProgress",
                                  [](GameWorld& world) { world.setMarker(0.0f); }},
                      RefusalCase{"GameStillLoading",
                                  [](GameWorld& world) {
                                      world.game.pokeInt32(GameWorld::PID, ROOT_POINTER_ADDRESS, 0);
                                  }}),
    [](const ::testing::TestParamInfo<RefusalCase>& param) {
        return std::string(param.param.name);
    });

TEST_F(OverlayLifecycleTest, TheGameIsLookedUpOnEveryClick) {
    tool.world.game.exitProcess(GameWorld::PID);
    tool.panel.userClicksToggle();
    EXPECT_EQ(tool.state.gamePid, 0u);
    tool.world.game.addProcess(7, "PAL4.EXE");
    tool.panel.userClicksToggle();
    EXPECT_EQ(tool.state.gamePid, 7u);
}

// --- opening ---

TEST_F(OverlayLifecycleTest, OpeningWritesTheOpenValuesAndStartsPolling) {
    tool.panel.userClicksToggle();

    EXPECT_TRUE(tool.overlay.exists());
    EXPECT_TRUE(tool.state.overlayShown);
    EXPECT_EQ(tool.panel.toggleCaption(), "去除字幕");
    EXPECT_EQ(markerBits(), 0x45942000u); // 4740.0
    EXPECT_EQ(switchBits(), 0u);
    EXPECT_EQ(tool.overlay.timerInterval(), 100u);
    EXPECT_EQ(tool.overlay.label().text, " ");
    EXPECT_EQ(tool.overlay.colorKey(), OVERLAY_COLOR_KEY);
    EXPECT_EQ(tool.state.blankFlagAddress, GameWorld::BLANK_FLAG);
    EXPECT_EQ(tool.state.textAddress, GameWorld::TEXT_BUFFER);
    EXPECT_TRUE(tool.shell.messages().empty());
    EXPECT_TRUE(tool.world.game.allHandlesClosed());
}

TEST_F(OverlayLifecycleTest, OpeningStylesAndPlacesTheWindowFromTheSettings) {
    tool.panel.setChecked(CheckBox::Bold, true);
    tool.panel.setChecked(CheckBox::Centre, true);
    tool.panel.userClicksToggle();

    const auto& label = tool.overlay.label();
    EXPECT_EQ(label.fontFace, "黑体");
    EXPECT_EQ(label.fontSize, 36);
    EXPECT_EQ(label.textColor, 0x00336699u);
    EXPECT_TRUE(label.bold);
    EXPECT_FALSE(label.italic);
    EXPECT_TRUE(label.shadowed);
    EXPECT_EQ(label.alignment, TextAlignment::Centred);
    EXPECT_EQ(label.width, 900);
    EXPECT_EQ(label.height, 120);
    EXPECT_EQ(tool.overlay.windowWidth(), 900);
    EXPECT_EQ(tool.overlay.windowHeight(), 120);
    EXPECT_EQ(tool.overlay.windowLeft(), 12);
    EXPECT_EQ(tool.overlay.windowTop(), 640);
}

TEST_F(OverlayLifecycleTest, OpeningStepsComeInTheirOrder) {
    tool.panel.userClicksToggle();
    const std::vector<std::string> expected{
        "create",           "makeColorKeyed",    "setClickThrough",   "setLabelFontFace",
        "setLabelFontSize", "setLabelTextColor", "setLabelBold",      "setLabelItalic",
        "setLabelShadow",   "setLabelOutline",   "setLabelAlignment", "setWindowSize",
        "setLabelSize",     "setWindowPosition", "setLabelText",      "setTimerInterval"};
    EXPECT_EQ(tool.overlay.calls(), expected);
}

TEST_F(OverlayLifecycleTest, ThePlacementMovesHappenWhileSettingUp) {
    tool.panel.userClicksToggle();
    ASSERT_FALSE(tool.moves.empty());
    for (const testing::SeenMove& move : tool.moves) {
        EXPECT_TRUE(move.settingUp);
    }
    EXPECT_FALSE(tool.state.overlaySettingUp);
    tool.overlay.userMovesWindow(300, 400);
    EXPECT_FALSE(tool.moves.back().settingUp);
}

TEST_F(OverlayLifecycleTest, DebugModeShowsTheSampleAndDoesNotPoll) {
    tool.panel.setChecked(CheckBox::Debug, true);
    tool.world.say("甲：乙");
    tool.panel.userClicksToggle();

    EXPECT_EQ(tool.overlay.label().text, DEBUG_SAMPLE_TEXT);
    EXPECT_EQ(tool.overlay.label().text.size(), 432u);
    EXPECT_EQ(tool.overlay.timerInterval(), 0u);
    EXPECT_EQ(markerBits(), 0x45942000u);
    EXPECT_EQ(switchBits(), 0u);
    tool.overlay.timerFires();
    EXPECT_EQ(tool.overlay.label().text, DEBUG_SAMPLE_TEXT);
}

TEST_F(OverlayLifecycleTest, TheFirstTickShowsTheLine) {
    tool.world.say("张三：你好");
    tool.panel.userClicksToggle();
    tool.overlay.timerFires();
    EXPECT_EQ(tool.overlay.label().text, "你好");
    EXPECT_EQ(tool.panel.editText(), "张三：你好");
}

TEST_F(OverlayLifecycleTest, ReopeningShowsTheCurrentLineAtTheFirstTick) {
    tool.world.say("张三：你好");
    tool.panel.userClicksToggle();
    tool.overlay.timerFires();
    tool.panel.userClicksToggle(); // close
    tool.panel.userClicksToggle(); // open again; the game's buffer has not changed
    EXPECT_EQ(tool.overlay.label().text, " ");
    tool.overlay.timerFires();
    EXPECT_EQ(tool.overlay.label().text, "你好");
}

TEST_F(OverlayLifecycleTest, WithoutTheGameModuleTheLastTextAddressIsKept) {
    tool.panel.userClicksToggle();
    tool.panel.userClicksToggle();
    tool.world.game.failModuleWalkAfter(0);
    tool.world.game.pokeInt32(GameWorld::PID, GameWorld::TEXT_SLOT, 0x12345678);
    tool.panel.userClicksToggle();
    EXPECT_TRUE(tool.state.overlayShown);
    EXPECT_EQ(tool.state.textAddress, GameWorld::TEXT_BUFFER);
}

// --- closing ---

struct ClosingCase {
    const char* name;
    std::function<void(CaptureTool&)> close;
    bool panelRemains;
};

class ClosingTest : public OverlayLifecycleTest,
                    public ::testing::WithParamInterface<ClosingCase> {};

TEST_P(ClosingTest, RestoresTheGameAndSavesTheGeometryOnce) {
    const int perSave = replacementsPerSave();
    ASSERT_GT(perSave, 0);
    tool.panel.userClicksToggle();
    ASSERT_TRUE(tool.state.overlayShown);
    tool.overlay.userMovesWindow(-30, 700);
    const int captionWrites = tool.panel.toggleCaptionWrites();

    GetParam().close(tool);

    EXPECT_FALSE(tool.overlay.exists());
    EXPECT_FALSE(tool.state.overlayShown);
    EXPECT_EQ(tool.overlay.timerInterval(), 0u);
    EXPECT_EQ(markerBits(), 0x43ED0000u); // 474.0
    EXPECT_EQ(switchBits(), 0x3F800000u);
    EXPECT_EQ(tool.files.replacements() - replacementsAtStart, perSave);
    const std::string ini = savedIni();
    EXPECT_NE(ini.find("left=-30"), std::string::npos) << ini;
    EXPECT_NE(ini.find("top=700"), std::string::npos) << ini;
    EXPECT_NE(ini.find("width=900"), std::string::npos) << ini;
    EXPECT_NE(ini.find("height=120"), std::string::npos) << ini;
    if (GetParam().panelRemains) {
        EXPECT_EQ(tool.panel.toggleCaption(), "外挂字幕");
    } else {
        EXPECT_EQ(tool.panel.toggleCaptionWrites(), captionWrites);
        EXPECT_EQ(tool.panel.toggleCaption(), "去除字幕");
    }
    EXPECT_TRUE(tool.world.game.allHandlesClosed());
}

INSTANTIATE_TEST_SUITE_P(
    Ways, ClosingTest,
    ::testing::Values(
        ClosingCase{"Toggle", [](CaptureTool& tool) { tool.panel.userClicksToggle(); }, true},
        ClosingCase{"Escape", [](CaptureTool& tool) { tool.overlay.userPressesEscape(); }, true},
        ClosingCase{"PanelClosing", [](CaptureTool& tool) { tool.panel.destroy(); }, false}),
    [](const ::testing::TestParamInfo<ClosingCase>& param) {
        return std::string(param.param.name);
    });

TEST_F(OverlayLifecycleTest, ClosingAfterEscapeNeedsOneClickToOpenAgain) {
    tool.panel.userClicksToggle();
    tool.overlay.userPressesEscape();
    tool.panel.userClicksToggle();
    EXPECT_TRUE(tool.overlay.exists());
    EXPECT_TRUE(tool.state.overlayShown);
}

TEST_F(OverlayLifecycleTest, TheToggleClosesTheOverlayAfterTheGameHasExited) {
    tool.world.say("甲：乙");
    tool.panel.userClicksToggle();
    tool.overlay.timerFires();
    tool.world.game.exitProcess(GameWorld::PID);
    tool.overlay.timerFires();
    EXPECT_EQ(tool.overlay.label().text, "");

    tool.panel.userClicksToggle();
    EXPECT_FALSE(tool.overlay.exists());
    EXPECT_EQ(tool.state.gamePid, 0u);
    EXPECT_EQ(tool.panel.toggleCaption(), "外挂字幕");
    EXPECT_TRUE(tool.shell.messages().empty());
    EXPECT_NE(savedIni().find("left=12"), std::string::npos);
    EXPECT_EQ(tool.world.game.writes().size(), 2u); // the opening's; the restoring ones failed
    EXPECT_TRUE(tool.world.game.allHandlesClosed());
}

} // namespace
} // namespace pal4
