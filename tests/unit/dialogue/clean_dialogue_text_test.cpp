#include "dialogue/clean_dialogue_text.hpp"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace pal4 {
namespace {

struct CleaningCase {
    const char* name;
    std::string raw;
    std::optional<std::string> subtitle; // nothing: the line has no separator
};

void PrintTo(const CleaningCase& c, std::ostream* os) {
    *os << c.name;
}

std::string caseName(const ::testing::TestParamInfo<CleaningCase>& param) {
    return param.param.name;
}

class CleanDialogueTextTest : public ::testing::TestWithParam<CleaningCase> {};

TEST_P(CleanDialogueTextTest, GivesTheSubtitleOfTheLine) {
    EXPECT_EQ(cleanDialogueText(GetParam().raw), GetParam().subtitle);
}

INSTANTIATE_TEST_SUITE_P(
    WorkedExamples, CleanDialogueTextTest,
    ::testing::Values(CleaningCase{"SpeakerAndLine", "张三：你好", "你好"},
                      CleaningCase{"MarkupAroundCharacters", "甲：<x>乙</x>丙", "乙丙"},
                      CleaningCase{"LaterSeparatorsStay", "甲：乙：丙", "乙：丙"},
                      CleaningCase{"SeparatorEndsTheLine", "甲：", ""},
                      CleaningCase{"NoSeparator", "你好", std::nullopt},
                      CleaningCase{"EmptyLine", "", std::nullopt}),
    caseName);

INSTANTIATE_TEST_SUITE_P(
    Markup, CleanDialogueTextTest,
    ::testing::Values(CleaningCase{"NestedLeavesItsTail", "甲：p<a<b>c>d", "pc>d"},
                      CleaningCase{"CloseBeforeEveryOpenStays", "甲：x>y<z>w", "x>yw"},
                      CleaningCase{"CloseWithoutOpenStays", "甲：a>b", "a>b"},
                      CleaningCase{"OnlyMarkup", "甲：<a><b></b>", ""},
                      CleaningCase{"UnfinishedTagCutsTheRest", "甲：ab<cd", "ab"},
                      CleaningCase{"UnfinishedTagAfterAFinishedOne", "甲：a<b>c<d>e<f", "ace"},
                      CleaningCase{"LoneOpenAtTheEnd", "甲：你好<", "你好"},
                      CleaningCase{"EmptyTag", "甲：a<>b", "ab"},
                      CleaningCase{"MarkupBeforeTheSeparatorGoesWithTheSpeaker",
                                   "<i>张三</i>：你好<b>", "你好"},
                      CleaningCase{"TagHoldingTheSeparatorBeforeTheLine", "甲<x：>乙", ">乙"}),
    caseName);

// 埃 is B0 A3 and 好 is BA C3: side by side they hold the bytes A3 BA of the separator, across
// the boundary between the two characters.
INSTANTIATE_TEST_SUITE_P(
    CharacterBoundaries, CleanDialogueTextTest,
    ::testing::Values(
        CleaningCase{"FalseColonAcrossCharacters", "埃好", std::nullopt},
        CleaningCase{"RealColonAfterAFalseOne", "埃好：你", "你"},
        CleaningCase{"AsciiSpeaker", "Li：hi", "hi"},
        CleaningCase{"OddAsciiBeforeTheSeparator", "abc：x", "x"},
        CleaningCase{"LeadByteAtTheEnd", "abc\xB0", std::nullopt},
        CleaningCase{"LoneLeadByteSwallowsTheColonLead", "a\xB0\xA3\xBAz", std::nullopt},
        // 0x80 is a character of one byte in code page 936 (the euro sign), so the separator
        // A3 BA right after it still starts at a character boundary. Escapes only: the compiler
        // cannot put 0x80 beside GB2312 characters.
        CleaningCase{"SingleByteEuroRightBeforeTheSeparator", "\x80\xA3\xBA\xC4\xE3", "\xC4\xE3"},
        CleaningCase{"SingleByteEuroAfterAnOddSpeaker", "ab\x80\xA3\xBAx\x80", "x\x80"}),
    caseName);

TEST(CleanDialogueText, SourceLiteralsAreTheGameEncoding) {
    EXPECT_EQ(std::string("埃好"), "\xB0\xA3\xBA\xC3");
    EXPECT_EQ(std::string("："), SPEAKER_SEPARATOR);
}

TEST(CleanDialogueText, KeepsZeroBytesAndHighBytesAfterTheSeparator) {
    const std::string raw("\xA3\xBA"
                          "a\0b\xFF",
                          6);
    EXPECT_EQ(cleanDialogueText(raw), std::string("a\0b\xFF", 4));
}

TEST(CleanDialogueText, ManyTagsGiveTheTextBetweenThem) {
    std::string raw = "甲：";
    std::string expected;
    for (int i = 0; i < 1000; ++i) {
        raw += "ab<c>";
        expected += "ab";
    }
    EXPECT_EQ(cleanDialogueText(raw), expected);
}

} // namespace
} // namespace pal4
