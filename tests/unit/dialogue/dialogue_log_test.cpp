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

std::string utf8(std::u8string_view text) {
    return {text.begin(), text.end()};
}

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
            *expected += "2026-03-07 21:05:30 " + utf8(line) + "\r\n";
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
        // A lead byte without its trail takes nothing that follows it: not a digit, a blank,
        // punctuation or a line end.
        LogCase{"StrayLeadBytesKeepWhatFollows",
                {"甲：\xB0"
                 "1\xB0 \xB0,\xB0\n\xC4"},
                {u8"甲：\uFFFD1\uFFFD \uFFFD,\uFFFD \uFFFD"},
                u"甲：\uFFFD1\uFFFD \uFFFD,\uFFFD\n\uFFFD"},
        LogCase{"LineBreaksBecomeBlanks", {"甲：你\r\n好\r"}, {u8"甲：你  好 "}, u"甲：你\r\n好\r"},
        LogCase{"NoSeparatorNoLine", {"你好"}, {}, u""},
        LogCase{"EmptySubtitleNoLine", {"甲："}, {}, u""}),
    [](const ::testing::TestParamInfo<LogCase>& param) { return std::string(param.param.name); });

// The clipboard held by another program: tried at once and on the next three ticks, then the
// line is given up, never waited for.
TEST(DialogueClipboard, ABusyClipboardIsTriedOnThreeMoreTicksThenSkipped) {
    for (const int busy : {3, 4}) {
        AppState state;
        state.clipboardOn = true;
        testing::FakePanel panel;
        testing::FakeDialogueMachine machine{state, panel};
        machine.clipboard.busyAttempts = busy;
        machine.outputs.onDialogueLine("甲：你好");
        for (int tick = 0; tick < 5; ++tick) {
            machine.outputs.onTick();
        }
        EXPECT_EQ(machine.clipboard.content, busy == 3 ? u"甲：你好" : u"") << busy;
        EXPECT_EQ(machine.clipboard.busyAttempts, 0) << busy;
    }
}

// Closing the overlay gives up a line the clipboard has not taken: what the player copies
// afterwards is theirs.
TEST(DialogueClipboard, ALineStillWaitingWhenTheOverlayClosesIsGivenUp) {
    AppState state;
    state.clipboardOn = true;
    testing::FakePanel panel;
    testing::FakeDialogueMachine machine{state, panel};
    machine.clipboard.busyAttempts = 1;
    machine.outputs.onDialogueLine("甲：你好");
    machine.outputs.onOverlayClosed();
    machine.outputs.onOverlayOpened();
    machine.outputs.onTick();
    EXPECT_EQ(machine.clipboard.content, u"");
}

// A folder the files cannot be written to: the edit box says so once per opening of the
// overlay, and the lines keep coming.
TEST(DialogueFiles, AFolderThatRefusesIsNamedOncePerOpening) {
    AppState state;
    testing::FakePanel panel;
    panel.setChecked(CheckBox::History, true);
    testing::FakeDialogueMachine machine{state, panel};
    machine.files.makeReadOnly(machine.shell.programDirectory());
    const std::string failed = "无法写入对白记录：";
    for (int opening = 0; opening < 2; ++opening) {
        machine.outputs.onOverlayOpened();
        machine.outputs.onDialogueLine(opening == 0 ? "甲：你好" : "甲：好");
        EXPECT_EQ(panel.editText().rfind(failed, 0), 0u) << panel.editText();
        panel.setEditText("甲：好");
        machine.outputs.onDialogueLine("甲：你");
        EXPECT_EQ(panel.editText(), "甲：好");
        machine.outputs.onOverlayClosed();
    }
}

// The outputs with 记录对白 ticked, and where the story log goes.
class KeptDialogue : public ::testing::Test {
protected:
    KeptDialogue() { panel.setChecked(CheckBox::History, true); }
    AppState state;
    testing::FakePanel panel;
    testing::FakeDialogueMachine machine{state, panel};
    const std::filesystem::path log = machine.shell.programDirectory() / u8"对白记录.txt";
};

// Another program holds the log, sharing nothing: the lines wait, in order and with the time
// they were shown, and go in as soon as the file takes them; the edit box keeps saying so under
// each new line meanwhile. A log that exists but is empty gets its byte-order mark first.
TEST_F(KeptDialogue, AHeldLogCatchesUpInOrderOnceItIsFree) {
    machine.files.putFile(log, "");
    machine.files.hold(log);
    machine.outputs.onOverlayOpened();
    machine.outputs.onDialogueLine("甲：你好");
    machine.clock.now.second = 31;
    machine.outputs.onDialogueLine("甲：好");
    machine.outputs.onTick();
    EXPECT_EQ(machine.files.file(log), "");
    EXPECT_EQ(machine.outputs.editBoxText("甲：好"), "甲：好\r\n无法写入对白记录：对白记录.txt");

    machine.files.release(log);
    machine.outputs.onTick();
    EXPECT_EQ(machine.files.file(log), "\xEF\xBB\xBF" + utf8(u8"2026-03-07 21:05:30 甲：你好\r\n"
                                                             u8"2026-03-07 21:05:31 甲：好\r\n"));
    EXPECT_EQ(machine.outputs.editBoxText("甲：你"), "甲：你");
}

