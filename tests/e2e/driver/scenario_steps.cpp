#include "scenario_steps.hpp"

#include "keyboard_input.hpp"
#include "panel_controls.hpp"
#include "wait_until.hpp"
#include "window_text.hpp"

#include <cstdio>

namespace e2e {

namespace {

std::string hex(std::uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", value);
    return text;
}

void expectGameValues(GameSession& game, std::uint32_t marker, std::uint32_t switchBits,
                      const std::string& when) {
    pal4sim::SimGameReport seen;
    const bool reached = waitUntil(
        [&] {
            seen = game.report();
            return seen.markerBits == marker && seen.switchBits == switchBits;
        },
        3000);
    require(reached, when + ": the game holds marker " + hex(seen.markerBits) + " and switch " +
                         hex(seen.switchBits) + ", not " + hex(marker) + " and " + hex(switchBits));
}

} // namespace

HWND openOverlay(ToolSession& tool, GameSession& game) {
    tool.click(TOGGLE_BUTTON);
    const HWND overlay = tool.waitForOverlay();
    tool.expectToggleCaption(OPEN_CAPTION, "after opening");
    expectGameValues(game, OPEN_MARKER_BITS, SWITCH_OPEN_BITS, "after opening");
    return overlay;
}

void expectGameRestored(GameSession& game, const std::string& when) {
    expectGameValues(game, RESTORE_MARKER_BITS, SWITCH_CLOSED_BITS, when);
}

void showLine(ToolSession& tool, GameSession& game, const std::string& gb2312) {
    game.setText(gb2312);
    const std::wstring expected = fromGb2312(gb2312);
    require(waitUntil([&] { return tool.caption(HELP_BOX) == expected; }, 3000),
            "the poll did not take the line \"" + toUtf8(expected) + "\"");
}

void pressKeys(GameSession& game, std::initializer_list<WORD> keys) {
    SetForegroundWindow(game.window());
    std::string why;
    const bool ready = waitUntil(
        [&] {
            why = whyKeysWouldMiss(game.window());
            return why.empty();
        },
        2000);
    require(ready, "keys not sent to the game's window: " + why);
    require(pressAndRelease(keys), "SendInput took only part of the keys");
}

} // namespace e2e
