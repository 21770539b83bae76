#include "gameproc/process_memory.hpp"

#include "fakes/simulated_game_process.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <optional>
#include <ostream>
#include <string>

namespace pal4 {
namespace {

using testing::RegionState;
using testing::SimulatedGameProcess;

constexpr ProcessId GAME = 812;
constexpr GameAddress DATA = 0x00400000;
constexpr GameAddress GUARDED = 0x00500000;
constexpr GameAddress UNMAPPED = 0x00700000;

// Where a checked read is made and the four bytes it must give. A stored -1 (or -1.0) must
// come back as a value, so a caller can tell it from a failure.
struct CheckedReadCase {
    const char* name;
    GameAddress address;
    bool processOpens;
    std::optional<std::uint32_t> expectedBits;
};

void PrintTo(const CheckedReadCase& c, std::ostream* os) {
    *os << c.name;
}

std::optional<std::uint32_t> bitsOf(std::optional<std::int32_t> value) {
    return value ? std::optional(static_cast<std::uint32_t>(*value)) : std::nullopt;
}
std::optional<std::uint32_t> bitsOf(std::optional<float> value) {
    return value ? std::optional(std::bit_cast<std::uint32_t>(*value)) : std::nullopt;
}

class CheckedReadTest : public ::testing::TestWithParam<CheckedReadCase> {
protected:
    CheckedReadTest() {
        game.addProcess(GAME, "Pal4.exe");
        game.addRegion(GAME, DATA, 0x1000);
        game.addRegion(GAME, GUARDED, 0x1000, RegionState::NoAccess);
        game.pokeInt32(GAME, DATA, -1);
        game.pokeFloat32(GAME, DATA + 4, -1.0f);
        game.pokeFloat32(GAME, DATA + 8, 4740.0f);
    }

    SimulatedGameProcess game;
    ProcessMemory memory{game};
};

TEST_P(CheckedReadTest, TellsAFailedReadFromTheFailValue) {
    const CheckedReadCase& c = GetParam();
    if (!c.processOpens) {
        game.failOpen(GAME);
    }
    EXPECT_EQ(bitsOf(memory.tryReadInt32(GAME, c.address)), c.expectedBits);
    EXPECT_EQ(bitsOf(memory.tryReadFloat32(GAME, c.address)), c.expectedBits);
    EXPECT_EQ(game.openRequests().size(), 2u);
    EXPECT_TRUE(game.allHandlesClosed());
}

INSTANTIATE_TEST_SUITE_P(
    Places, CheckedReadTest,
    ::testing::Values(CheckedReadCase{"StoredMinusOne", DATA, true, 0xFFFFFFFFu},
                      CheckedReadCase{"StoredMinusOneSingle", DATA + 4, true, 0xBF800000u},
                      CheckedReadCase{"StoredOpenMarker", DATA + 8, true, 0x45942000u},
                      CheckedReadCase{"NoAccessPage", GUARDED, true, std::nullopt},
                      CheckedReadCase{"FreeMemory", UNMAPPED, true, std::nullopt},
                      CheckedReadCase{"ProcessRefusesToOpen", DATA + 8, false, std::nullopt}),
    [](const ::testing::TestParamInfo<CheckedReadCase>& param) {
        return std::string(param.param.name);
    });

} // namespace
} // namespace pal4
