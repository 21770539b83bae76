// The game ending under an open overlay.
#include "game_session.hpp"
#include "panel_controls.hpp"
#include "scenario_registry.hpp"
#include "scenario_steps.hpp"
#include "subtitle_pixels.hpp"
#include "tool_session.hpp"

namespace e2e {

namespace {

void gameKilledWhileShowing(const DriverContext& context) {
    ToolSession tool(context, settingsWithTextColour());
    GameSession game(context, {});
    const HWND overlay = openOverlay(tool, game);
    showLine(tool, game, "甲：游戏就要结束");
    waitForSettledCapture(
        overlay, [](const ScreenCapture& c) { return textPixels(c).count > 0; }, "the line");
    game.kill();
    waitForSettledCapture(
        overlay, [](const ScreenCapture& c) { return textPixels(c).count == 0; },
        "the subtitle to go with the game");
    require(tool.running(), "the tool ended with the game");
    tool.click(TOGGLE_BUTTON);
    require(tool.overlayGone(3000), "the toggle did not close the overlay after the game ended");
    tool.expectToggleCaption(CLOSED_CAPTION, "after closing without a game");
}

const ScenarioRegistration registrations[] = {
    {"game-killed-while-showing", &gameKilledWhileShowing},
};

} // namespace

} // namespace e2e
