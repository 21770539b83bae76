#include "capture/game_memory_map.hpp"

#include "game_world.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <optional>
#include <ostream>
#include <string>

namespace pal4 {
namespace {

using testing::GameWorld;

class GameChecksTest : public ::testing::Test {
protected:
    GameWorld world;
    AppState state;
    ProcessMemory memory{world.game};
    GameMemoryMap map{state, world.game, memory};
};

// --- the marker, read with its success told apart ---

struct MarkerReadCase {
    const char* name;
    GameAddress link;   // the pointer slot overwritten; 0 leaves the chain whole
    GameAddress target; // what it now points to
    std::optional<float> expected;
};

void PrintTo(const MarkerReadCase& c, std::ostream* os) {
    *os << c.name;
}

class MarkerReadTest : public GameChecksTest,
                       public ::testing::WithParamInterface<MarkerReadCase> {};

constexpr GameAddress UNMAPPED = 0x50000000;

TEST_P(MarkerReadTest, GivesTheMarkerOnlyWhenEveryLinkWasRead) {
    const MarkerReadCase& c = GetParam();
    world.setMarker(-1.0f); // the fail value itself, stored by the game
    if (c.link != 0) {
        world.game.pokeInt32(GameWorld::PID, c.link, GameWorld::asInt(c.target));
    }
    const std::optional<float> marker = map.readInGameMarker(GameWorld::PID);
    ASSERT_EQ(marker.has_value(), c.expected.has_value());
    if (marker) {
        EXPECT_EQ(std::bit_cast<std::uint32_t>(*marker), std::bit_cast<std::uint32_t>(*c.expected));
    }
    EXPECT_TRUE(world.game.allHandlesClosed());
    EXPECT_TRUE(world.game.writes().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Links, MarkerReadTest,
    ::testing::Values(MarkerReadCase{"WholeChain", 0, 0, -1.0f},
                      MarkerReadCase{"RootPointsNowhere", ROOT_POINTER_ADDRESS, UNMAPPED,
                                     std::nullopt},
                      MarkerReadCase{"RootIsNull", ROOT_POINTER_ADDRESS, 0, std::nullopt},
                      MarkerReadCase{"HubPointsNowhere", GameWorld::GAME_ROOT + HUB_OFFSET,
                                     UNMAPPED, std::nullopt},
                      MarkerReadCase{"WatchObjectPointsNowhere",
                                     GameWorld::HUB_OBJECT + WATCH_OFFSET, UNMAPPED, std::nullopt}),
    [](const ::testing::TestParamInfo<MarkerReadCase>& param) {
        return std::string(param.param.name);
    });

TEST_F(GameChecksTest, ABrokenLinkIsNotHiddenByReadableLowMemory) {
    // The root leads nowhere, so the hub read fails; the flow-on walk of isInGame continues
    // from -1, and -1 + WATCH_OFFSET is 0x33. With memory there that points to the watch object,
    // it reaches a real marker through a broken link.
    world.game.addRegion(GameWorld::PID, 0, 0x1000);
    world.game.pokeInt32(GameWorld::PID, WATCH_OFFSET - 1,
                         GameWorld::asInt(GameWorld::WATCH_OBJECT));
    world.game.pokeInt32(GameWorld::PID, ROOT_POINTER_ADDRESS, GameWorld::asInt(UNMAPPED));
    ASSERT_TRUE(map.isInGame(GameWorld::PID));
    EXPECT_EQ(map.readInGameMarker(GameWorld::PID), std::nullopt);
}

// --- is the game module listed ---

struct ModuleListCase {
    const char* name;
    const char* moduleName;
    bool textPointerReadable;
    bool snapshotsFail;
    bool listed;
    GameAddress textAddressAfter; // it was 0x1234 before
};

void PrintTo(const ModuleListCase& c, std::ostream* os) {
    *os << c.name;
}

class ModuleListedTest : public ::testing::TestWithParam<ModuleListCase> {};

TEST_P(ModuleListedTest, LocatingTheTextSaysWhetherTheModuleWasListed) {
    const ModuleListCase& c = GetParam();
    GameWorld world(c.moduleName, c.textPointerReadable);
    world.game.failSnapshots(c.snapshotsFail);
    AppState state;
    ProcessMemory memory{world.game};
    GameMemoryMap map{state, world.game, memory};
    state.textAddress = 0x1234;
    EXPECT_EQ(map.locateTextAddress(GameWorld::PID), c.listed);
    EXPECT_EQ(state.textAddress, c.textAddressAfter);
    EXPECT_TRUE(world.game.allHandlesClosed());
}

INSTANTIATE_TEST_SUITE_P(
    Lists, ModuleListedTest,
    ::testing::Values(
        ModuleListCase{"Listed", "OIRAMLOOK.DLL", true, false, true, GameWorld::TEXT_BUFFER},
        ModuleListCase{"ListedInLowerCase", "oiramlook.dll", true, false, true,
                       GameWorld::TEXT_BUFFER},
        // A failed pointer read still lands in textAddress as -1: the module was there.
        ModuleListCase{"ListedButPointerUnreadable", "OIRAMLOOK.DLL", false, false, true,
                       0xFFFFFFFFu},
        ModuleListCase{"AnotherModule", "OIRAMLOOK2.DLL", true, false, false, 0x1234},
        ModuleListCase{"NoSnapshot", "OIRAMLOOK.DLL", true, true, false, 0x1234}),
    [](const ::testing::TestParamInfo<ModuleListCase>& param) {
        return std::string(param.param.name);
    });

} // namespace
} // namespace pal4
