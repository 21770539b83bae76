#include "overlay/text_outline.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

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

// The composition against a plain reference, pixel by pixel, over random glyph pictures: text
// colours that blend onto the key at a coverage of 1 (red over black), that differ only in red
// and blue, or lie next to the key; any width; with and without the shadow.
TEST(OutlineComposition, MatchesAPlainReferenceOverRandomPictures) {
    constexpr ColorRef KEY = 0x000001;
    constexpr ColorRef SHADOW = 0x202020;
    const ColorRef textColors[] = {0x0000FF, 0xFF0000, 0x000002, 0x010101, 0x3366CC, 0xFFFFFF};
    const std::uint8_t coverages[] = {1, 2, 128, 254, 255, 255};
    // 0x00RRGGBB from a COLORREF (0x00BBGGRR), and a blend rounded to the nearest value.
    const auto pixel = [](ColorRef c) {
        return (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF);
    };
    const auto blend = [&](ColorRef over, ColorRef under, int coverage) {
        std::uint32_t out = 0;
        for (const int shift : {0, 8, 16}) {
            const double top = over >> shift & 0xFF;
            const double bottom = under >> shift & 0xFF;
            out |= static_cast<std::uint32_t>(std::lround(bottom + (top - bottom) * coverage / 255))
                   << shift;
        }
        return pixel(out);
    };
    std::mt19937 random(2026);
    for (int round = 0; round < 300; ++round) {
        const int width = 24 + static_cast<int>(random() % 16);
        const int height = 12 + static_cast<int>(random() % 12);
        std::vector<std::uint8_t> coverage(static_cast<std::size_t>(width * height));
        for (int blob = 0; blob < 3; ++blob) {
            const auto x = static_cast<int>(random() % static_cast<unsigned>(width));
            const auto y = static_cast<int>(random() % static_cast<unsigned>(height));
            coverage[static_cast<std::size_t>(y * width + x)] = coverages[random() % 6];
            if (x + 1 < width) {
                coverage[static_cast<std::size_t>(y * width + x + 1)] = coverages[random() % 6];
            }
        }
        const OutlineStyle style{textColors[random() % 6],
                                 0,
                                 1 + static_cast<int>(random() % 4),
                                 random() % 2 == 0,
                                 2,
                                 SHADOW,
                                 KEY};
        const ColorRef ring = outlineColorFor(style.textColor);
        OutlineStyle used = style;
        used.outlineColor = ring;
        std::vector<std::uint32_t> picture(coverage.size());
        for (std::size_t i = 0; i < coverage.size(); ++i) {
            picture[i] = coverage[i] * 0x010101u;
        }
        OutlineWorkspace workspace;
        composeOutlinedLabel({picture.data(), width, height}, used, workspace);

        const auto solidAt = [&](int x, int y) {
            for (int gy = y - style.width; gy <= y + style.width; ++gy) {
                for (int gx = x - style.width; gx <= x + style.width; ++gx) {
                    if (gx >= 0 && gy >= 0 && gx < width && gy < height &&
                        coverage[static_cast<std::size_t>(gy * width + gx)] != 0 &&
                        (gx - x) * (gx - x) + (gy - y) * (gy - y) <= style.width * style.width) {
                        return true;
                    }
                }
            }
            return false;
        };
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const std::uint8_t c = coverage[static_cast<std::size_t>(y * width + x)];
                std::uint32_t expected = pixel(KEY);
                if (c == 255) {
                    expected = pixel(style.textColor);
                } else if (c != 0) {
                    expected = blend(style.textColor, ring, c);
                    expected = expected == pixel(KEY) ? pixel(ring) : expected;
                } else if (solidAt(x, y)) {
                    expected = pixel(ring);
                } else if (style.shadowed && x >= 2 && y >= 2 && solidAt(x - 2, y - 2)) {
                    expected = pixel(SHADOW);
                }
                ASSERT_EQ(picture[static_cast<std::size_t>(y * width + x)], expected)
                    << "round " << round << " at " << x << "," << y << " text " << std::hex
                    << style.textColor;
            }
        }
    }
}

} // namespace
} // namespace pal4
