// readText reads in growing chunks; readTextWholeRegion reads the whole rest of the region at once
// and is the reference. Both must give the same text for the same memory.
#include "gameproc/process_memory.hpp"

#include "fakes/simulated_game_process.hpp"
#include "refused_allocations.hpp"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace pal4 {
namespace {

using testing::RegionState;
using testing::SimulatedGameProcess;

constexpr ProcessId GAME = 812;

std::vector<std::size_t> readSizes(const SimulatedGameProcess& game) {
    std::vector<std::size_t> sizes;
    for (const auto& read : game.reads()) {
        sizes.push_back(read.size);
    }
    return sizes;
}

class TextReadTest : public ::testing::Test {
protected:
    TextReadTest() { game.addProcess(GAME, "Pal4.exe"); }

    // Both readers, each against the same memory; also checks one open and one region query.
    std::string readBoth(GameAddress address) {
        const std::size_t opens = game.processOpens();
        const std::size_t queries = game.regionQueries();
        std::string chunked = memory.readText(GAME, address);
        EXPECT_EQ(game.processOpens() - opens, 1u);
        EXPECT_EQ(game.regionQueries() - queries, 1u);
        EXPECT_EQ(memory.readTextWholeRegion(GAME, address), chunked);
        EXPECT_TRUE(game.allHandlesClosed());
        return chunked;
    }

