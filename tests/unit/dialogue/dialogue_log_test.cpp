#include "dialogue/dialogue_outputs.hpp"
#include "fakes/fake_dialogue_ports.hpp"
#include "fakes/fake_panel.hpp"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace pal4 {
namespace {

struct LogCase {
    const char* name;
    std::vector<std::string> raw;      // the lines the overlay took, in order (GB2312)
    std::vector<std::u8string> logged; // the log's lines without their time
    std::u16string clipboard;          // the last line put on the clipboard
};

void PrintTo(const LogCase& c, std::ostream* os) {
    *os << c.name;
}

class DialogueLogTest : public ::testing::TestWithParam<LogCase> {};

TEST_P(DialogueLogTest, AppendsEachNewLineWithTimeAndSpeaker) {
    AppState state;
    state.clipboardOn = true;
    testing::FakePanel panel;
    panel.setChecked(CheckBox::History, true);
    testing::FakeDialogueMachine machine{state, panel};
    for (const std::string& raw : GetParam().raw) {
        machine.outputs.onDialogueLine(raw);
    }

    std::optional<std::string> expected;
    if (!GetParam().logged.empty()) {
        expected = "\xEF\xBB\xBF";
        for (const std::u8string& line : GetParam().logged) {
            *expected += "2026-03-07 09:05:30 " + std::string(line.begin(), line.end()) + "\r\n";
        }
    }
    EXPECT_EQ(machine.files.file(machine.shell.programDirectory() / u8"对白记录.txt"), expected);
    EXPECT_EQ(machine.clipboard.content, GetParam().clipboard);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, DialogueLogTest,
    ::testing::Values(
        LogCase{"SpeakerAndSeparator", {"甲：你好"}, {u8"甲：你好"}, u"甲：你好"},
        LogCase{"MarkupLeavesBothParts", {"<c>甲</c>：<b>你好</b>"}, {u8"甲：你好"}, u"甲：你好"},
        LogCase{"NoNameNoSeparator", {"：你好"}, {u8"你好"}, u"你好"},
        LogCase{
            "RepeatedLineKeptOnce", {"甲：你好", "甲：<b>你好</b>"}, {u8"甲：你好"}, u"甲：你好"},
        LogCase{"ALineMayComeBackLater",
                {"甲：你好", "甲：好", "甲：你好"},
                {u8"甲：你好", u8"甲：好", u8"甲：你好"},
                u"甲：你好"},
        LogCase{"BadBytesBecomeReplacements",
                {"甲：你\xFF好\xB0\xA1\xC4"},
                {u8"甲：你\uFFFD好\uFFFD\uFFFD"},
                u"甲：你\uFFFD好\uFFFD\uFFFD"},
        LogCase{"NoSeparatorNoLine", {"你好"}, {}, u""},
        LogCase{"EmptySubtitleNoLine", {"甲："}, {}, u""}),
    [](const ::testing::TestParamInfo<LogCase>& param) { return std::string(param.param.name); });

} // namespace
} // namespace pal4
