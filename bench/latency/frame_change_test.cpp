#include "frame_change.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace pal4bench {
namespace {

struct FrameCase {
    const char* name;
    std::vector<std::uint32_t> before;
    std::vector<std::uint32_t> after;
    std::size_t changed;
};

class ChangedPixelsTest : public testing::TestWithParam<FrameCase> {};

TEST_P(ChangedPixelsTest, CountsColourChangesOnly) {
    EXPECT_EQ(countChangedPixels(GetParam().before, GetParam().after), GetParam().changed);
}

INSTANTIATE_TEST_SUITE_P(
    Frames, ChangedPixelsTest,
    testing::Values(
        FrameCase{"Same", {0x010000, 0xFFFFFF, 0x202020}, {0x010000, 0xFFFFFF, 0x202020}, 0},
        FrameCase{
            "OneGlyphPixel", {0x010000, 0x010000, 0x010000}, {0x010000, 0xFFFFFF, 0x010000}, 1},
        FrameCase{"LowestBlueBit", {0x000000, 0x000000}, {0x000001, 0x000000}, 1},
        FrameCase{"HighestRedBit", {0x000000}, {0x800000}, 1},
        // The screen DIB's top byte is undefined: it may change without the picture changing.
        FrameCase{"TopByteIgnored", {0x00123456, 0xFF000000}, {0xFF123456, 0x00000000}, 0},
        FrameCase{"Resized", {1, 2, 3}, {1, 2}, 3}, FrameCase{"Empty", {}, {}, 0}),
    [](const testing::TestParamInfo<FrameCase>& frame) { return frame.param.name; });

} // namespace
} // namespace pal4bench
