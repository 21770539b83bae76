#include "gameproc/process_memory.hpp"

#include "fakes/simulated_game_process.hpp"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <vector>

namespace pal4 {
namespace {

using testing::RegionState;
using testing::SimulatedGameProcess;

constexpr ProcessId GAME = 812;
constexpr GameAddress DATA = 0x00400000;      // 64 KiB, read-write
constexpr GameAddress CONSTANTS = 0x00410000; // 4 KiB, read-only
constexpr GameAddress RESERVED = 0x00500000;  // reserved, not committed
constexpr GameAddress GUARDED = 0x00600000;   // committed, no access
constexpr GameAddress UNMAPPED = 0x00700000;

std::vector<std::byte> bytes(std::initializer_list<int> values) {
    std::vector<std::byte> out;
    for (int value : values) {
        out.push_back(static_cast<std::byte>(value));
    }
    return out;
}

class ProcessMemoryTest : public ::testing::Test {
protected:
    ProcessMemoryTest() {
        game.addProcess(GAME, "Pal4.exe");
        game.addRegion(GAME, DATA, 0x10000);
        game.addRegion(GAME, CONSTANTS, 0x1000, RegionState::ReadOnly);
        game.addRegion(GAME, RESERVED, 0x10000, RegionState::Reserved);
        game.addRegion(GAME, GUARDED, 0x1000, RegionState::NoAccess);
        // Free memory reaches to here; a small end keeps the whole-region reads of it cheap.
        game.setUserSpaceEnd(0x01000000);
    }

    // Every primitive opens the game once with the full old-style access mask and closes it.
    void expectOneBalancedOpenPerCall(std::size_t calls) {
        EXPECT_EQ(game.openRequests().size(), calls);
        for (const auto& request : game.openRequests()) {
            EXPECT_EQ(request.access, 0x1F0FFFu);
        }
        EXPECT_EQ(game.processOpens(), game.processCloses());
        EXPECT_TRUE(game.allHandlesClosed());
    }

