#include "capture/game_memory_map.hpp"

#include "game_world.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <string>

namespace pal4 {
namespace {

using testing::GameWorld;

class GameMemoryMapTest : public ::testing::Test {
protected:
    GameWorld world;
    AppState state;
    ProcessMemory memory{world.game};
    GameMemoryMap map{state, world.game, memory};

    std::uint32_t bitsAt(GameAddress address) const {
        return static_cast<std::uint32_t>(world.game.peekInt32(GameWorld::PID, address));
    }
};

// --- the in-game test ---

struct MarkerCase {
    const char* name;
    float marker;
    bool inGame;
};

class InGameMarkerTest : public GameMemoryMapTest,
                         public ::testing::WithParamInterface<MarkerCase> {};

TEST_P(InGameMarkerTest, CountsOnlyAMarkerAboveTheThreshold) {
    world.setMarker(GetParam().marker);
    EXPECT_EQ(map.isInGame(GameWorld::PID), GetParam().inGame);
}

const float kThresholdSingle = static_cast<float>(IN_GAME_THRESHOLD);

INSTANTIATE_TEST_SUITE_P(
    Markers, InGameMarkerTest,
    ::testing::Values(MarkerCase{"Zero", 0.0f, false}, MarkerCase{"MinusOne", -1.0f, false},
                      MarkerCase{"ExactlyTheThreshold", kThresholdSingle, false},
                      MarkerCase{"NaN", std::numeric_limits<float>::quiet_NaN(), false},
                      MarkerCase{"JustAboveTheThreshold", std::nextafter(kThresholdSingle, 1.0f),
                                 true},
                      MarkerCase{"OneMillionth", 1e-06f, true},
                      MarkerCase{"ClosedValue", 474.0f, true},
                      MarkerCase{"Infinity", std::numeric_limits<float>::infinity(), true}),
    [](const ::testing::TestParamInfo<MarkerCase>& param) {
        return std::string(param.param.name);
    });

TEST_F(GameMemoryMapTest, NoGameIsNotInGameAndTouchesNothing) {
    EXPECT_FALSE(map.isInGame(0));
    map.applyOverlayValues(0);
    map.restoreGameValues(0);
    EXPECT_TRUE(world.game.writes().empty());
    EXPECT_EQ(bitsAt(GameWorld::MARKER), std::bit_cast<std::uint32_t>(1.0f));
}

// --- chains ---

TEST_F(GameMemoryMapTest, ResolvesTheChainsFromTheRootPointer) {
    EXPECT_EQ(map.resolveWatchObject(GameWorld::PID), GameWorld::WATCH_OBJECT);
    EXPECT_EQ(map.resolveSwitchObject(GameWorld::PID), GameWorld::SWITCH_OBJECT);
    EXPECT_EQ(map.blankFlagAddressOf(GameWorld::PID), GameWorld::BLANK_FLAG);
}

TEST_F(GameMemoryMapTest, APointerAtTheTopOfTheAddressSpaceWrapsAround) {
    // 0xFFFFFF00 + 0x1B4 is 0x000000B4 in 32 bits.
    world.game.addRegion(GameWorld::PID, 0, 0x1000);
    world.game.pokeInt32(GameWorld::PID, ROOT_POINTER_ADDRESS, GameWorld::asInt(0xFFFFFF00));
    world.game.pokeInt32(GameWorld::PID, 0xB4, GameWorld::asInt(GameWorld::HUB_OBJECT));
    EXPECT_EQ(map.resolveWatchObject(GameWorld::PID), GameWorld::WATCH_OBJECT);
}

TEST_F(GameMemoryMapTest, PointersAboveTwoGigabytesAreAddressesNotFailures) {
    constexpr GameAddress highHub = 0x80001000;
    world.game.addRegion(GameWorld::PID, highHub, 0x1000);
    world.game.pokeInt32(GameWorld::PID, GameWorld::GAME_ROOT + HUB_OFFSET,
                         GameWorld::asInt(highHub));
    world.game.pokeInt32(GameWorld::PID, highHub + WATCH_OFFSET,
                         GameWorld::asInt(GameWorld::WATCH_OBJECT));
    world.game.pokeInt32(GameWorld::PID, highHub + SWITCH_OFFSET,
                         GameWorld::asInt(GameWorld::SWITCH_OBJECT));

    EXPECT_TRUE(map.isInGame(GameWorld::PID));
    map.applyOverlayValues(GameWorld::PID);
    EXPECT_EQ(world.game.peekFloat32(GameWorld::PID, GameWorld::MARKER), OPEN_MARKER_VALUE);
    EXPECT_EQ(bitsAt(GameWorld::OVERLAY_SWITCH), 0u);
}

// A pointer that leads into free memory: the read through it fails and yields -1.
struct BrokenLinkCase {
    const char* name;
    GameAddress slot; // where the stray pointer is stored
};

class BrokenChainTest : public GameMemoryMapTest,
                        public ::testing::WithParamInterface<BrokenLinkCase> {};

TEST_P(BrokenChainTest, AimsTheWritesBelow0x200WhereTheyFail) {
    world.game.pokeInt32(GameWorld::PID, GetParam().slot, GameWorld::asInt(0x0BAD0000));
    world.game.clearRecords();

    EXPECT_FALSE(map.isInGame(GameWorld::PID));
    EXPECT_EQ(map.readBlankFlag(GameWorld::PID, map.blankFlagAddressOf(GameWorld::PID)),
              BLANK_FLAG_FAIL_VALUE);
    map.applyOverlayValues(GameWorld::PID);
    map.restoreGameValues(GameWorld::PID);

    EXPECT_TRUE(world.game.writes().empty());
    ASSERT_EQ(world.game.failedWrites().size(), 4u);
    for (const auto& write : world.game.failedWrites()) {
        EXPECT_LT(write.address, 0x200u);
    }
    EXPECT_EQ(world.game.peekFloat32(GameWorld::PID, GameWorld::MARKER), 1.0f);
    EXPECT_EQ(world.game.peekFloat32(GameWorld::PID, GameWorld::OVERLAY_SWITCH), 1.0f);
    EXPECT_TRUE(world.game.allHandlesClosed());
}

INSTANTIATE_TEST_SUITE_P(Links, BrokenChainTest,
                         ::testing::Values(BrokenLinkCase{"GameRoot", ROOT_POINTER_ADDRESS},
                                           BrokenLinkCase{"HubObject",
                                                          GameWorld::GAME_ROOT + HUB_OFFSET}),
                         [](const ::testing::TestParamInfo<BrokenLinkCase>& param) {
                             return std::string(param.param.name);
                         });

TEST_F(GameMemoryMapTest, AFailedPointerReadContinuesFromMinusOne) {
    // The hub object lies in free memory: reading the watch and switch objects from it fails,
    // each yields -1, and the field offset is added to that.
    world.game.pokeInt32(GameWorld::PID, GameWorld::GAME_ROOT + HUB_OFFSET,
                         GameWorld::asInt(0x0BAD0000));
    EXPECT_EQ(map.blankFlagAddressOf(GameWorld::PID), BLANK_OFFSET - 1);
    map.restoreGameValues(GameWorld::PID);
    ASSERT_EQ(world.game.failedWrites().size(), 2u);
    EXPECT_EQ(world.game.failedWrites()[0].address, MARKER_OFFSET - 1);
    EXPECT_EQ(world.game.failedWrites()[1].address, SWITCH_FIELD_OFFSET - 1);
}

// --- the values written into the game ---

TEST_F(GameMemoryMapTest, OpeningWritesTheOpenMarkerThenTheSwitch) {
    world.game.clearRecords();
    map.applyOverlayValues(GameWorld::PID);
    ASSERT_EQ(world.game.writes().size(), 2u);
    EXPECT_EQ(world.game.writes()[0].address, GameWorld::MARKER);
    EXPECT_EQ(world.game.writes()[1].address, GameWorld::OVERLAY_SWITCH);
    EXPECT_EQ(bitsAt(GameWorld::MARKER), 0x45942000u);
    EXPECT_EQ(bitsAt(GameWorld::OVERLAY_SWITCH), 0u);
}

TEST_F(GameMemoryMapTest, ClosingWritesFixedValuesWhateverTheGameHeld) {
    world.game.pokeFloat32(GameWorld::PID, GameWorld::MARKER, 12.5f);
    world.game.pokeInt32(GameWorld::PID, GameWorld::OVERLAY_SWITCH, 77);
    world.game.clearRecords();
    map.restoreGameValues(GameWorld::PID);
    ASSERT_EQ(world.game.writes().size(), 2u);
    EXPECT_EQ(world.game.writes()[0].address, GameWorld::MARKER);
    EXPECT_EQ(bitsAt(GameWorld::MARKER), 0x43ED0000u);
    EXPECT_EQ(bitsAt(GameWorld::OVERLAY_SWITCH), 0x3F800000u);
}

// --- the module search ---

struct ModuleNameCase {
    const char* name;
    const char* moduleName;
    bool matches;
};

class ModuleNameTest : public ::testing::TestWithParam<ModuleNameCase> {};

TEST_P(ModuleNameTest, MatchesTheGameModuleInAnyLetterCaseOnly) {
    GameWorld world(GetParam().moduleName);
    AppState state;
    state.textAddress = 0x1234; // found at an earlier opening
    ProcessMemory memory{world.game};
    GameMemoryMap map{state, world.game, memory};

    map.locateTextAddress(GameWorld::PID);

    EXPECT_EQ(state.textAddress, GetParam().matches ? GameWorld::TEXT_BUFFER : 0x1234u);
    EXPECT_EQ(world.game.snapshotsCreated(), 1u);
    EXPECT_TRUE(world.game.allHandlesClosed());
}

INSTANTIATE_TEST_SUITE_P(Names, ModuleNameTest,
                         ::testing::Values(ModuleNameCase{"UpperCase", "OIRAMLOOK.DLL", true},
                                           ModuleNameCase{"LowerCase", "oiramlook.dll", true},
                                           ModuleNameCase{"MixedCase", "OiramLook.dll", true},
                                           ModuleNameCase{"LongerName", "OIRAMLOOK.DLL.BAK", false},
                                           ModuleNameCase{"LongerNameInLowerCase", "oiramlook.dlls",
                                                          false},
                                           ModuleNameCase{"ShorterName", "OIRAMLOOK.DL", false},
                                           ModuleNameCase{"EmptyName", "", false}),
                         [](const ::testing::TestParamInfo<ModuleNameCase>& param) {
                             return std::string(param.param.name);
                         });

TEST_F(GameMemoryMapTest, TheModuleSnapshotIsOfTheGameProcess) {
    map.locateTextAddress(GameWorld::PID);
    ASSERT_EQ(world.game.snapshotRequests().size(), 1u);
    EXPECT_EQ(world.game.snapshotRequests()[0].flags, TH32CS_SNAPMODULE_FLAG);
    EXPECT_EQ(world.game.snapshotRequests()[0].processId, GameWorld::PID);
    EXPECT_EQ(state.textAddress, GameWorld::TEXT_BUFFER);
}

TEST_F(GameMemoryMapTest, TheFirstMatchingModuleWins) {
    constexpr GameAddress otherBase = 0x40000000;
    world.game.addRegion(GameWorld::PID, otherBase, GameWorld::MODULE_SIZE);
    world.game.pokeInt32(GameWorld::PID, otherBase + TEXT_POINTER_OFFSET, 0x5678);
    world.game.addModule(GameWorld::PID, {"oiramlook.dll", otherBase, GameWorld::MODULE_SIZE, ""});
    map.locateTextAddress(GameWorld::PID);
    EXPECT_EQ(state.textAddress, GameWorld::TEXT_BUFFER);
}

TEST_F(GameMemoryMapTest, AnUnreadableTextPointerGivesAnAddressWhereNothingReads) {
    GameWorld unreadable(GAME_MODULE_NAME, /*textPointerReadable=*/false);
    ProcessMemory unreadableMemory{unreadable.game};
    GameMemoryMap unreadableMap{state, unreadable.game, unreadableMemory};
    unreadableMap.locateTextAddress(GameWorld::PID);
    EXPECT_EQ(state.textAddress, 0xFFFFFFFFu);
    EXPECT_EQ(unreadableMap.readDialogueText(GameWorld::PID, state.textAddress), "");
}

struct WalkFailureCase {
    const char* name;
    bool snapshotFails;
    std::size_t entriesBeforeFailure;
};

class ModuleWalkFailureTest : public GameMemoryMapTest,
                              public ::testing::WithParamInterface<WalkFailureCase> {};

TEST_P(ModuleWalkFailureTest, KeepsThePreviousTextAddressAndLeavesNoHandleOpen) {
    state.textAddress = 0x1234;
    world.game.failSnapshots(GetParam().snapshotFails);
    world.game.failModuleWalkAfter(GetParam().entriesBeforeFailure);
    map.locateTextAddress(GameWorld::PID);
    EXPECT_EQ(state.textAddress, 0x1234u);
    EXPECT_TRUE(world.game.allHandlesClosed());
    EXPECT_EQ(world.game.snapshotsClosed(), world.game.snapshotsCreated());
}

INSTANTIATE_TEST_SUITE_P(Failures, ModuleWalkFailureTest,
                         ::testing::Values(WalkFailureCase{"NoSnapshot", true, 0},
                                           WalkFailureCase{"FirstCallFails", false, 0},
                                           WalkFailureCase{"FailsBeforeTheGameModule", false, 1}),
                         [](const ::testing::TestParamInfo<WalkFailureCase>& param) {
                             return std::string(param.param.name);
                         });

TEST_F(GameMemoryMapTest, NoGameListsNoModules) {
    state.textAddress = 0x1234;
    map.locateTextAddress(0);
    EXPECT_EQ(state.textAddress, 0x1234u);
    EXPECT_TRUE(world.game.allHandlesClosed());
}

// --- the poller's reads ---

TEST_F(GameMemoryMapTest, TheBlankFlagReadsAsSetWhenUnreadable) {
    world.setBlank(false);
    EXPECT_EQ(map.readBlankFlag(GameWorld::PID, GameWorld::BLANK_FLAG), 0);
    world.game.pokeByte(GameWorld::PID, GameWorld::BLANK_FLAG, 0xFF);
    EXPECT_EQ(map.readBlankFlag(GameWorld::PID, GameWorld::BLANK_FLAG), 0xFF);
    EXPECT_EQ(map.readBlankFlag(GameWorld::PID, 0x0BAD0000), BLANK_FLAG_FAIL_VALUE);
    EXPECT_EQ(map.readBlankFlag(0, GameWorld::BLANK_FLAG), BLANK_FLAG_FAIL_VALUE);
}

TEST_F(GameMemoryMapTest, TheDialogueIsTheTextUpToItsZeroByte) {
    world.say("甲：乙");
    EXPECT_EQ(map.readDialogueText(GameWorld::PID, GameWorld::TEXT_BUFFER), "甲：乙");
    EXPECT_EQ(map.readDialogueText(GameWorld::PID, 0x0BAD0000), "");
}

} // namespace
} // namespace pal4
