// The panel's controls changing an open overlay: the sliders move it, the style boxes change
// its pixels.
#include "game_session.hpp"
#include "outline_pixels.hpp"
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

void sliderMovesOverlay(const DriverContext& context) {
    ToolSession tool(context);
    GameSession game(context, {});
    const HWND overlay = openOverlay(tool, game);
    struct Move {
        int slider;
        int caption;
        int value;
        const wchar_t* prefix;
    };
    const Move moves[] = {
        {LEFT_SLIDER, LEFT_CAPTION, 200, L"水平位置 = "},
        {TOP_SLIDER, TOP_CAPTION, 500, L"垂直位置 = "},
        {WIDTH_SLIDER, WIDTH_CAPTION, 600, L"文本宽度 = "},
        {HEIGHT_SLIDER, HEIGHT_CAPTION, 90, L"文本高度 = "},
    };
    for (const Move& move : moves) {
        tool.moveSlider(move.slider, move.value);
        require(waitUntil(
                    [&] {
                        return tool.caption(move.caption) ==
                               move.prefix + std::to_wstring(move.value);
                    },
                    3000),
                "the caption did not follow slider " + std::to_string(move.slider));
    }
    RECT placed{};
    const bool followed = waitUntil(
        [&] {
            placed = windowRect(overlay);
            return placed.left == 200 && placed.top == 500 && placed.right - placed.left == 600 &&
                   placed.bottom - placed.top == 90;
        },
        3000);
    require(followed, "the overlay stands at " + std::to_string(placed.left) + "," +
                          std::to_string(placed.top) + " " +
                          std::to_string(placed.right - placed.left) + "x" +
                          std::to_string(placed.bottom - placed.top));
}

// An open overlay showing one line in the text colour, before a style box is clicked.
struct StyledLine {
    ToolSession tool;
    GameSession game;
    HWND overlay;
    ScreenCapture plain;

    explicit StyledLine(const DriverContext& context)
        : tool(context, settingsWithTextColour("size=28\r\n")), game(context, {}),
          overlay(openOverlay(tool, game)) {
        showLine(tool, game, "甲：你好世界");
        plain = waitForSettledCapture(overlay, hasText, "the plain line");
    }

    ScreenCapture clickAndWaitForChange(int box) {
        tool.click(box);
        return waitForSettledCapture(
            overlay, [&](const ScreenCapture& c) { return hasText(c) && !(c == plain); },
            "the picture to change after clicking box " + std::to_string(box));
    }
};

void boldGivesMorePixels(const DriverContext& context) {
    StyledLine line(context);
    const int plainCount = textPixels(line.plain).count;
    const int boldCount = textPixels(line.clickAndWaitForChange(BOLD_BOX)).count;
    require(boldCount * 100 > plainCount * 115, "bold text has " + std::to_string(boldCount) +
                                                    " pixels, plain " + std::to_string(plainCount));
}

void centreMovesText(const DriverContext& context) {
    StyledLine line(context);
    const RECT left = *textPixels(line.plain).bounds;
    require(left.left < 6, "left-aligned text starts at x " + std::to_string(left.left));
    const ScreenCapture centred = line.clickAndWaitForChange(CENTRE_BOX);
    const RECT middle = *textPixels(centred).bounds;
    const long middleX = (middle.left + middle.right) / 2;
    require(middleX >= centred.width / 2 - 4 && middleX <= centred.width / 2 + 4,
            "centred text's middle is at x " + std::to_string(middleX) + " of " +
                std::to_string(centred.width));
}

