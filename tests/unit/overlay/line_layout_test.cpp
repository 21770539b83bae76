#include "overlay/line_layout.hpp"
#include "overlay/overlay_constants.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <ostream>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace pal4 {
namespace {

// A fixed-pitch font: 10 px per byte, so an ASCII character is 10 px and a Chinese one 20 px.
constexpr std::int32_t PIXELS_PER_BYTE = 10;

std::int32_t fixedPitch(std::string_view run) {
    return static_cast<std::int32_t>(run.size()) * PIXELS_PER_BYTE;
}

std::vector<std::string> layout(std::string_view text, LineBox box) {
    std::vector<std::string> lines;
    for (const std::string_view line : layoutLines(text, box, fixedPitch)) {
        lines.emplace_back(line);
    }
    return lines;
}

struct LayoutCase {
    const char* name;
    std::string text;
    LineBox box;
    std::vector<std::string> lines;
};

void PrintTo(const LayoutCase& c, std::ostream* out) {
    *out << c.name;
}

class LineLayoutTest : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(LineLayoutTest, BreaksTheTextIntoTheLinesThatShow) {
    const LayoutCase& c = GetParam();
    EXPECT_EQ(layout(c.text, c.box), c.lines);
}

const LayoutCase LAYOUT_CASES[] = {
    {"LatinWrapsBetweenLetters", "abcdefg", {30, 100, 10}, {"abc", "def", "g"}},
    {"ARunThatFitsExactlyStaysOnOneLine", "abcd", {40, 100, 10}, {"abcd"}},
    // 30 px would hold three bytes: a layout that counts bytes would split the second character.
    {"ChineseCharactersAreNeverSplit", "你好吗", {30, 100, 10}, {"你", "好", "吗"}},
    {"MixedWidthsFillTheLine", "a你b好c", {40, 100, 10}, {"a你b", "好c"}},
    {"NewlineBreaksTheLine", "ab\ncd", {100, 100, 10}, {"ab", "cd"}},
    {"CarriageReturnNewlineIsOneBreak", "ab\r\ncd", {100, 100, 10}, {"ab", "cd"}},
    {"ALoneCarriageReturnBreaksToo", "ab\rcd", {100, 100, 10}, {"ab", "cd"}},
    {"TwoBreaksLeaveAnEmptyLine", "ab\n\ncd", {100, 100, 10}, {"ab", "", "cd"}},
    {"ABreakInsideAWrappedParagraph", "abcde\nf", {30, 100, 10}, {"abc", "de", "f"}},
    {"ACharacterWiderThanTheLabelGetsItsOwnLine", "你a", {10, 100, 10}, {"你", "a"}},
    {"TheIdleSpaceIsOneLine", " ", {1024, 160, 27}, {" "}},
    // 25 px of height with 10 px lines: the third line is cut by the bottom edge, the fourth
    // is not shown at all.
    {"APartlyVisibleLastLineIsKept", "abcdefgh", {20, 25, 10}, {"ab", "cd", "ef"}},
    {"LinesBelowTheHeightAreCutOff", "abcdefgh", {20, 20, 10}, {"ab", "cd"}},
    {"TheSmallestHeightStillShowsTheFirstLine", "abcdefgh", {20, 1, 27}, {"ab"}},
    {"BreaksBelowTheHeightAreCutOffToo", "a\nb\nc", {100, 20, 10}, {"a", "b"}},
    {"AZeroWidthShowsNothing", "abc", {0, 100, 10}, {}},
    {"ANegativeWidthShowsNothing", "abc", {-5, 100, 10}, {}},
    {"AZeroHeightShowsNothing", "abc", {100, 0, 10}, {}},
    {"AZeroLineHeightShowsNothing", "abc", {100, 100, 0}, {}},
    // Broken text: a lead byte without its trail byte is a character of its own, and a line
    // break right after it still breaks.
    {"ALeadByteAtTheEndStandsAlone", "ab\xC4", {20, 100, 10}, {"ab", "\xC4"}},
    {"ALeadByteBeforeABreakKeepsTheBreak", "\xC4\nab", {100, 100, 10}, {"\xC4", "ab"}},
    // 0x7F is not a trail byte in code page 936: the two bytes are two characters.
    {"ALeadByteBeforeDeleteIsTwoCharacters", "\x81\x7F", {10, 100, 10}, {"\x81", "\x7F"}},
    // 0x80 is a whole character in code page 936 (the euro sign), never a lead byte: a line
    // may end right after it, and the character after it (你 C4 E3, 好 BA C3) stays whole.
    {"TheSingleByteEuroMayEndALine", "\x80\xC4\xE3", {10, 100, 10}, {"\x80", "\xC4\xE3"}},
    {"TheSingleByteEuroBetweenCharacters",
     "\xC4\xE3\x80\xBA\xC3",
     {30, 100, 10},
     {"\xC4\xE3\x80", "\xBA\xC3"}},
};

INSTANTIATE_TEST_SUITE_P(Cases, LineLayoutTest, ::testing::ValuesIn(LAYOUT_CASES),
                         [](const auto& testCase) { return std::string(testCase.param.name); });

// The debug sample, with 20 px characters as a 20-pixel font gives them: 51 characters fit in
// 1024 px, so 216 characters take five lines.
TEST(LineLayoutDebugSample, FillsFullLinesAndMeasuresLogarithmicallyOften) {
    int measured = 0;
    const TextMeasure counting = [&](std::string_view run) {
        ++measured;
        return fixedPitch(run);
    };
    const auto lines = layoutLines(DEBUG_SAMPLE_TEXT, {1024, 160, 27}, counting);

    ASSERT_EQ(lines.size(), 5U);
    std::string joined;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].size(), i + 1 < lines.size() ? 102U : 432U - 4 * 102U) << i;
        joined += lines[i];
    }
    EXPECT_EQ(joined, DEBUG_SAMPLE_TEXT);
    // Trying every prefix would measure 216 times; doubling then halving needs about
    // 2 log2(51) per line.
    EXPECT_LE(measured, 5 * 14);
}