// Past an hour of dialogue the newest lines are dropped, never the waiting ones, and the edit
// box says how many; so does one line of the log in their place.
TEST_F(KeptDialogue, PastTheBoundNewLinesAreDroppedAndCounted) {
    machine.files.hold(log);
    for (std::size_t line = 0; line < MAX_WAITING_LOG_LINES + 2; ++line) {
        machine.outputs.onDialogueLine(line % 2 == 0 ? "甲：你好" : "甲：好");
    }
    EXPECT_EQ(machine.outputs.editBoxText("甲：好"),
              "甲：好\r\n无法写入对白记录：对白记录.txt（已丢弃2句对白）");
    machine.files.release(log);
    machine.outputs.onTick();
    const std::string kept = *machine.files.file(log);
    EXPECT_EQ(static_cast<std::size_t>(std::count(kept.begin(), kept.end(), '\n')),
              MAX_WAITING_LOG_LINES + 1);
    EXPECT_TRUE(kept.ends_with(utf8(u8"好\r\n2026-03-07 21:05:30 （已丢弃2句对白）\r\n")));
}

// A disk that fills up midway through an append, at any byte of a line or of a catch-up: what
// went in stays, the rest follows it, and the log holds whole lines only, each once, in order.
TEST_F(KeptDialogue, AnAppendCutShortAnywhereLeavesEachLineOnce) {
    const std::string whole =
        "\xEF\xBB\xBF" + utf8(u8"2026-03-07 21:05:30 甲：你好\r\n2026-03-07 21:05:30 甲：好\r\n"
                              u8"2026-03-07 21:05:30 甲：你\r\n");
    for (std::size_t cut = 0; cut < whole.size(); ++cut) {
        testing::FakeDialogueMachine fresh{state, panel};
        fresh.files.hold(log);
        for (const char* line : {"甲：你好", "甲：好", "甲：你"}) {
            fresh.outputs.onDialogueLine(line);
        }
        fresh.files.release(log);
        fresh.files.cutAppendsAfter(cut);
        fresh.outputs.onTick();
        fresh.outputs.onTick();
        EXPECT_EQ(fresh.files.file(log), whole) << cut;
    }
}

// Lines still waiting when the tool ends are kept beside the log, across starts that cannot
// write it either; the first start that can puts them in first, in order, and says so.
TEST_F(KeptDialogue, LinesLeftAtTheEndGoInFirstAtTheNextStart) {
    std::optional<DialogueOutputs> run;
    const auto start = [&] {
        run.emplace(state, panel, machine.shell, machine.files, machine.clipboard, machine.clock,
                    machine.decoder);
        return run->onToolStarted();
    };
    machine.files.hold(log);
    machine.outputs.onDialogueLine("甲：你好");
    machine.outputs.onDialogueLine("甲：好");
    machine.outputs.onToolClosing();
    EXPECT_EQ(start(), "无法写入对白记录：对白记录.txt");
    run->onDialogueLine("甲：你");
    run->onToolClosing();
    machine.files.release(log);
    EXPECT_EQ(start(), "上次未能写入的3句对白已补入对白记录.txt");
    run->onDialogueLine("甲：好");
    EXPECT_EQ(machine.files.file(log), "\xEF\xBB\xBF" + utf8(u8"2026-03-07 21:05:30 甲：你好\r\n"
                                                             u8"2026-03-07 21:05:30 甲：好\r\n"
                                                             u8"2026-03-07 21:05:30 甲：你\r\n"
                                                             u8"2026-03-07 21:05:30 甲：好\r\n"));
    EXPECT_FALSE(machine.files.exists(machine.shell.programDirectory() / u8"对白记录.未写入.txt"));
}

// The live line never shows a line that is gone: a file left by an earlier run is emptied when
// the overlay opens, even with the switch off (but never made then); switching the log off or
// closing the overlay empties it; a replacement the file refused is made on the next tick,
// without waiting for the disk, and the edit box says so meanwhile.
TEST(DialogueFiles, TheLiveLineIsNeverLeftStale) {
    AppState state;
    testing::FakePanel panel;
    testing::FakeDialogueMachine machine{state, panel};
    const auto live = machine.shell.programDirectory() / u8"当前对白.txt";
    const std::string bom = "\xEF\xBB\xBF";
    machine.files.putFile(live, bom + "old");
    machine.outputs.onOverlayOpened();
    EXPECT_EQ(machine.files.file(live), bom);

    panel.setChecked(CheckBox::History, true);
    machine.outputs.onHistorySwitched();
    machine.outputs.onDialogueLine("甲：你好");
    EXPECT_EQ(machine.files.file(live), bom + utf8(u8"你好"));
    panel.setChecked(CheckBox::History, false);
    machine.outputs.onHistorySwitched();
    EXPECT_EQ(machine.files.file(live), bom);

    panel.setChecked(CheckBox::History, true);
    machine.outputs.onHistorySwitched();
    machine.files.hold(live);
    machine.outputs.onDialogueLine("甲：好");
    EXPECT_EQ(machine.outputs.editBoxText("甲：好"), "甲：好\r\n无法写入对白记录：当前对白.txt");
    machine.files.release(live);
    machine.outputs.onTick();
    EXPECT_EQ(machine.files.file(live), bom + utf8(u8"好"));
    machine.files.holdFor(live, 2); // a reader as the overlay closes: the tool's last tries
    machine.outputs.onOverlayClosed();
    machine.outputs.onToolClosing();
    EXPECT_EQ(machine.files.file(live), bom);
    EXPECT_EQ(machine.files.cachedReplacements(), machine.files.replacements());
}

} // namespace
} // namespace pal4
