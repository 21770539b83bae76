// The byte rules of code page 936 text and ASCII case folding, at their edges.
#include "core/ascii_case.hpp"
#include "core/gb2312_bytes.hpp"

#include <gtest/gtest.h>

#include <string>

namespace {

struct ByteClass {
    unsigned char byte;
    bool lead;
    bool trail;
};

class Gb2312ByteClasses : public ::testing::TestWithParam<ByteClass> {};

TEST_P(Gb2312ByteClasses, LeadAndTrailRangesEndWhereCodePage936EndsThem) {
    const auto [byte, lead, trail] = GetParam();
    EXPECT_EQ(pal4::isLeadByte(static_cast<char>(byte)), lead) << int{byte};
    EXPECT_EQ(pal4::isTrailByte(static_cast<char>(byte)), trail) << int{byte};
}

INSTANTIATE_TEST_SUITE_P(
    Edges, Gb2312ByteClasses,
    ::testing::Values(ByteClass{0x00, false, false}, ByteClass{0x3F, false, false},
                      ByteClass{0x40, false, true}, ByteClass{0x5D, false, true}, // ']'
                      ByteClass{0x7E, false, true}, ByteClass{0x7F, false, false},
                      ByteClass{0x80, false, true}, ByteClass{0x81, true, true},
                      ByteClass{0xA1, true, true}, ByteClass{0xFE, true, true},
                      ByteClass{0xFF, false, false}));

struct Step {
    std::string text;
    std::size_t at;
    std::size_t loose;      // nextCharacter
    std::size_t wellFormed; // nextWellFormedCharacter
};

class Gb2312Steps : public ::testing::TestWithParam<Step> {};

TEST_P(Gb2312Steps, ALeadByteTakesItsPartnerOnlyWhereTheRuleSays) {
    const Step& step = GetParam();
    EXPECT_EQ(pal4::nextCharacter(step.text, step.at), step.loose);
    EXPECT_EQ(pal4::nextWellFormedCharacter(step.text, step.at), step.wellFormed);
}

INSTANTIATE_TEST_SUITE_P(Texts, Gb2312Steps,
                         ::testing::Values(Step{"ab", 0, 1, 1},     // ASCII stands alone
                                           Step{"宋体", 0, 2, 2},   // a whole character
                                           Step{"宋体", 2, 4, 4},   // the next one
                                           Step{"\xCB", 0, 1, 1},   // a lead byte at the end
                                           Step{"\xCB\n", 0, 2, 1}, // a line break is no trail byte
                                           Step{"\xCB\x7F", 0, 2, 1}, // nor is 0x7F
                                           Step{"\xCB]", 0, 2, 2},    // ']' can be one
                                           Step{std::string("\xCB\0", 2), 0, 2, 1})); // nor is NUL

struct Fold {
    std::string a;
    std::string b;
    bool equal;
};

class AsciiCaseFolding : public ::testing::TestWithParam<Fold> {};

TEST_P(AsciiCaseFolding, OnlyAsciiLettersFold) {
    const Fold& fold = GetParam();
    EXPECT_EQ(pal4::equalsIgnoringAsciiCase(fold.a, fold.b), fold.equal) << fold.a << " " << fold.b;
    EXPECT_EQ(pal4::equalsIgnoringAsciiCase(fold.b, fold.a), fold.equal) << fold.b << " " << fold.a;
}

INSTANTIATE_TEST_SUITE_P(Names, AsciiCaseFolding,
                         ::testing::Values(Fold{"Pal4.exe", "PAL4.EXE", true},
                                           Fold{"AZaz", "azAZ", true}, Fold{"@[`{", "@[`{", true},
                                           Fold{"@", "`", false}, // the bytes just before A and a
                                           Fold{"[", "{", false}, // and just after Z and z
                                           Fold{"Pal4.exe", "Pal4.ex", false},
                                           Fold{"\xC1", "\xE1",
                                                false}, // 0xC1/0xE1 fold in Latin-1, not here
                                           Fold{"宋体", "宋体", true}));

} // namespace
