// The screen's DPI: the panel scales from its 96-DPI design, the overlay keeps its geometry in
// screen pixels, and the subtitle's font, sized in points, grows with the DPI.
#include "game_session.hpp"
#include "panel_controls.hpp"
#include "scenario_registry.hpp"
#include "scenario_steps.hpp"
#include "subtitle_pixels.hpp"
#include "tool_session.hpp"

#include <cstdlib>
#include <string>

namespace e2e {

namespace {

// The bounds of "你好世界" drawn by the driver itself in the face the tool's default names, at
// the pixel height that a size in points has at the DPI.
RECT referenceTextBounds(int points, int dpi) {
    constexpr int WIDTH = 1200;
    constexpr int HEIGHT = 400;
    const HDC screen = GetDC(nullptr);
    const HDC memory = CreateCompatibleDC(screen);
    const HBITMAP bitmap = CreateCompatibleBitmap(screen, WIDTH, HEIGHT);
    const HGDIOBJ oldBitmap = SelectObject(memory, bitmap);
    const HFONT font = CreateFontW(-MulDiv(points, dpi, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE,
                                   FALSE, GB2312_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                   NONANTIALIASED_QUALITY, DEFAULT_PITCH, L"宋体");
    const HGDIOBJ oldFont = SelectObject(memory, font);
    const RECT all{0, 0, WIDTH, HEIGHT};
    FillRect(memory, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    SetBkMode(memory, TRANSPARENT);
    SetTextColor(memory, RGB(255, 0, 255));
    const std::wstring text = L"你好世界";
    TextOutW(memory, 0, 0, text.c_str(), static_cast<int>(text.size()));
    SelectObject(memory, oldFont);
    DeleteObject(font);
    RECT bounds{WIDTH, HEIGHT, 0, 0};
    for (int y = 0; y < HEIGHT; ++y) {
        for (int x = 0; x < WIDTH; ++x) {
            if (GetPixel(memory, x, y) == RGB(255, 0, 255)) {
                bounds = {std::min<LONG>(bounds.left, x), std::min<LONG>(bounds.top, y),
                          std::max<LONG>(bounds.right, x + 1),
                          std::max<LONG>(bounds.bottom, y + 1)};
            }
        }
    }
    SelectObject(memory, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return bounds;
}

std::string rectText(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + " " +
           std::to_string(r.right - r.left) + "x" + std::to_string(r.bottom - r.top);
}

void screenDpiFollowed(const DriverContext& context) {
    const int dpi = context.expectedDpi;
    const auto scale = [dpi](int design) { return MulDiv(design, dpi, 96); };
    ToolSession tool(context,
                     settingsWithTextColour("left=100\r\ntop=560\r\nwidth=800\r\nheight=150\r\n"));
    RECT client{};
    GetClientRect(tool.panel(), &client);
    require(client.right == scale(434) && client.bottom == scale(360),
            "the panel's client area is " + rectText(client) + " at " + std::to_string(dpi) +
                " DPI");
    struct Design {
        int id;
        int left, top, width, height;
    };
    const Design designs[] = {
        {FONT_SIZE_CAPTION, 46, 10, 128, 16}, {TOGGLE_BUTTON, 222, 25, 56, 32},
        {DEBUG_BOX, 299, 30, 125, 24},        {FONT_SIZE_SLIDER, 8, 32, 200, 32},
        {BOLD_BOX, 205, 72, 48, 24},          {ITALIC_BOX, 264, 72, 48, 24},
        {SHADOW_BOX, 321, 75, 14, 16},        {CENTRE_BOX, 376, 72, 44, 24},
        {LEFT_CAPTION, 46, 104, 128, 16},     {TOP_CAPTION, 258, 103, 128, 16},
        {LEFT_SLIDER, 8, 123, 200, 32},       {TOP_SLIDER, 220, 124, 200, 32},
        {WIDTH_CAPTION, 46, 168, 128, 16},    {HEIGHT_CAPTION, 258, 168, 128, 16},
        {WIDTH_SLIDER, 8, 187, 200, 32},      {HEIGHT_SLIDER, 220, 189, 200, 32},
        {HELP_BOX, 2, 240, 424, 64},
    };
    for (const Design& design : designs) {
        RECT bounds = windowRect(tool.control(design.id));
        MapWindowPoints(nullptr, tool.panel(), reinterpret_cast<POINT*>(&bounds), 2);
        const auto within1 = [](long seen, int wanted) { return std::abs(seen - wanted) <= 1; };
        require(within1(bounds.left, scale(design.left)) &&
                    within1(bounds.top, scale(design.top)) &&
                    within1(bounds.right - bounds.left, scale(design.width)) &&
                    within1(bounds.bottom - bounds.top, scale(design.height)),
                "control " + std::to_string(design.id) + " is at " + rectText(bounds));
    }

    GameSession game(context, {});
    const HWND overlay = openOverlay(tool, game);
    const RECT placed = windowRect(overlay);
    require(placed.left == 100 && placed.top == 560 && placed.right - placed.left == 800 &&
                placed.bottom - placed.top == 150,
            "the overlay stands at " + rectText(placed));
    showLine(tool, game, "甲：你好世界");
    const ScreenCapture shown = waitForSettledCapture(
        overlay, [](const ScreenCapture& c) { return textPixels(c).count > 0; }, "the line");
    const RECT drawn = *textPixels(shown).bounds;
    const RECT reference = referenceTextBounds(20, dpi);
    require(std::abs((drawn.bottom - drawn.top) - (reference.bottom - reference.top)) <= 2 &&
                std::abs((drawn.right - drawn.left) - (reference.right - reference.left)) <= 2,
            "the subtitle's text is " + rectText(drawn) + ", 20 points at " + std::to_string(dpi) +
                " DPI are " + rectText(reference));
}

const ScenarioRegistration registrations[] = {
    {"screen-dpi-followed", &screenDpiFollowed},
};

} // namespace

} // namespace e2e
