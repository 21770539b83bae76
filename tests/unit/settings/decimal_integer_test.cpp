#include "settings/decimal_integer.hpp"

#include <gtest/gtest.h>

#include <limits>

namespace pal4 {
namespace {

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

struct Conversion {
    const char* text;
    std::int32_t expected;
};

class TextToInt32 : public ::testing::TestWithParam<Conversion> {};

TEST_P(TextToInt32, IsTotal) {
    EXPECT_EQ(textToInt32(GetParam().text), GetParam().expected) << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Texts, TextToInt32,
    ::testing::Values(Conversion{"20", 20}, Conversion{"0", 0}, Conversion{"-30", -30},
                      Conversion{"+7", 7}, Conversion{"007", 7}, Conversion{"  \t42", 42},
                      Conversion{"\r\n\v\f5", 5}, Conversion{"12abc", 12}, Conversion{"1 2", 1},
                      Conversion{"1.9", 1}, Conversion{"0x1F", 0}, Conversion{"", 0},
                      Conversion{"abc", 0}, Conversion{"-", 0}, Conversion{"+", 0},
                      Conversion{"--5", 0}, Conversion{"+-5", 0}, Conversion{"- 5", 0},
                      Conversion{"2147483647", kMax}, Conversion{"2147483648", kMax},
                      Conversion{"-2147483648", kMin}, Conversion{"-2147483649", kMin},
                      Conversion{"99999999999", kMax},
                      Conversion{"-99999999999999999999999999999999", kMin},
                      Conversion{"00000000000000000000000000000001", 1},
                      Conversion{"16777215", 16777215}, Conversion{"\xA3\xB1", 0}));

TEST(Int32ToText, PlainDecimal) {
    EXPECT_EQ(int32ToText(0), "0");
    EXPECT_EQ(int32ToText(20), "20");
    EXPECT_EQ(int32ToText(-30), "-30");
    EXPECT_EQ(int32ToText(kMin), "-2147483648");
    EXPECT_EQ(int32ToText(kMax), "2147483647");
}

TEST(Int32ToText, RoundTripsThroughTheConversion) {
    for (const std::int32_t value : {kMin, -1, 0, 1, 255, 16777215, kMax}) {
        EXPECT_EQ(textToInt32(int32ToText(value)), value);
    }
}

} // namespace
} // namespace pal4
