// The tool's view of the game (process lookup, the pointer chains, the module search, the
// values written) against the simulated game running as a real process under Windows or Wine.
#include "gameproc/process_locator.hpp"
#include "simgame_session.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <optional>
#include <string>

namespace pal4::win32test {
namespace {

std::string moduleNameOf(const ModuleEntry& entry) {
    return std::string(entry.moduleName.data(),
                       strnlen(entry.moduleName.data(), entry.moduleName.size()));
}

// The names of the game's modules as the port lists them.
std::vector<std::string> moduleNames(GameProcessPort& port, ProcessId pid) {
    std::vector<std::string> names;
    const PortHandle snapshot = port.createSnapshot(TH32CS_SNAPMODULE_FLAG, pid);
    ModuleEntry entry;
    entry.size = MODULE_ENTRY_SIZE;
    for (bool more = port.firstModule(snapshot, entry); more;
         more = port.nextModule(snapshot, entry)) {
        names.push_back(moduleNameOf(entry));
    }
    port.closeHandle(snapshot);
    return names;
}

class RunningGame : public ::testing::Test {
protected:
    pal4sim::SimGame game{simgameLaunch()};
    RealGameMap rig;
    ProcessId pid = game.processId();
};

TEST_F(RunningGame, IsFoundByItsExecutableNameInAnyLetterCase) {
    EXPECT_EQ(findProcessId(rig.port, "Pal4.exe"), pid);
    EXPECT_EQ(findProcessId(rig.port, "PAL4.EXE"), pid);
    EXPECT_EQ(findProcessId(rig.port, "Pal4"), 0u);
}

TEST_F(RunningGame, IsNoLongerFoundOnceItHasEnded) {
    game.stop();
    EXPECT_EQ(findProcessId(rig.port, "Pal4.exe"), 0u);
}

TEST_F(RunningGame, ChainsLeadToTheGamesObjects) {
    EXPECT_EQ(rig.game.resolveWatchObject(pid), pal4sim::WATCH_OBJECT_ADDRESS);
    EXPECT_EQ(rig.game.resolveSwitchObject(pid), pal4sim::SWITCH_OBJECT_ADDRESS);
    EXPECT_EQ(rig.game.blankFlagAddressOf(pid), pal4sim::BLANK_FLAG_ADDRESS);
}

TEST_F(RunningGame, IsNotInGameOnItsTitleScreen) {
    EXPECT_FALSE(rig.game.isInGame(pid));
}

TEST_F(RunningGame, OpeningWritesTheOverlayValuesAndClosingRestoresTheGamesOwn) {
    ASSERT_TRUE(game.setMarker(pal4sim::PLAYING_MARKER));

    rig.game.applyOverlayValues(pid);
    auto report = game.report();
    ASSERT_TRUE(report);
    EXPECT_EQ(report->markerBits, 0x45942000u);
    EXPECT_EQ(report->switchBits, 0u);
    EXPECT_TRUE(rig.game.isInGame(pid));

    rig.game.restoreGameValues(pid);
    report = game.report();
    ASSERT_TRUE(report);
    EXPECT_EQ(report->markerBits, 0x43ED0000u);
    EXPECT_EQ(report->switchBits, 0x3F800000u);
}

TEST_F(RunningGame, WritesAimedAtAnEndedGameFailQuietly) {
    game.stop();
    rig.game.applyOverlayValues(pid);
    rig.game.restoreGameValues(pid);
    EXPECT_FALSE(rig.game.isInGame(pid));
}

TEST_F(RunningGame, DialogueTextReadsUpToItsTerminatingZero) {
    rig.game.locateTextAddress(pid);
    ASSERT_TRUE(game.setText("张三：一句很长很长的话"));
    ASSERT_TRUE(game.setText("李四：短"));
    EXPECT_EQ(rig.game.readDialogueText(pid, rig.state.textAddress), "李四：短");
}

struct MarkerCase {
    const char* name;
    float marker;
    bool inGame;
};

class InGameMarker : public RunningGame, public ::testing::WithParamInterface<MarkerCase> {};

TEST_P(InGameMarker, DecidesWhetherAGameIsInProgress) {
    ASSERT_TRUE(game.setMarker(GetParam().marker));
    EXPECT_EQ(rig.game.isInGame(pid), GetParam().inGame);
}

INSTANTIATE_TEST_SUITE_P(
    Values, InGameMarker,
    ::testing::Values(MarkerCase{"Zero", 0.0f, false}, MarkerCase{"MinusOne", -1.0f, false},
                      MarkerCase{"NaN", std::numeric_limits<float>::quiet_NaN(), false},
                      MarkerCase{"Tiny", 1e-6f, true}, MarkerCase{"Playing", 474.0f, true},
                      MarkerCase{"OverlayOpen", 4740.0f, true}),
    [](const ::testing::TestParamInfo<MarkerCase>& marker) {
        return std::string(marker.param.name);
    });

// The module search folds letter case: the module loaded from a lower-case file name is listed
// under that name and is found all the same.
struct ModuleCase {
    const char* name;
    bool lowerCaseFile;
    const char* listedAs;
};

class DialogueModule : public ::testing::TestWithParam<ModuleCase> {
protected:
    static pal4sim::SimGameLaunch launch() {
        pal4sim::SimGameLaunch launch = simgameLaunch();
        if (GetParam().lowerCaseFile) {
            launch.dialogueModule = lowerCaseModulePath();
        }
        return launch;
    }

