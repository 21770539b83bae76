// Stepping back through this run's lines on the subtitle: the hot keys and the wheel, the
// game's new lines, the ten seconds, the bound; the tool wired as the exe wires it.
#include "harness/simulated_tool.hpp"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace pal4::testing {
namespace {

struct StepCase {
    const char* name;
    // "say TEXT", "lines N" (甲：行0 to 甲：行N-1), "blank", "unblank", "back N", "forward",
    // "up" and "down" (the wheel), "lock", "wait MS", "reopen"; each game action is polled.
    std::vector<std::string> script;
    std::string shown; // the label's text at the end
};

void PrintTo(const StepCase& c, std::ostream* os) {
    *os << c.name;
}

class SubtitleBacklogTest : public ::testing::TestWithParam<StepCase> {
protected:
    void run(const std::string& action) {
        std::istringstream words(action);
        std::string verb;
        std::string rest;
        words >> verb >> rest;
        const int n = rest.empty() ? 1 : std::atoi(rest.c_str());
        if (verb == "say") {
            tool.world.say(rest);
        } else if (verb == "lines") {
            for (int i = 0; i < n; ++i) {
                tool.world.say("甲：行" + std::to_string(i));
                tool.overlay.timerFires();
            }
        } else if (verb == "blank" || verb == "unblank") {
            tool.world.setBlank(verb == "blank");
        } else if (verb == "back" || verb == "forward") {
            for (int i = 0; i < n; ++i) {
                tool.panel.userPressesHotkey(verb == "back" ? Hotkey::Back : Hotkey::Forward);
            }
        } else if (verb == "up" || verb == "down") {
            tool.overlay.userRollsWheel(verb == "up" ? 1 : -1);
        } else if (verb == "lock") {
            tool.panel.userClicks(CheckBox::Lock);
        } else if (verb == "wait") {
            tool.clock.ms += static_cast<std::uint64_t>(n);
        } else if (verb == "reopen") {
            tool.panel.userClicksToggle();
            tool.panel.userClicksToggle();
        }
        tool.overlay.timerFires();
    }

    SimulatedTool tool;
};

TEST_P(SubtitleBacklogTest, ShowsTheGameLineOrTheOneSteppedTo) {
    tool.panel.create();
    ASSERT_EQ(tool.panel.hotkey(Hotkey::Back),
              (HotkeyCombination{HOTKEY_MOD_CONTROL | HOTKEY_MOD_ALT, 0x26}));
    tool.panel.userClicksToggle();
    for (const std::string& action : GetParam().script) {
        run(action);
    }
    EXPECT_EQ(tool.overlay.label().text, GetParam().shown);
}

const std::vector<std::string> TWO{"say 甲：一", "say 乙：二"};

std::vector<std::string> twoThen(std::vector<std::string> more) {
    more.insert(more.begin(), TWO.begin(), TWO.end());
    return more;
}

INSTANTIATE_TEST_SUITE_P(
    Steps, SubtitleBacklogTest,
    ::testing::Values(
        StepCase{"Back", twoThen({"back"}), "甲：一（前1句）"},
        StepCase{"BackTwiceForwardOnce",
                 {"say 甲：一", "say 乙：二", "say 丙：三", "back 2", "forward"},
                 "乙：二（前1句）"},
        StepCase{"PastTheNewestTheGameLine", twoThen({"back", "forward"}), "二"},
        StepCase{"TheOldestStays", twoThen({"back 3"}), "甲：一（前1句）"},
        StepCase{"NothingBeforeTheOnlyLine", {"say 甲：一", "back"}, "一"},
        StepCase{"BlankedTheNewestComesFirst", twoThen({"blank", "back"}), "乙：二（前1句）"},
        StepCase{"BlankedPastTheNewestNothing", twoThen({"blank", "back", "forward"}), ""},
        StepCase{"ANewLineEndsIt", twoThen({"back", "say 丙：三"}), "三"},
        StepCase{"ARepeatAfterABlankCountsOnce", twoThen({"blank", "unblank", "back"}),
                 "甲：一（前1句）"},
        StepCase{"ARepeatDoesNotEndIt", twoThen({"back", "blank", "unblank"}), "甲：一（前1句）"},
        StepCase{"TheBound", {"lines 101", "back 105"}, "甲：行1（前99句）"},
        StepCase{"WithinTenSeconds", twoThen({"back", "wait 9900"}), "甲：一（前1句）"},
        StepCase{"AStepRestartsTheTenSeconds",
                 {"say 甲：一", "say 乙：二", "say 丙：三", "back", "wait 6000", "back",
                  "wait 6000"},
                 "甲：一（前2句）"},
        StepCase{"TenSecondsAfterTheLastStep",
                 {"say 甲：一", "say 乙：二", "say 丙：三", "back", "wait 6000", "back",
                  "wait 6000", "forward", "wait 10000"},
                 "三"},
        StepCase{"TheWheelUpIsBack", twoThen({"up"}), "甲：一（前1句）"},
        StepCase{"TheWheelDownIsForward", twoThen({"up", "down"}), "二"},
        StepCase{"LockedTheWheelGoesBy", twoThen({"lock", "up"}), "二"},
        StepCase{"LockedTheHotKeyStillSteps", twoThen({"lock", "back"}), "甲：一（前1句）"},
        StepCase{"ClosingTheOverlayEndsIt", twoThen({"back", "reopen"}), "二"}),
    [](const ::testing::TestParamInfo<StepCase>& param) { return std::string(param.param.name); });

} // namespace
} // namespace pal4::testing
