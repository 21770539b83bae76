#include "settings/hotkey_text.hpp"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>

namespace pal4 {
namespace {

constexpr std::uint32_t CTRL = HOTKEY_MOD_CONTROL;
constexpr std::uint32_t ALT = HOTKEY_MOD_ALT;
constexpr std::uint32_t SHIFT = HOTKEY_MOD_SHIFT;
constexpr std::uint32_t WIN = HOTKEY_MOD_WIN;

struct ValidCase {
    const char* text;
    std::uint32_t modifiers;
    std::uint32_t virtualKey;
    const char* formatted;
};

void PrintTo(const ValidCase& c, std::ostream* os) {
    *os << '"' << c.text << '"';
}

class ValidCombinationTest : public ::testing::TestWithParam<ValidCase> {};

TEST_P(ValidCombinationTest, ReadsModifiersAndKeyAndNamesThemInOneOrder) {
    const ValidCase& c = GetParam();
    const std::optional<HotkeyCombination> combination = parseHotkeyCombination(c.text);
    ASSERT_TRUE(combination.has_value());
    EXPECT_EQ(combination->modifiers, c.modifiers);
    EXPECT_EQ(combination->virtualKey, c.virtualKey);
    EXPECT_EQ(formatHotkeyCombination(*combination), c.formatted);
    // The formatted name reads back as the same combination.
    EXPECT_EQ(parseHotkeyCombination(c.formatted), combination);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ValidCombinationTest,
    ::testing::Values(
        ValidCase{"Ctrl+Alt+S", CTRL | ALT, 0x53, "Ctrl+Alt+S"},
        ValidCase{"ctrl+alt+s", CTRL | ALT, 0x53, "Ctrl+Alt+S"},
        ValidCase{"ALT+CTRL+s", CTRL | ALT, 0x53, "Ctrl+Alt+S"},
        ValidCase{" Ctrl + Shift + F9 ", CTRL | SHIFT, 0x78, "Ctrl+Shift+F9"},
        ValidCase{"\tC trl+\tF 1\t", CTRL, 0x70, "Ctrl+F1"},
        ValidCase{"Win+Shift+F24", SHIFT | WIN, 0x87, "Shift+Win+F24"},
        ValidCase{"Shift+F10", SHIFT, 0x79, "Shift+F10"}, ValidCase{"Alt+A", ALT, 0x41, "Alt+A"},
        ValidCase{"Alt+z", ALT, 0x5A, "Alt+Z"}, ValidCase{"Ctrl+0", CTRL, 0x30, "Ctrl+0"},
        ValidCase{"Ctrl+9", CTRL, 0x39, "Ctrl+9"},
        ValidCase{"ctrl+alt+up", CTRL | ALT, 0x26, "Ctrl+Alt+Up"},
        ValidCase{"Ctrl+Alt+DOWN", CTRL | ALT, 0x28, "Ctrl+Alt+Down"},
        ValidCase{"Alt+Left", ALT, 0x25, "Alt+Left"},
        ValidCase{"Alt+Right", ALT, 0x27, "Alt+Right"},
        ValidCase{"Ctrl+Page Up", CTRL, 0x21, "Ctrl+PageUp"},
        ValidCase{"Ctrl+pagedown", CTRL, 0x22, "Ctrl+PageDown"},
        ValidCase{"Shift+Home", SHIFT, 0x24, "Shift+Home"},
        ValidCase{"Win+End", WIN, 0x23, "Win+End"},
        ValidCase{"Win+Ctrl+Shift+Alt+F", CTRL | ALT | SHIFT | WIN, 0x46, "Ctrl+Alt+Shift+Win+F"}));

struct InvalidCase {
    const char* name;
    const char* text;
};

void PrintTo(const InvalidCase& c, std::ostream* os) {
    *os << c.name;
}

class InvalidCombinationTest : public ::testing::TestWithParam<InvalidCase> {};

TEST_P(InvalidCombinationTest, IsUnusable) {
    EXPECT_EQ(parseHotkeyCombination(GetParam().text), std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, InvalidCombinationTest,
    ::testing::Values(
        InvalidCase{"Empty", ""}, InvalidCase{"Blanks", "  "}, InvalidCase{"BareLetter", "S"},
        InvalidCase{"BareFunctionKey", "F9"}, InvalidCase{"OnlyModifiers", "Ctrl+Alt"},
        InvalidCase{"TrailingPlus", "Ctrl+Alt+"}, InvalidCase{"LeadingPlus", "+Ctrl+S"},
        InvalidCase{"DoublePlus", "Ctrl++S"}, InvalidCase{"ModifierTwice", "Ctrl+Alt+ctrl+S"},
        InvalidCase{"KeyFirst", "S+Ctrl"}, InvalidCase{"TwoKeys", "Ctrl+S+T"},
        InvalidCase{"KeyInTheMiddle", "Ctrl+S+Alt"}, InvalidCase{"F0", "Ctrl+F0"},
        InvalidCase{"F25", "Ctrl+F25"}, InvalidCase{"F100", "Ctrl+F100"},
        InvalidCase{"LeadingZero", "Ctrl+F09"}, InvalidCase{"FWithoutNumber", "Ctrl+Fx"},
        InvalidCase{"Punctuation", "Ctrl+-"}, InvalidCase{"Word", "Ctrl+Space"},
        InvalidCase{"BareArrow", "Up"}, InvalidCase{"ArrowAsModifier", "Up+Ctrl"},
        InvalidCase{"OtherArrowName", "Ctrl+UpArrow"}, InvalidCase{"PageAlone", "Ctrl+Page"},
        InvalidCase{"OtherModifierName", "Control+S"}, InvalidCase{"Misspelt", "Crtl+S"},
        InvalidCase{"DoubleByteKey", "Ctrl+\xA3\xD3"}, // full-width S in GB2312
        InvalidCase{"NoSeparator", "CtrlS"}),
    [](const ::testing::TestParamInfo<InvalidCase>& param) {
        return std::string(param.param.name);
    });

} // namespace
} // namespace pal4