    SimulatedGameProcess game;
    ProcessMemory memory{game};
};

TEST_F(TextReadTest, CutsAtTheFirstZeroByte) {
    game.addRegion(GAME, 0x400000, 0x2000);
    game.poke(GAME, 0x400000, std::string_view("AB\0CD", 5));
    game.poke(GAME, 0x400010, std::string_view("\0XY", 3));
    game.poke(GAME, 0x400FFE, std::string_view("EF\0", 3)); // the zero starts the second chunk
    EXPECT_EQ(readBoth(0x400000), "AB");
    EXPECT_EQ(readBoth(0x400010), "");
    EXPECT_EQ(readBoth(0x400011), "XY");
    EXPECT_EQ(readBoth(0x400FFE), "EF");
}

TEST_F(TextReadTest, ReadsExactlyTheRestOfTheRegionWhenNoZeroFollows) {
    game.addRegion(GAME, 0x400000, 0x1000, RegionState::Committed, 'Q');
    game.clearRecords();
    EXPECT_EQ(memory.readText(GAME, 0x400FF0), std::string(16, 'Q'));
    EXPECT_EQ(readSizes(game), std::vector<std::size_t>{16});
    game.clearRecords();
    EXPECT_EQ(memory.readTextWholeRegion(GAME, 0x400FF0), std::string(16, 'Q'));
    EXPECT_EQ(readSizes(game), std::vector<std::size_t>{16});
}

TEST_F(TextReadTest, GrowsChunksFromTheRestOfThePageByDoubling) {
    game.addRegion(GAME, 0x400000, 0x10000, RegionState::Committed, 'Z');
    game.pokeByte(GAME, 0x400100 + 10000, 0);
    game.clearRecords();
    EXPECT_EQ(memory.readText(GAME, 0x400100), std::string(10000, 'Z'));
    ASSERT_EQ(readSizes(game), (std::vector<std::size_t>{0xF00, 0x1000, 0x2000}));
    EXPECT_EQ(game.reads()[1].address, 0x401000u);
    EXPECT_EQ(game.reads()[2].address, 0x402000u);
}

TEST_F(TextReadTest, LastChunkStopsAtTheRegionEnd) {
    game.addRegion(GAME, 0x400000, 0x5000, RegionState::Committed, 'Z');
    game.clearRecords();
    EXPECT_EQ(readBoth(0x400800).size(), 0x4800u);
    // 0x800 to the page end, 0x1000, 0x2000, then what is left: 0x4000 would overrun. Then the
    // reference's single read.
    EXPECT_EQ(readSizes(game), (std::vector<std::size_t>{0x800, 0x1000, 0x2000, 0x1000, 0x4800}));
}

TEST_F(TextReadTest, RegionEndingAtFourGibWrapsItsEndAndStillCounts) {
    game.addRegion(GAME, 0xFFFF0000, 0x10000, RegionState::Committed, 'W');
    EXPECT_EQ(readBoth(0xFFFFFFF0), std::string(16, 'W'));
    EXPECT_EQ(readBoth(0xFFFFFFFF), "W");
}

TEST_F(TextReadTest, ShortLineInA16MiBRegionNeedsOneSmallRead) {
    game.addRegion(GAME, 0x01000000, 16u << 20);
    game.poke(GAME, 0x01000000, std::string(40, 'L'));
    game.clearRecords();
    EXPECT_EQ(memory.readText(GAME, 0x01000000), std::string(40, 'L'));
    EXPECT_EQ(readSizes(game), std::vector<std::size_t>{0x1000});
    EXPECT_EQ(readBoth(0x01000000), std::string(40, 'L'));
}

TEST_F(TextReadTest, UnreadableOrUnqueryablePlacesGiveEmptyText) {
    game.addRegion(GAME, 0x400000, 0x1000, RegionState::Reserved);
    game.addRegion(GAME, 0x500000, 0x1000, RegionState::NoAccess);
    game.addRegion(GAME, 0x600000, 0x1000, RegionState::Committed, 'A');
    game.setUserSpaceEnd(0x01000000); // keeps the reference's buffer for free memory small
    EXPECT_EQ(readBoth(0x400010), "");
    EXPECT_EQ(readBoth(0x500010), "");
    EXPECT_EQ(readBoth(0x700000), ""); // free memory
    game.failRegionQueries(true);
    game.clearRecords();
    EXPECT_EQ(readBoth(0x600000), "");
    EXPECT_TRUE(game.reads().empty()); // no read without a region
}

TEST_F(TextReadTest, GameExitingBetweenChunksGivesEmptyTextLikeTheReference) {
    game.addRegion(GAME, 0x400000, 0x10000, RegionState::Committed, 'A');
    // The game quits while the text is read: the second chunk fails, the whole read is lost.
    struct ExitOnSecondRead final : public GameProcessPort {
        SimulatedGameProcess& inner;
        int readsLeft = 1;
        explicit ExitOnSecondRead(SimulatedGameProcess& game) : inner(game) {}
        PortHandle createSnapshot(std::uint32_t f, ProcessId p) override {
            return inner.createSnapshot(f, p);
        }
        bool firstProcess(PortHandle s, ProcessEntry& e) override {
            return inner.firstProcess(s, e);
        }
        bool nextProcess(PortHandle s, ProcessEntry& e) override { return inner.nextProcess(s, e); }
        bool firstModule(PortHandle s, ModuleEntry& e) override { return inner.firstModule(s, e); }
        bool nextModule(PortHandle s, ModuleEntry& e) override { return inner.nextModule(s, e); }
        PortHandle openProcess(std::uint32_t a, ProcessId p) override {
            return inner.openProcess(a, p);
        }
        bool readMemory(PortHandle h, GameAddress a, std::span<std::byte> b) override {
            if (readsLeft-- == 0) {
                inner.exitProcess(GAME);
            }
            return inner.readMemory(h, a, b);
        }
        bool writeMemory(PortHandle h, GameAddress a, std::span<const std::byte> b) override {
            return inner.writeMemory(h, a, b);
        }
        bool queryRegion(PortHandle h, GameAddress a, RegionInfo& r) override {
            return inner.queryRegion(h, a, r);
        }
        std::optional<std::uint64_t> imageFileSize(ProcessId p) override {
            return inner.imageFileSize(p);
        }
        void closeHandle(PortHandle h) override { inner.closeHandle(h); }
    } exiting(game);
    ProcessMemory exitingMemory(exiting);
    EXPECT_EQ(exitingMemory.readText(GAME, 0x400000), "");
    EXPECT_EQ(game.reads().size(), 2u);
    EXPECT_TRUE(game.allHandlesClosed());
}

// Random memory layouts: region size and alignment, text start and length, terminator or not,
// and what follows the text (zeros or other bytes up to the region's end).
TEST_F(TextReadTest, ChunkedAndWholeRegionReadsAgreeOnRandomLayouts) {
    std::mt19937 rng(20240611);
    const auto below = [&rng](std::uint32_t bound) {
        return static_cast<std::uint32_t>(rng() % bound);
    };
    GameAddress base = 0x00400000;
    for (int round = 0; round < 300; ++round) {
        const std::uint32_t size = 1 + below(0x9000);
        const auto fill = static_cast<std::uint8_t>(below(3) == 0 ? 0 : 'a' + below(26));
        game.addRegion(GAME, base, size, RegionState::Committed, fill);
        const GameAddress address = base + below(size);
        const std::uint32_t rest = base + size - address;
        const std::uint32_t length = std::min(below(rest + 8), rest);
        std::string text(length, 'x');
        for (char& c : text) {
            c = static_cast<char>(1 + below(255));
        }
        game.poke(GAME, address, text);
        std::string expected = text;
        if (length < rest) {
            if (below(2) == 0) {
                game.pokeByte(GAME, address + length, 0);
            } else if (fill != 0) {
                expected.append(rest - length, static_cast<char>(fill));
            }
        }
        SCOPED_TRACE(::testing::Message() << "round " << round << " size " << size << " at +"
                                          << address - base << " length " << length);
        EXPECT_EQ(readBoth(address), expected);
        base += (size + 0x1FFF) & ~0xFFFu; // leave a free gap between regions
    }
}

struct HugeRegionCase {
    std::uint32_t regionSize;
    bool fits; // the whole rest fits below the allocation limit
};

class TextReadUnderMemoryPressure : public TextReadTest,
                                    public ::testing::WithParamInterface<HugeRegionCase> {};

TEST_P(TextReadUnderMemoryPressure, RefusedBufferGivesEmptyTextAndKeepsRunning) {
    // Model a 32-bit tool whose address space cannot hold buffers above 8 MiB.
    const testing::RefusedAllocations limit(8u << 20);
    game.addRegion(GAME, 0x10000000, GetParam().regionSize, RegionState::Committed, 'A');
    const std::string chunked = memory.readText(GAME, 0x10000000);
    const std::string whole = memory.readTextWholeRegion(GAME, 0x10000000);
    EXPECT_EQ(chunked.size(), GetParam().fits ? GetParam().regionSize : 0u);
    EXPECT_EQ(whole, chunked);
    EXPECT_TRUE(game.allHandlesClosed());
}

INSTANTIATE_TEST_SUITE_P(Sizes, TextReadUnderMemoryPressure,
                         ::testing::Values(HugeRegionCase{1u << 20, true},
                                           HugeRegionCase{64u << 20, false},
                                           HugeRegionCase{512u << 20, false},
                                           HugeRegionCase{0xF0000000u, false}));

TEST_F(TextReadTest, ShortLineInAHugeRegionNeedsNoHugeBuffer) {
    const testing::RefusedAllocations limit(8u << 20);
    game.addRegion(GAME, 0x10000000, 512u << 20);
    game.poke(GAME, 0x10000000, std::string_view("\xC4\xE3\xBA\xC3\0", 5)); // "你好"
    EXPECT_EQ(memory.readText(GAME, 0x10000000), "\xC4\xE3\xBA\xC3");
    EXPECT_EQ(memory.readTextWholeRegion(GAME, 0x10000000), ""); // the reference cannot allocate
}

} // namespace
} // namespace pal4