    pal4sim::SimGame game{launch()};
    RealGameMap rig;
};

TEST_P(DialogueModule, AnchorsTheTextAddress) {
    const ProcessId pid = game.processId();
    const auto names = moduleNames(rig.port, pid);
    ASSERT_NE(std::find(names.begin(), names.end(), GetParam().listedAs), names.end());
    const auto report = game.report();
    ASSERT_TRUE(report);
    ASSERT_NE(report->textPointer, 0u);

    rig.game.locateTextAddress(pid);

    EXPECT_EQ(rig.state.textAddress, report->textPointer);
    ASSERT_TRUE(game.setText("甲：乙"));
    EXPECT_EQ(rig.game.readDialogueText(pid, rig.state.textAddress), "甲：乙");
}

INSTANTIATE_TEST_SUITE_P(FileNames, DialogueModule,
                         ::testing::Values(ModuleCase{"UpperCase", false, "OIRAMLOOK.DLL"},
                                           ModuleCase{"LowerCase", true, "oiramlook.dll"}),
                         [](const ::testing::TestParamInfo<ModuleCase>& module) {
                             return std::string(module.param.name);
                         });

TEST(EndedGame, KeepsTheTextAddressOfThePreviousOpening) {
    RealGameMap rig;
    ProcessId pid = 0;
    {
        pal4sim::SimGame game{simgameLaunch()};
        pid = game.processId();
        rig.game.locateTextAddress(pid);
    }
    const GameAddress found = rig.state.textAddress;
    ASSERT_NE(found, 0u);
    rig.game.locateTextAddress(pid);
    EXPECT_EQ(rig.state.textAddress, found);
}

// A text that fills its region has no terminating zero: the read stops at the region's end.
TEST(TextRegion, TextRunsToTheRegionsEndWithoutTerminatingZero) {
    pal4sim::SimGameLaunch launch = simgameLaunch();
    launch.textRegionSize = 4096;
    pal4sim::SimGame game{launch};
    ToolOverRunningGame rig;
    ASSERT_TRUE(game.setMarker(pal4sim::PLAYING_MARKER));
    ASSERT_TRUE(rig.openOverlay());
    RealGameMap map;
    map.game.locateTextAddress(game.processId());
    const auto report = game.report();
    ASSERT_TRUE(report);
    ASSERT_EQ(report->textRegionSize, 4096u);

    std::string filling = "甲：";
    while (filling.size() < 4096) {
        filling += "乙";
    }
    ASSERT_EQ(game.setText(filling), 4096u);

    EXPECT_EQ(map.game.readDialogueText(game.processId(), map.state.textAddress), filling);
    EXPECT_EQ(map.memory.readTextWholeRegion(game.processId(), map.state.textAddress), filling);
    rig.overlay.timerFires();
    EXPECT_EQ(rig.overlay.label().text, filling.substr(4));
}

} // namespace
} // namespace pal4::win32test
