// Opening and closing the overlay: the refusal, the toggle, Esc and closing the panel.
#include "child_process.hpp"
#include "game_session.hpp"
#include "message_box.hpp"
#include "panel_controls.hpp"
#include "scenario_registry.hpp"
#include "scenario_steps.hpp"
#include "scratch_folder.hpp"
#include "tool_session.hpp"
#include "wait_until.hpp"
#include "window_text.hpp"

#include <filesystem>
#include <optional>
#include <string>

namespace e2e {

namespace {

void expectRefusal(ToolSession& tool, const std::string& situation) {
    tool.click(TOGGLE_BUTTON);
    const auto box = waitForMessageBox(tool.processId(), REFUSAL_TITLE, 5000);
    require(box.has_value(), situation + ": no refusal message box");
    require(box->text == REFUSAL_TEXT, situation + ": the box says \"" + toUtf8(box->text) + "\"");
    require(box->buttonCount == 1,
            situation + ": the box has " + std::to_string(box->buttonCount) + " buttons");
    require(tool.overlayGone(0), situation + ": an overlay opened");
    require(tool.caption(TOGGLE_BUTTON) == CLOSED_CAPTION,
            situation + ": the toggle's caption changed");
    require(dismissMessageBox(*box, 5000), situation + ": the box did not go");
}

void refusalWithoutGame(const DriverContext& context) {
    ToolSession tool(context);
    expectRefusal(tool, "no game");
    // The refusal changes nothing: a second press is refused the same way.
    expectRefusal(tool, "no game, second press");
}

void refusalOutsideAGame(const DriverContext& context) {
    ToolSession tool(context);
    GameSession game(context, {.inGame = false});
    // The title screen's 0, a negative marker, and one just above zero but not above 1e-07.
    for (const float marker : {0.0f, -1.0f, 1e-8f}) {
        game.setMarker(marker);
        expectRefusal(tool, "marker " + std::to_string(marker));
    }
    const auto report = game.report();
    require(report.switchBits == SWITCH_CLOSED_BITS, "the refusal wrote into the game");
}

void toggleOpensAndCloses(const DriverContext& context) {
    ToolSession tool(context);
    GameSession game(context, {});
    require(!tool.settings().contains("left"), "the geometry was saved before any closing");
    openOverlay(tool, game);
    tool.click(TOGGLE_BUTTON);
    require(tool.overlayGone(3000), "the toggle did not close the overlay");
    tool.expectToggleCaption(CLOSED_CAPTION, "after closing");
    expectGameRestored(game, "after the toggle closed the overlay");
    const auto saved = tool.settings();
    require(saved.contains("left") && saved.contains("top") && saved.contains("width") &&
                saved.contains("height"),
            "closing the overlay did not save its geometry");
    // Opens again after a close.
    openOverlay(tool, game);

    // A second start, from another folder, brings the running panel back from the taskbar and
    // ends at once, writing nothing; the first tool's overlay stays.
    ShowWindow(tool.panel(), SW_MINIMIZE);
    const ScratchFolder other;
    const std::filesystem::path copy =
        other.path() / std::filesystem::path(context.toolExe).filename();
    require(CopyFileW(context.toolExe.c_str(), copy.c_str(), FALSE) != 0, "cannot copy the exe");
    const ChildProcess second(copy.wstring(), L"", other.path().wstring());
    DWORD exitCode = 1;
    require(second.waitForExit(10000, exitCode) && exitCode == 0,
            "a second start did not end at once with exit code 0");
    require(std::distance(std::filesystem::directory_iterator(other.path()),
                          std::filesystem::directory_iterator()) == 1,
            "the second start wrote beside its exe");
    require(
        waitUntil([&] { return !IsIconic(tool.panel()) && GetForegroundWindow() == tool.panel(); },
                  3000),
        "the running panel did not come to the front");
    require(!tool.overlayGone(0), "the second start closed the overlay");
}

void escapeClosesOverlay(const DriverContext& context) {
    ToolSession tool(context);
    GameSession game(context, {});
    const HWND overlay = openOverlay(tool, game);
    PostMessageW(overlay, WM_KEYDOWN, VK_ESCAPE, 0);
    require(tool.overlayGone(3000), "Esc did not close the overlay");
    tool.expectToggleCaption(CLOSED_CAPTION, "after Esc");
    expectGameRestored(game, "after Esc");
    require(tool.settings().contains("height"), "Esc's closing did not save the geometry");
}

void closingPanelEndsTool(const DriverContext& context) {
    ToolSession tool(context,
                     std::string("[config]\r\nleft=33\r\ntop=600\r\nwidth=900\r\nheight=120\r\n"));
    GameSession game(context, {});
    openOverlay(tool, game);
    tool.closePanel();
    DWORD exitCode = 12345;
    require(tool.waitForExit(5000, exitCode), "the tool still runs after its panel closed");
    require(exitCode == 0, "the tool ended with exit code " + std::to_string(exitCode));
    expectGameRestored(game, "after the panel closed");
    const auto saved = tool.settings();
    const auto value = [&](const char* key) {
        const auto found = saved.find(key);
        return found == saved.end() ? std::string("(none)") : found->second;
    };
    require(value("left") == "33" && value("top") == "600" && value("width") == "900" &&
                value("height") == "120",
            "the saved geometry is " + value("left") + "," + value("top") + " " + value("width") +
                "x" + value("height"));
}

const ScenarioRegistration registrations[] = {
    {"refusal-without-game", &refusalWithoutGame},
    {"refusal-outside-a-game", &refusalOutsideAGame},
    {"toggle-opens-and-closes", &toggleOpensAndCloses},
    {"escape-closes-overlay", &escapeClosesOverlay},
    {"closing-panel-ends-tool", &closingPanelEndsTool},
};

} // namespace

} // namespace e2e
