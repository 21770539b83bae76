// The simulated game stamps each stored line with the performance counter; the latency probe
// subtracts that stamp from its own counter readings, which is only right when both processes
// read one clock.
#include "perf_counter.hpp"
#include "simgame_client.hpp"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

pal4sim::SimGameLaunch launch(std::uint32_t regionSize) {
    pal4sim::SimGameLaunch result;
    result.exePath = pal4sim::windowsPath(std::string(PAL4_SIMGAME_BUILD_DIR) + "/Pal4.exe");
    result.textRegionSize = regionSize;
    return result;
}

TEST(GameStamp, FallsBetweenOurReadingsAroundTheRequest) {
    pal4sim::SimGame game{launch(0)};
    for (int i = 0; i < 20; ++i) {
        const std::int64_t before = pal4bench::counterNow();
        const std::string line = "甲：第" + std::to_string(i) + "句";
        const auto stored = game.setTextStamped(line);
        const std::int64_t after = pal4bench::counterNow();
        ASSERT_TRUE(stored);
        EXPECT_EQ(stored->bytes, line.size());
        EXPECT_LE(before, stored->counter);
        EXPECT_LE(stored->counter, after);
    }
}

TEST(GameStamp, ReportsTheBytesKeptOfATextLongerThanItsRegion) {
    pal4sim::SimGame game{launch(4096)};
    const auto stored = game.setTextStamped(std::string(10000, 'x'));
    ASSERT_TRUE(stored);
    EXPECT_LT(stored->bytes, 10000u);
    EXPECT_GT(stored->counter, 0);
    // The plain call still reads the same reply.
    EXPECT_EQ(game.setText(std::string(10000, 'x')), stored->bytes);
}

} // namespace