TEST(LineLayoutDebugSample, MeasuresNothingBelowTheBottomEdge) {
    std::size_t furthest = 0;
    const TextMeasure tracking = [&](std::string_view run) {
        const auto end =
            static_cast<std::size_t>(run.data() + run.size() - DEBUG_SAMPLE_TEXT.data());
        furthest = std::max(furthest, end);
        return fixedPitch(run);
    };
    // Two lines of 40 px in 80 px: the text after the second line is never looked at.
    const auto lines = layoutLines(DEBUG_SAMPLE_TEXT, {1024, 80, 40}, tracking);

    ASSERT_EQ(lines.size(), 2U);
    EXPECT_LE(furthest, 3 * 102U);
}

TEST(LineLeft, LeftAlignmentStartsAtTheEdgeAndCentringSplitsTheRest) {
    EXPECT_EQ(lineLeft(TextAlignment::Left, 1024, 200), 0);
    EXPECT_EQ(lineLeft(TextAlignment::Centred, 1024, 200), 412);
    EXPECT_EQ(lineLeft(TextAlignment::Centred, 1024, 1024), 0);
    EXPECT_EQ(lineLeft(TextAlignment::Centred, 100, 140), -20);
}

// Random texts of Latin letters, Chinese characters and line breaks, against what any layout
// must give: every line fits (or is one too-wide character), no line could have taken the
// next character, no character is split, and together the lines are the whole text.
TEST(LineLayoutProperties, HoldForRandomTexts) {
    std::mt19937 random(20240601);
    const std::string pieces[] = {"a", "W", " ", "你", "好", "\xA1\xA1", "\n", "\r\n"};
    for (int round = 0; round < 500; ++round) {
        std::string text;
        const int length = std::uniform_int_distribution<int>(0, 60)(random);
        for (int i = 0; i < length; ++i) {
            text += pieces[std::uniform_int_distribution<std::size_t>(0, 7)(random)];
        }
        const std::int32_t width = std::uniform_int_distribution<std::int32_t>(1, 120)(random);
        const TextMeasure checked = [&](std::string_view run) {
            // Runs start and end on character boundaries: never a bare lead byte at the end.
            const auto offset = static_cast<std::size_t>(run.data() - text.data());
            std::size_t at = 0;
            while (at < offset + run.size()) {
                at += static_cast<unsigned char>(text[at]) >= 0x81 ? 2U : 1U;
            }
            EXPECT_EQ(at, offset + run.size()) << text;
            return fixedPitch(run);
        };
        const auto lines = layoutLines(text, {width, 100000, 1}, checked);

        std::string rebuilt;
        std::string withoutBreaks;
        for (const char byte : text) {
            if (byte != '\r' && byte != '\n') {
                withoutBreaks += byte;
            }
        }
        for (const std::string_view line : lines) {
            const bool oneCharacter =
                line.size() == 1 ||
                (line.size() == 2 && static_cast<unsigned char>(line[0]) >= 0x81);
            EXPECT_TRUE(fixedPitch(line) <= width || oneCharacter) << text << " / " << width;
            const auto end = static_cast<std::size_t>(line.data() + line.size() - text.data());
            if (end < text.size() && text[end] != '\r' && text[end] != '\n') {
                const std::size_t next = static_cast<unsigned char>(text[end]) >= 0x81 ? 2U : 1U;
                EXPECT_GT(fixedPitch(line) + static_cast<std::int32_t>(next) * PIXELS_PER_BYTE,
                          width)
                    << text << " / " << width;
            }
            rebuilt += line;
        }
        EXPECT_EQ(rebuilt, withoutBreaks);
    }
}

} // namespace
} // namespace pal4
