#include "overlay/text_outline.hpp"

#include <gtest/gtest.h>

namespace pal4 {
namespace {

struct ColorCase {
    ColorRef text;
    ColorRef outline;
};

class OutlineColor : public ::testing::TestWithParam<ColorCase> {};

TEST_P(OutlineColor, IsTheOneThatContrastsMore) {
    EXPECT_EQ(outlineColorFor(GetParam().text), GetParam().outline);
}

INSTANTIATE_TEST_SUITE_P(Colors, OutlineColor,
                         ::testing::Values(ColorCase{0xFFFFFF, OUTLINE_BLACK},
                                           ColorCase{0x000000, OUTLINE_WHITE},
                                           ColorCase{0x000001, OUTLINE_WHITE},   // the key
                                           ColorCase{0x0000FF, OUTLINE_BLACK},   // red
                                           ColorCase{0xFF0000, OUTLINE_WHITE},   // blue
                                           ColorCase{0x00FFFF, OUTLINE_BLACK},   // yellow
                                           ColorCase{0x757575, OUTLINE_WHITE},   // darker grey
                                           ColorCase{0x767676, OUTLINE_BLACK})); // lighter grey

TEST(OutlineColor, ContrastsAtLeastFourAndAHalfWithEveryTextColor) {
    for (ColorRef red = 0; red < 256; red += 5) {
        for (ColorRef green = 0; green < 256; green += 5) {
            for (ColorRef blue = 0; blue < 256; blue += 5) {
                const ColorRef text = red | green << 8 | blue << 16;
                ASSERT_GE(contrastRatio(text, outlineColorFor(text)), 4.5) << std::hex << text;
            }
        }
    }
}

TEST(OutlineWidth, IsASixteenthOfTheCharacterHeightAndAtLeastTwo) {
    const int heights[][2] = {{0, 2}, {27, 2}, {47, 2}, {48, 3}, {53, 3}, {107, 6}, {267, 16}};
    for (const auto& [height, width] : heights) {
        EXPECT_EQ(outlineWidth(height), width) << height;
    }
}

} // namespace
} // namespace pal4
