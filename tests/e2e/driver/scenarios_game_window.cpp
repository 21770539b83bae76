// The subtitle living with the game's window: above it when it comes to the front, moved with
// it, hidden with it, and locked so that clicks on the text reach the game.
#include "game_session.hpp"
#include "keyboard_input.hpp"
#include "panel_controls.hpp"
#include "pointer_input.hpp"
#include "scenario_registry.hpp"
#include "scenario_steps.hpp"
#include "subtitle_pixels.hpp"
#include "tool_session.hpp"
#include "wait_until.hpp"
#include "window_text.hpp"

#include <string>

namespace e2e {

namespace {

// Longer than the tool's goal of 300 ms, which the benchmark measures: this only shows it works.
constexpr DWORD BACK_WITHIN_MS = 1500;

using pal4sim::control::WindowAction;

std::uint32_t gameWindow(GameSession& game, WindowAction action, int left = 0, int top = 0) {
    const auto clicks = game.game().window(action, left, top);
    require(clicks.has_value(), "the simulated game did not act on its window");
    return *clicks;
}

int textOnScreen(HWND overlay) {
    return textPixels(captureWindowArea(overlay)).count;
}

void expectTextBack(HWND overlay, const std::string& after) {
    require(waitUntil([&] { return textOnScreen(overlay) > 0; }, BACK_WITHIN_MS),
            "the subtitle did not come back above the game after " + after);
}

// A pixel of the subtitle's text, on the screen.
POINT textPixelOf(HWND overlay) {
    const ScreenCapture capture = captureWindowArea(overlay);
    for (int y = 0; y < capture.height; ++y) {
        for (int x = 0; x < capture.width; ++x) {
            if (capture.at(x, y) == TEXT_RGB) {
                return {capture.area.left + x, capture.area.top + y};
            }
        }
    }
    throw ScenarioFailure("no text pixel on the screen");
}

// Clicks, then tells how many of them the game received.
std::uint32_t clicksReaching(GameSession& game, POINT pixel, int clicks) {
    const std::uint32_t before = gameWindow(game, pal4sim::control::COUNT);
    require(clickAt(pixel, clicks), "the clicks were not made");
    Sleep(200);
    return gameWindow(game, pal4sim::control::COUNT) - before;
}

void livesWithTheGame(const DriverContext& context) {
    ToolSession tool(context, settingsWithTextColour());
    GameSession game(context, {});
    const HWND overlay = openOverlay(tool, game);
    showLine(tool, game, "甲：山上的花都开了");
    waitForSettledCapture(
        overlay, [](const ScreenCapture& c) { return textPixels(c).count > 0; }, "the line");

    // The lock: clicks on the text reach the game only while it is on.
    const POINT text = textPixelOf(overlay);
    require(clicksReaching(game, text, 3) == 0, "unlocked, a click on the text reached the game");
    tool.click(LOCK_BOX);
    require(waitUntil([&] { return tool.settings()["lock"] == "on"; }, 3000), "lock not saved");
    require(clicksReaching(game, text, 3) == 3, "locked, clicks on the text missed the game");
    tool.click(LOCK_BOX);
    require(waitUntil([&] { return tool.settings()["lock"] == "off"; }, 3000), "unlock not saved");

    // Above: a click into the game through the see-through background, the game bringing itself
    // to the front, joining the topmost band and making its window anew.
    const RECT place = windowRect(overlay);
    const POINT background{place.right - 60, place.bottom - 20};
    SetForegroundWindow(tool.panel());
    require(clicksReaching(game, background, 1) == 1, "the click did not reach the game");
    expectTextBack(overlay, "a click into the game");
    SetForegroundWindow(tool.panel());
    gameWindow(game, pal4sim::control::FOREGROUND);
    expectTextBack(overlay, "the game came to the front");
    gameWindow(game, pal4sim::control::TOPMOST);
    expectTextBack(overlay, "the game made itself topmost");
    // A window made anew, as on a switch to full screen, is mapped on top of every other.
    gameWindow(game, pal4sim::control::RECREATE);
    expectTextBack(overlay, "the game made its window anew");

    // Follows: the game's window moved by (40, -20) takes the subtitle, its sliders and captions
    // (the subtitle stays on the 1280x800 screen, where its pixels can be read).
    gameWindow(game, pal4sim::control::MOVE, 40, -20);
    require(waitUntil(
                [&] {
                    const RECT moved = windowRect(overlay);
                    return moved.left == place.left + 40 && moved.top == place.top - 20;
                },
                BACK_WITHIN_MS),
            "the subtitle did not follow the game's window");
    require(waitUntil([&] { return tool.caption(LEFT_CAPTION) == L"水平位置 = 50"; }, 3000),
            "the caption shows \"" + toUtf8(tool.caption(LEFT_CAPTION)) + "\"");

    // Hides with it, not closed, and comes back with the line.
    gameWindow(game, pal4sim::control::MINIMISE);
    require(waitUntil([&] { return IsWindowVisible(overlay) == FALSE; }, BACK_WITHIN_MS),
            "the subtitle stayed with the game minimised");
    require(tool.caption(TOGGLE_BUTTON) == OPEN_CAPTION, "hiding closed the overlay");
    gameWindow(game, pal4sim::control::RESTORE);
    expectTextBack(overlay, "the game was restored");

    tool.click(TOGGLE_BUTTON);
    require(tool.overlayGone(3000), "the overlay did not close");
    // Each key is its own write: both are waited for.
    const auto placeSaved = [&] {
        auto saved = tool.settings();
        return saved["left"] == "50" && saved["top"] == "620";
    };
    require(waitUntil(placeSaved, 3000), "the followed place was not saved");
}

const ScenarioRegistration registrations[] = {
    {"lives-with-the-game-window", &livesWithTheGame},
};

} // namespace

} // namespace e2e