    SimulatedGameProcess game;
    ProcessMemory memory{game};
};

struct Int32Case {
    std::vector<std::byte> stored;
    std::int32_t expected;
};

class ReadInt32Bytes : public ProcessMemoryTest, public ::testing::WithParamInterface<Int32Case> {};

TEST_P(ReadInt32Bytes, TakesFourLittleEndianBytesAsSigned) {
    game.poke(GAME, DATA + 8, GetParam().stored);
    EXPECT_EQ(memory.readInt32(GAME, DATA + 8), GetParam().expected);
    expectOneBalancedOpenPerCall(1);
}

INSTANTIATE_TEST_SUITE_P(ByteOrder, ReadInt32Bytes,
                         ::testing::Values(Int32Case{bytes({0x01, 0x02, 0x00, 0x00}), 513},
                                           Int32Case{bytes({0xFF, 0xFF, 0xFF, 0xFF}), -1},
                                           Int32Case{bytes({0x00, 0x00, 0x00, 0x80}),
                                                     std::numeric_limits<std::int32_t>::min()},
                                           Int32Case{bytes({0x38, 0xB0, 0x8E, 0x00}), 0x008EB038}));

TEST_F(ProcessMemoryTest, ReadsFloatsAndBytesExactly) {
    game.poke(GAME, DATA, bytes({0x00, 0x00, 0x80, 0x3F}));
    game.poke(GAME, DATA + 4, bytes({0x00, 0x00, 0xED, 0x43}));
    game.pokeByte(GAME, DATA + 8, 0xFF);
    game.pokeByte(GAME, CONSTANTS, 0x2A);
    EXPECT_EQ(memory.readFloat32(GAME, DATA), 1.0f);
    EXPECT_EQ(memory.readFloat32(GAME, DATA + 4), 474.0f);
    EXPECT_EQ(memory.readByte(GAME, DATA + 8, 1), 255);
    EXPECT_EQ(memory.readByte(GAME, CONSTANTS, 1), 0x2A);
    EXPECT_EQ(memory.readInt32(GAME, DATA + 1), 0x003F8000); // 00 80 3F 00
    expectOneBalancedOpenPerCall(5);
}

// Bad input: every read of a place that cannot be read gives the caller's failure value, and
// the texts give "", with the process handle closed each time.
struct FailedReadCase {
    const char* what;
    ProcessId pid;
    GameAddress address;
};

class FailedRead : public ProcessMemoryTest,
                   public ::testing::WithParamInterface<FailedReadCase> {};

TEST_P(FailedRead, YieldsTheFailureValues) {
    game.addProcess(999, "Pal4.exe");
    game.exitProcess(999);
    const auto [what, pid, address] = GetParam();
    EXPECT_EQ(memory.readInt32(pid, address), -1);
    EXPECT_EQ(memory.readInt32(pid, address, 77), 77);
    EXPECT_EQ(memory.readFloat32(pid, address), -1.0f);
    EXPECT_EQ(memory.readFloat32(pid, address, 2.5f), 2.5f);
    EXPECT_EQ(memory.readByte(pid, address, 1), 1);
    EXPECT_EQ(memory.readByte(pid, address, 0), 0);
    EXPECT_EQ(memory.readText(pid, address), "");
    EXPECT_EQ(memory.readTextWholeRegion(pid, address), "");
    EXPECT_FALSE(memory.writeInt32(pid, address, 5));
    EXPECT_FALSE(memory.writeFloat32(pid, address, 5.0f));
    EXPECT_FALSE(memory.writeBytes(pid, address, bytes({1, 2})));
    EXPECT_EQ(game.processOpens(), game.processCloses());
    EXPECT_TRUE(game.allHandlesClosed());
    EXPECT_TRUE(game.writes().empty());
}

INSTANTIATE_TEST_SUITE_P(BadInput, FailedRead,
                         ::testing::Values(FailedReadCase{"pid0", 0, DATA},
                                           FailedReadCase{"exited", 999, DATA},
                                           FailedReadCase{"unknownPid", 12345, DATA},
                                           FailedReadCase{"address0", GAME, 0},
                                           FailedReadCase{"reserved", GAME, RESERVED + 0x100},
                                           FailedReadCase{"noAccess", GAME, GUARDED},
                                           FailedReadCase{"unmapped", GAME, UNMAPPED},
                                           FailedReadCase{"aboveUserSpace", GAME, 0xFFFFFFF0}),
                         [](const auto& paramInfo) { return std::string(paramInfo.param.what); });

TEST_F(ProcessMemoryTest, OneByteBeforeTheRegionEndReadsOnlyByteAndText) {
    const GameAddress last = CONSTANTS + 0xFFF; // the next page is free memory
    game.pokeByte(GAME, last, 0x41);
    EXPECT_EQ(memory.readByte(GAME, last, 1), 0x41);
    EXPECT_EQ(memory.readText(GAME, last), "A");
    EXPECT_EQ(memory.readTextWholeRegion(GAME, last), "A");
    EXPECT_EQ(memory.readInt32(GAME, last), -1); // would run past the region
    EXPECT_EQ(memory.readFloat32(GAME, last - 2), -1.0f);
    EXPECT_TRUE(game.allHandlesClosed());
}

TEST_F(ProcessMemoryTest, WritesStoreLittleEndianImages) {
    EXPECT_TRUE(memory.writeFloat32(GAME, DATA, 474.0f));
    EXPECT_TRUE(memory.writeInt32(GAME, DATA + 4, 0x3F800000));
    EXPECT_TRUE(memory.writeInt32(GAME, DATA + 8, -2));
    EXPECT_TRUE(memory.writeBytes(GAME, DATA + 12, bytes({9, 8, 7})));
    EXPECT_EQ(game.peek(GAME, DATA, 15), bytes({0x00, 0x00, 0xED, 0x43, 0x00, 0x00, 0x80, 0x3F,
                                                0xFE, 0xFF, 0xFF, 0xFF, 9, 8, 7}));
    EXPECT_EQ(memory.readFloat32(GAME, DATA + 4), 1.0f);
    ASSERT_EQ(game.writes().size(), 4u); // each write is a single platform call
    EXPECT_EQ(game.writes()[1].bytes.size(), 4u);
    expectOneBalancedOpenPerCall(5);
}

TEST_F(ProcessMemoryTest, RefusedWritesReturnFalseAndChangeNothing) {
    game.pokeInt32(GAME, CONSTANTS, 7);
    EXPECT_FALSE(memory.writeInt32(GAME, CONSTANTS, 8));
    EXPECT_FALSE(memory.writeFloat32(GAME, DATA + 0xFFFE, 1.0f)); // runs into read-only memory
    EXPECT_FALSE(memory.writeInt32(GAME, UNMAPPED, 1));
    EXPECT_EQ(game.peekInt32(GAME, CONSTANTS), 7);
    EXPECT_EQ(game.failedWrites().size(), 3u);
    EXPECT_TRUE(game.allHandlesClosed());
}

TEST_F(ProcessMemoryTest, NoHandleOutlivesThousandsOfCalls) {
    game.keepReadLog(false);
    game.poke(GAME, DATA, std::string_view("line\0", 5));
    for (int i = 0; i < 2000; ++i) {
        memory.readInt32(GAME, DATA);
        memory.readByte(GAME, RESERVED, 1);
        memory.readText(GAME, DATA);
        memory.writeInt32(0, DATA, i);
        memory.readFloat32(GAME, UNMAPPED);
    }
    EXPECT_EQ(game.processOpens(), 8000u);
    EXPECT_EQ(game.processCloses(), 8000u);
    EXPECT_TRUE(game.allHandlesClosed());
}

TEST_F(ProcessMemoryTest, ReadFailsWhenTheGameExitsBetweenCalls) {
    game.pokeInt32(GAME, DATA, 5);
    game.exitAfterOpens(GAME, 1);
    EXPECT_EQ(memory.readInt32(GAME, DATA), 5);
    EXPECT_EQ(memory.readInt32(GAME, DATA), -1);
    EXPECT_TRUE(game.allHandlesClosed());
}

} // namespace
} // namespace pal4