void shadowDownAndRight(const DriverContext& context) {
    StyledLine line(context);
    const ScreenCapture shadowed = line.clickAndWaitForChange(SHADOW_BOX);
    const auto dark = [](Rgb pixel) {
        return redOf(pixel) < 64 && greenOf(pixel) < 64 && blueOf(pixel) < 64;
    };
    const PixelSet shadow = selectPixels(shadowed, [&](int x, int y) {
        return dark(shadowed.at(x, y)) && !dark(line.plain.at(x, y));
    });
    const PixelSet text = textPixels(shadowed);
    require(shadow.count > text.count / 10,
            "only " + std::to_string(shadow.count) + " new dark pixels with the shadow");
    // The shadow is the text moved down and right, drawn behind it: what shows of it starts
    // right of and below the text's first pixels and reaches past its last ones.
    const RECT& s = *shadow.bounds;
    const RECT& t = *text.bounds;
    require(s.left > t.left && s.top > t.top && s.right > t.right && s.bottom > t.bottom,
            "the shadow's pixels span " + std::to_string(s.left) + ".." + std::to_string(s.right) +
                " x " + std::to_string(s.top) + ".." + std::to_string(s.bottom) + ", the text's " +
                std::to_string(t.left) + ".." + std::to_string(t.right) + " x " +
                std::to_string(t.top) + ".." + std::to_string(t.bottom));
}

// Default white text over the snowfield, where it would vanish: with the outline a ring of one
// colour that contrasts with white surrounds every glyph, the glyphs' edges blend from white into
// it, and nothing else is drawn over the scene; switched off, the text is whole pixels again.
void outlineRingsTextOverBrightScene(const DriverContext& context) {
    ToolSession tool(context, std::string("[config]\r\nsize=40\r\noutline=on\r\n"));
    GameSession game(context, {.bright = true});
    // Where the overlay opens by default, before it does: the snowfield behind the subtitle,
    // once the game has drawn it and it stays.
    ScreenCapture scene;
    const bool snowy = waitUntil(
        [&] {
            ScreenCapture now = captureScreen(RECT{10, 640, 1034, 800});
            const bool settled =
                now == scene && !now.pixels.empty() && now.at(0, 0) == rgbOf(244, 246, 250);
            scene = std::move(now);
            return settled;
        },
        5000, 100);
    require(snowy, "the snowfield did not appear where the subtitle opens");
    const HWND overlay = openOverlay(tool, game);
    require(captureWindowArea(overlay).area.left == 10, "the overlay is not at its default place");
    showLine(tool, game, "甲：我们快走吧，天色已经晚了");
    const auto drawn = [&](const ScreenCapture& c) { return !(c == scene); };
    const ScreenCapture outlined = waitForSettledCapture(overlay, drawn, "the outlined line");

    const Rgb white = rgbOf(255, 255, 255);
    const OutlineFindings found = inspectOutline(
        outlined.width, outlined.height, [&](int x, int y) { return outlined.at(x, y); },
        [&](int x, int y) { return outlined.at(x, y) == scene.at(x, y); }, white);
    require(contrastRatio(white, found.ring) >= 4.5,
            "the ring's colour " + std::to_string(found.ring) + " contrasts too little with white");
    require(found.breaks == 0, std::to_string(found.breaks) + " glyph pixels touch the scene");
    require(found.fringe == 0,
            std::to_string(found.fringe) + " pixels are neither text, ring nor a blend of the two");
    require(found.intermediates >= 4, "only " + std::to_string(found.intermediates) +
                                          " colours between text and ring: edges not smooth");

    tool.click(OUTLINE_BOX);
    const ScreenCapture plain = waitForSettledCapture(
        overlay, [&](const ScreenCapture& c) { return drawn(c) && !(c == outlined); },
        "the line without the outline");
    const PixelSet other = selectPixels(plain, [&](int x, int y) {
        return plain.at(x, y) != scene.at(x, y) && plain.at(x, y) != white;
    });
    require(other.count == 0, std::to_string(other.count) + " pixels without the outline are" +
                                  " neither scene nor text");
    require(tool.settings()["outline"] == "off", "the switch's new state was not saved");
}

const ScenarioRegistration registrations[] = {
    {"slider-moves-overlay", &sliderMovesOverlay},
    {"bold-gives-more-pixels", &boldGivesMorePixels},
    {"centre-moves-text", &centreMovesText},
    {"shadow-down-and-right", &shadowDownAndRight},
    {"outline-rings-text-over-bright-scene", &outlineRingsTextOverBrightScene},
};

} // namespace

} // namespace e2e
