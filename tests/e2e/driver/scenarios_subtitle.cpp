// What the overlay draws of the game's dialogue: the cleaned line, the blank flag, the
// see-through background, the debug sample and the module under a lower-case name.
#include "game_session.hpp"
#include "panel_controls.hpp"
#include "scenario_registry.hpp"
#include "scenario_steps.hpp"
#include "subtitle_pixels.hpp"
#include "tool_session.hpp"
#include "wait_until.hpp"

#include <string>
#include <vector>

namespace e2e {

namespace {

bool hasText(const ScreenCapture& capture) {
    return textPixels(capture).count > 0;
}

void dialogueLineCleaned(const DriverContext& context) {
    ToolSession tool(context, settingsWithTextColour());
    GameSession game(context, {});
    const HWND overlay = openOverlay(tool, game);

    showLine(tool, game, "李四：你好世界");
    const std::vector<bool> plain =
        textMask(waitForSettledCapture(overlay, hasText, "the plain line"));

    showLine(tool, game, "王五：再见");
    waitForSettledCapture(
        overlay, [&](const ScreenCapture& c) { return hasText(c) && textMask(c) != plain; },
        "another line");

    showLine(tool, game, "张三：你好<b>世界</b>");
    const ScreenCapture marked = waitForSettledCapture(overlay, hasText, "the marked-up line");
    require(textMask(marked) == plain,
            "the line with speaker and markup is not drawn like the plain line");

    // No separator: the poll takes the line (the help box shows it) but the subtitle stays.
    showLine(tool, game, "你好");
    Sleep(300);
    require(textMask(waitForSettledCapture(overlay, hasText, "the kept subtitle")) == plain,
            "a line without the separator changed the subtitle");

    showLine(tool, game, "张三：你好<b>世界</b>");
    game.setBlankFlag(1);
    waitForSettledCapture(
        overlay, [](const ScreenCapture& c) { return !hasText(c); }, "the blank flag to hide it");
    game.setBlankFlag(0);
    waitForSettledCapture(
        overlay, [&](const ScreenCapture& c) { return textMask(c) == plain; },
        "the line to show again once the blank flag cleared");
}

void backgroundSeeThrough(const DriverContext& context) {
    ToolSession tool(context, settingsWithTextColour());
    GameSession game(context, {});
    // The default place of the overlay, over the game's scene.
    const RECT area{10, 640, 10 + 1024, 640 + 160};
    ScreenCapture beneath;
    waitUntil(
        [&] {
            ScreenCapture now = captureScreen(area);
            const bool same = now == beneath;
            beneath = std::move(now);
            return same;
        },
        3000, 100);

    const HWND overlay = openOverlay(tool, game);
    const RECT placed = windowRect(overlay);
    require(placed.left == area.left && placed.top == area.top && placed.right == area.right &&
                placed.bottom == area.bottom,
            "the overlay is not at its default place");
    showLine(tool, game, "甲：你好世界");
    const ScreenCapture shown = waitForSettledCapture(overlay, hasText, "the line");
    const PixelSet text = textPixels(shown);
    const int margin = 4;
    const RECT aroundText{text.bounds->left - margin, text.bounds->top - margin,
                          text.bounds->right + margin, text.bounds->bottom + margin};
    const PixelSet covered = selectPixels(shown, [&](int x, int y) {
        const POINT point{x, y};
        return !PtInRect(&aroundText, point) && shown.at(x, y) != beneath.at(x, y);
    });
    require(covered.count == 0,
            std::to_string(covered.count) + " pixels away from the text hide the game beneath");
}

void debugSample(const DriverContext& context) {
    ToolSession tool(context, settingsWithTextColour());
    GameSession game(context, {});
    const std::wstring helpText = tool.caption(HELP_BOX);
    tool.click(DEBUG_BOX);
    require(waitUntil([&] { return tool.checked(DEBUG_BOX); }, 3000), "debug box not checked");
    game.setText("甲：调试时不读");
    const HWND overlay = openOverlay(tool, game);

    const ScreenCapture sample = waitForSettledCapture(overlay, hasText, "the debug sample");
    const RECT sampleBounds = *textPixels(sample).bounds;
    // 432 bytes at size 20 fill the 1024 pixels' width and several lines.
    require(sampleBounds.right - sampleBounds.left > 900 &&
                sampleBounds.bottom - sampleBounds.top > 80,
            "the sample does not fill several lines");
    Sleep(400);
    require(tool.caption(HELP_BOX) == helpText, "the game's line was polled in debug mode");
    require(textMask(captureWindowArea(overlay)) == textMask(sample),
            "the sample changed while debug mode was on");

    tool.click(DEBUG_BOX);
    require(waitUntil([&] { return tool.caption(HELP_BOX) != helpText; }, 3000),
            "the poll did not resume after debug mode was switched off");
    waitForSettledCapture(
        overlay,
        [](const ScreenCapture& c) {
            const PixelSet text = textPixels(c);
            return text.count > 0 && text.bounds->bottom - text.bounds->top < 60;
        },
        "the game's one-line subtitle after debug mode");
}

void lowerCaseModule(const DriverContext& context) {
    ToolSession tool(context, settingsWithTextColour());
    GameSession game(context, {.inGame = true, .lowerCaseModule = true});
    const HWND overlay = openOverlay(tool, game);
    showLine(tool, game, "甲：小写的模块名");
    waitForSettledCapture(overlay, hasText, "the subtitle with the module named in lower case");
}

const ScenarioRegistration registrations[] = {
    {"dialogue-line-cleaned", &dialogueLineCleaned},
    {"background-see-through", &backgroundSeeThrough},
    {"debug-sample", &debugSample},
    {"lower-case-module", &lowerCaseModule},
};

} // namespace

} // namespace e2e
