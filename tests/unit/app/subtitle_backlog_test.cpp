// Stepping back through this run's lines on the subtitle, the tool wired as the exe wires it.
#include "harness/simulated_tool.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <sstream>
#include <string>

namespace pal4::testing {
namespace {

struct StepCase {
    const char* name;
    // Each word a letter and a count: sN the game's next N lines 甲：行0, 甲：行1, ...; x the
    // blank flag set, o cleared; bN back and fN forward by hot key, u and d the wheel; l the
    // lock clicked; wN N ms pass; r the overlay closed and opened again. A poll after each.
    const char* script;
    const char* shown; // the label at the end
};

TEST(SubtitleBacklogTest, ShowsTheGameLineOrTheOneSteppedTo) {
    const StepCase cases[] = {
        {"Back", "s2 b", "甲：行0（前1句）"},
        {"BackTwiceForwardOnce", "s3 b2 f", "甲：行1（前1句）"},
        {"PastTheNewestTheGameLine", "s2 b f", "行1"},
        {"NothingBeforeTheOnlyLine", "s1 b", "行0"},
        {"BlankedTheNewestComesFirst", "s2 x b", "甲：行1（前1句）"},
        {"BlankedPastTheNewestNothing", "s2 x b f", ""},
        {"ANewLineEndsIt", "s2 b s1", "行2"},
        {"ARepeatAfterABlankCountsOnce", "s2 x o b", "甲：行0（前1句）"},
        {"ARepeatDoesNotEndIt", "s2 b x o", "甲：行0（前1句）"},
        {"TheBound", "s101 b105", "甲：行1（前99句）"},
        {"AStepRestartsTheTenSeconds", "s3 b w6000 b w6000", "甲：行0（前2句）"},
        {"TenSecondsAfterTheLastStep", "s3 b w6000 b w6000 f w10000", "行2"},
        {"TheWheelUpIsBack", "s2 u", "甲：行0（前1句）"},
        {"TheWheelDownIsForward", "s2 u d", "行1"},
        {"LockedTheWheelGoesBy", "s2 l u", "行1"},
        {"LockedTheHotKeyStillSteps", "s2 l b", "甲：行0（前1句）"},
        {"ClosingTheOverlayEndsIt", "s2 b r", "行1"},
    };
    for (const StepCase& c : cases) {
        SimulatedTool tool;
        tool.panel.create();
        ASSERT_EQ(tool.panel.hotkey(Hotkey::Back), (HotkeyCombination{0x3, 0x26})); // Ctrl+Alt+Up
        tool.panel.userClicksToggle();
        int said = 0;
        const std::map<char, std::function<void()>> acts{
            {'s', [&] { tool.world.say("甲：行" + std::to_string(said++)); }},
            {'x', [&] { tool.world.setBlank(true); }},
            {'o', [&] { tool.world.setBlank(false); }},
            {'b', [&] { tool.panel.userPressesHotkey(Hotkey::Back); }},
            {'f', [&] { tool.panel.userPressesHotkey(Hotkey::Forward); }},
            {'u', [&] { tool.overlay.userRollsWheel(1); }},
            {'d', [&] { tool.overlay.userRollsWheel(-1); }},
            {'l', [&] { tool.panel.userClicks(CheckBox::Lock); }},
            {'r', [&] { tool.panel.userClicksToggle(), tool.panel.userClicksToggle(); }}};
        std::istringstream words(c.script);
        for (std::string word; words >> word;) {
            const int n = word.size() > 1 ? std::stoi(word.substr(1)) : 1;
            if (word[0] == 'w') {
                tool.clock.ms += static_cast<std::uint64_t>(n);
                tool.overlay.timerFires();
            }
            for (int i = 0; word[0] != 'w' && i < n; ++i) {
                acts.at(word[0])();
                tool.overlay.timerFires();
            }
        }
        EXPECT_EQ(tool.overlay.label().text, c.shown) << c.name;
    }
}

} // namespace
} // namespace pal4::testing
