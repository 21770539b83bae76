#include "latency_stats.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace pal4bench {
namespace {

struct PercentileCase {
    std::vector<double> values;
    double fraction;
    double expected;
};

class PercentileTest : public testing::TestWithParam<PercentileCase> {};

TEST_P(PercentileTest, IsTheNearestRankValue) {
    EXPECT_DOUBLE_EQ(percentile(GetParam().values, GetParam().fraction), GetParam().expected);
}

std::vector<double> oneToTwenty() {
    std::vector<double> values;
    for (int v = 20; v >= 1; --v) { // unsorted on purpose
        values.push_back(v);
    }
    return values;
}

INSTANTIATE_TEST_SUITE_P(
    Ranks, PercentileTest,
    testing::Values(PercentileCase{{}, 0.95, 0.0},             // nothing measured
                    PercentileCase{{42.0}, 0.95, 42.0},        // one value is every percentile
                    PercentileCase{{30, 10, 20}, 0.5, 20.0},   // odd count: the middle
                    PercentileCase{{40, 10, 30, 20}, 0.5, 20}, // even: the lower middle, measured
                    PercentileCase{oneToTwenty(), 0.95, 19.0}, // ceil(0.95 * 20) = 19th
                    PercentileCase{oneToTwenty(), 1.0, 20.0},
                    PercentileCase{oneToTwenty(), 0.0, 1.0})); // never below the first rank

TEST(TicksToMs, ScalesByTheCounterFrequency) {
    EXPECT_DOUBLE_EQ(ticksToMs(10'000'000, 10'000'000), 1000.0);
    EXPECT_DOUBLE_EQ(ticksToMs(3'579'545, 3'579'545 * 2), 500.0);
    EXPECT_DOUBLE_EQ(ticksToMs(-5'000, 1'000'000), -5.0); // a stamp after the sample shows
    EXPECT_DOUBLE_EQ(ticksToMs(123, 0), 0.0);
}

} // namespace
} // namespace pal4bench
