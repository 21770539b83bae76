// The simulated process stands in for Windows in every test of the game access; these cases pin
// the platform behaviour it must reproduce.
#include "fakes/simulated_game_process.hpp"

#include <gtest/gtest.h>

#include <stdexcept>

namespace pal4::testing {
namespace {

constexpr ProcessId PID = 4242;

class SimulatedGameProcessTest : public ::testing::Test {
protected:
    SimulatedGameProcessTest() {
        game.addProcess(PID, "Pal4.exe");
        game.addRegion(PID, 0x10000, 0x2000);
        game.addRegion(PID, 0x12000, 0x1000, RegionState::ReadOnly);
        game.addRegion(PID, 0x20000, 0x1000, RegionState::Reserved);
        game.addRegion(PID, 0x30000, 0x1000, RegionState::NoAccess);
    }

    bool read(GameAddress address, std::size_t size) {
        const PortHandle process = game.openProcess(GAME_PROCESS_ACCESS, PID);
        std::vector<std::byte> buffer(size);
        const bool ok = game.readMemory(process, address, buffer);
        game.closeHandle(process);
        return ok;
    }
    bool write(GameAddress address, std::size_t size) {
        const PortHandle process = game.openProcess(GAME_PROCESS_ACCESS, PID);
        const std::vector<std::byte> bytes(size, std::byte{7});
        const bool ok = game.writeMemory(process, address, bytes);
        game.closeHandle(process);
        return ok;
    }

    SimulatedGameProcess game;
};

struct AccessCase {
    GameAddress address;
    std::size_t size;
    bool readable;
    bool writable;
};

TEST_F(SimulatedGameProcessTest, AccessFollowsRegionStates) {
    const AccessCase cases[] = {
        {0x10000, 4, true, true},   // committed
        {0x11FFE, 4, true, false},  // spans committed into read-only
        {0x12000, 4, true, false},  // read-only
        {0x12FFE, 4, false, false}, // runs off the end into free memory
        {0x13000, 1, false, false}, // free
        {0x20000, 1, false, false}, // reserved
        {0x30000, 1, false, false}, // no access
        {0x0, 1, false, false},     // null page
    };
    for (const AccessCase& c : cases) {
        SCOPED_TRACE(c.address);
        EXPECT_EQ(read(c.address, c.size), c.readable);
        EXPECT_EQ(write(c.address, c.size), c.writable);
    }
    EXPECT_TRUE(game.allHandlesClosed());
}

TEST_F(SimulatedGameProcessTest, HugeRegionsStoreOnlyPokedBytes) {
    game.addRegion(PID, 0x40000000, 512u << 20);
    game.pokeInt32(PID, 0x40000000 + (300u << 20), 0x01020304);
    EXPECT_EQ(game.peekInt32(PID, 0x40000000 + (300u << 20)), 0x01020304);
    EXPECT_EQ(game.peekByte(PID, 0x40000000 + (300u << 20)), 0x04); // little-endian
    EXPECT_EQ(game.peekInt32(PID, 0x40000000 + (511u << 20)), 0);
}

TEST_F(SimulatedGameProcessTest, PokesAcrossPageBoundariesReadBackWhole) {
    game.poke(PID, 0x10FFE, "ABCDEF");
    EXPECT_EQ(game.peekText(PID, 0x10FFD, 8), std::string("\0ABCDEF\0", 8));
    game.pokeFloat32(PID, 0x11000, 474.0f);
    EXPECT_EQ(game.peekFloat32(PID, 0x11000), 474.0f);
}

TEST_F(SimulatedGameProcessTest, PokeOutsideDeclaredRegionsThrows) {
    EXPECT_THROW(game.pokeByte(PID, 0x13000, 1), std::out_of_range);
    EXPECT_THROW(game.peek(PID, 0x12FFF, 2), std::out_of_range);
    EXPECT_THROW(game.addRegion(PID, 0x11000, 0x1000), std::invalid_argument);
}

TEST_F(SimulatedGameProcessTest, QueryReportsDeclaredRegionsAndFreeGaps) {
    const PortHandle process = game.openProcess(GAME_PROCESS_ACCESS, PID);
    RegionInfo region;
    ASSERT_TRUE(game.queryRegion(process, 0x10010, region));
    EXPECT_EQ(region.baseAddress, 0x10000u);
    EXPECT_EQ(region.regionSize, 0x2000u);
    ASSERT_TRUE(game.queryRegion(process, 0x15000, region));
    EXPECT_EQ(region.baseAddress, 0x13000u);
    EXPECT_EQ(region.regionSize, 0xD000u);
    EXPECT_FALSE(game.queryRegion(process, 0x7FFF0000, region));
    game.closeHandle(process);
}

TEST_F(SimulatedGameProcessTest, ExitedProcessFailsOpenHandlesAndNewOpens) {
    const PortHandle before = game.openProcess(GAME_PROCESS_ACCESS, PID);
    game.exitProcess(PID);
    std::byte byte{};
    EXPECT_FALSE(game.readMemory(before, 0x10000, std::span(&byte, 1)));
    EXPECT_EQ(game.openProcess(GAME_PROCESS_ACCESS, PID), kNoHandle);
    game.closeHandle(before);
    EXPECT_TRUE(game.allHandlesClosed());
}

TEST_F(SimulatedGameProcessTest, ExitAfterOpensEndsTheProcessAtTheNextOpen) {
    game.exitAfterOpens(PID, 2);
    EXPECT_TRUE(read(0x10000, 1));
    EXPECT_TRUE(read(0x10000, 1));
    EXPECT_FALSE(read(0x10000, 1));
    EXPECT_FALSE(game.isRunning(PID));
}

TEST_F(SimulatedGameProcessTest, DoubleAndBogusClosesAreCounted) {
    const PortHandle process = game.openProcess(GAME_PROCESS_ACCESS, PID);
    game.closeHandle(process);
    game.closeHandle(process);
    game.closeHandle(kNoHandle);
    EXPECT_EQ(game.badCloses(), 2u);
    EXPECT_FALSE(game.allHandlesClosed());
}

TEST_F(SimulatedGameProcessTest, ModuleWalkNeedsTheEntrySizeAndARunningProcess) {
    game.addModule(PID, {"OIRAMLOOK.DLL", 0x10000000, 0x200000, ""});
    const PortHandle snapshot = game.createSnapshot(TH32CS_SNAPMODULE_FLAG, PID);
    ModuleEntry entry;
    EXPECT_FALSE(game.firstModule(snapshot, entry)); // dwSize left at 0
    entry.size = MODULE_ENTRY_SIZE;
    ASSERT_TRUE(game.firstModule(snapshot, entry));
    EXPECT_STREQ(entry.moduleName.data(), "OIRAMLOOK.DLL");
    EXPECT_EQ(entry.baseAddress, 0x10000000u);
    EXPECT_FALSE(game.nextModule(snapshot, entry));
    game.closeHandle(snapshot);

    game.exitProcess(PID);
    EXPECT_EQ(game.createSnapshot(TH32CS_SNAPMODULE_FLAG, PID), kNoHandle);
    EXPECT_TRUE(game.allHandlesClosed());
}

} // namespace
} // namespace pal4::testing
