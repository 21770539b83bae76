#include "ini_cases.hpp"
#include "settings/ini_document.hpp"

#include <gtest/gtest.h>

namespace pal4::testing {
namespace {

class IniDocumentTable : public ::testing::TestWithParam<IniCase> {};

TEST_P(IniDocumentTable, ReadsAndWritesExactBytes) {
    const IniCase& test = GetParam();
    IniDocument document(test.input);
    for (const IniRead& read : test.reads) {
        EXPECT_EQ(document.value(read.section, read.key), read.expected)
            << "[" << read.section << "] " << read.key;
    }
    for (const IniWrite& write : test.writes) {
        EXPECT_TRUE(document.setValue(write.section, write.key, write.value)) << write.key;
    }
    EXPECT_EQ(document.bytes(), test.output);

    // What was written reads back, also after parsing the result afresh.
    const IniDocument reparsed(document.bytes());
    for (const IniWrite& write : test.writes) {
        EXPECT_EQ(reparsed.value(write.section, write.key), write.value) << write.key;
    }
}

INSTANTIATE_TEST_SUITE_P(Files, IniDocumentTable, ::testing::ValuesIn(iniCases()),
                         [](const auto& test) { return test.param.name; });

struct RefusedWrite {
    const char* name;
    std::string section;
    std::string key;
    std::string value;
};

class IniDocumentRefusal : public ::testing::TestWithParam<RefusedWrite> {};

// Such a write would change other keys or read back as something else, so it is refused and
// the file stays byte for byte as it was.
TEST_P(IniDocumentRefusal, LeavesTheFileUnchanged) {
    const std::string input = "[config]\r\nsize=20\r\n";
    IniDocument document(input);
    const RefusedWrite& write = GetParam();
    EXPECT_FALSE(document.setValue(write.section, write.key, write.value));
    EXPECT_EQ(document.bytes(), input);
}

INSTANTIATE_TEST_SUITE_P(
    Writes, IniDocumentRefusal,
    ::testing::Values(RefusedWrite{"ValueWithLineFeed", "config", "font", "a\nleft=0"},
                      RefusedWrite{"ValueWithCarriageReturn", "config", "font", "a\rb"},
                      RefusedWrite{"ValueWithNul", "config", "font", std::string("a\0b", 3)},
                      RefusedWrite{"KeyWithEquals", "config", "si=ze", "1"},
                      RefusedWrite{"KeyLikeAComment", "config", ";size", "1"},
                      RefusedWrite{"KeyLikeASection", "config", "[size", "1"},
                      RefusedWrite{"KeyWithLineFeed", "config", "a\nb", "1"},
                      RefusedWrite{"EmptyKey", "config", "", "1"},
                      RefusedWrite{"BlankAroundKey", "config", " size", "1"},
                      RefusedWrite{"EmptySection", "", "size", "1"},
                      RefusedWrite{"SectionWithBracket", "con]fig", "size", "1"},
                      RefusedWrite{"SectionEndingInLeadByte", "config\xB0", "size", "1"}),
    [](const auto& test) { return std::string(test.param.name); });

TEST(IniDocument, Utf16FileHasNoValuesAndIsNeverEdited) {
    const std::string input("\xFF\xFE[\0c\0]\0\r\0\n\0", 12);
    IniDocument document(input);
    EXPECT_EQ(document.value("c", "x"), std::nullopt);
    EXPECT_FALSE(document.setValue("config", "size", "20"));
    EXPECT_EQ(document.bytes(), input);
}

TEST(IniDocument, BracketAsTrailByteOfAChineseCharacterDoesNotEndTheSectionName) {
    // 0x81 0x5D is one GBK character whose second byte is ']'.
    IniDocument document("[a\x81]b]\r\nk=v\r\n");
    EXPECT_EQ(document.value("a\x81]b", "k"), "v");
}

} // namespace
} // namespace pal4::testing
