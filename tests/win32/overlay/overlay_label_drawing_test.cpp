// What the subtitle label draws, pixel by pixel: the background is exactly the colour key, the
// glyphs exactly the text colour (no blended edges that would show as dark fringes), the shadow
// down and to the right behind them, lines centred or left, and nothing below the label's height.
#include "label_canvas.hpp"
#include "overlay/overlay_constants.hpp"
#include "win32/overlay_window/overlay_window.hpp"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <iostream>
#include <ostream>
#include <string>

namespace {

using namespace pal4;
using namespace pal4::win32;
using pal4::win32::testing::InkBox;
using pal4::win32::testing::LabelCanvas;

constexpr COLORREF KEY = RGB(1, 0, 0);
constexpr COLORREF WHITE = RGB(255, 255, 255);

// The label as the overlay's creation sets it up, on a window that is never opened: the
// drawing needs no window.
class LabelDrawingTest : public ::testing::Test {
protected:
    LabelDrawingTest() {
        label_.setLabelFontFace("宋体");
        label_.setLabelFontSize(20);
        label_.setLabelTextColor(WHITE);
        label_.setLabelBold(false);
        label_.setLabelItalic(false);
        label_.setLabelShadow(false);
        label_.setLabelAlignment(TextAlignment::Left);
        label_.setLabelSize(400, 100);
    }
    LabelCanvas paint(const std::string& text, int width = 400, int height = 100) {
        label_.setLabelText(text);
        LabelCanvas canvas(width, height);
        EXPECT_TRUE(canvas.valid());
        label_.paintLabel(canvas.dc(), canvas.size());
        return canvas;
    }

    OverlayWindow label_{GetModuleHandleW(nullptr)};
};

TEST_F(LabelDrawingTest, WithoutTextEveryPixelIsTheColourKey) {
    for (const char* text : {" ", ""}) {
        const auto colours = paint(text).colours();
        EXPECT_EQ(colours.size(), 1U) << "[" << text << "]";
        EXPECT_EQ(colours.begin()->first, KEY);
    }
}

struct ColourCase {
    const char* name;
    COLORREF text;
    bool shadow;
    bool glyphsShow;
};

void PrintTo(const ColourCase& c, std::ostream* out) {
    *out << c.name;
}

class LabelColoursTest : public LabelDrawingTest,
                         public ::testing::WithParamInterface<ColourCase> {};

// Only the key, the text colour and (with the shadow) the shadow colour occur: a pixel of any
// other colour would be a blended edge, opaque and dark over the game.
TEST_P(LabelColoursTest, PixelsAreOnlyKeyTextAndShadowColours) {
    const ColourCase& c = GetParam();
    label_.setLabelTextColor(c.text);
    label_.setLabelShadow(c.shadow);
    const LabelCanvas canvas = paint("仙剑奇侠 Ab");

    for (const auto& [colour, count] : canvas.colours()) {
        const bool allowed = colour == KEY || colour == c.text ||
                             (c.shadow && colour == SubtitleLabel::SHADOW_COLOR);
        EXPECT_TRUE(allowed) << std::hex << "colour 0x" << colour << " on " << std::dec << count
                             << " pixels";
    }
    const InkBox glyphs = canvas.boxOf(c.text);
    const InkBox shadow = canvas.boxOf(SubtitleLabel::SHADOW_COLOR);
    EXPECT_EQ(!glyphs.empty() && c.text != KEY, c.glyphsShow);
    EXPECT_EQ(!shadow.empty(), c.shadow);
    if (c.shadow && c.glyphsShow) {
        // The shadow's far edges stick out beyond the glyphs' by its offset; its near edges
        // hide behind them.
        EXPECT_EQ(shadow.right - glyphs.right, 2);
        EXPECT_EQ(shadow.bottom - glyphs.bottom, 2);
        EXPECT_GE(shadow.left, glyphs.left);
        EXPECT_GE(shadow.top, glyphs.top);
    }
}

const ColourCase COLOUR_CASES[] = {
    {"WhitePlain", WHITE, false, true},
    {"WhiteShadowed", WHITE, true, true},
    {"BlackIsVisible", RGB(0, 0, 0), false, true},
    {"YellowShadowed", RGB(255, 255, 0), true, true},
    {"TheKeyColourHidesTheGlyphs", KEY, false, false},
    {"TheShadowStillShowsBehindKeyColouredGlyphs", KEY, true, false},
};

INSTANTIATE_TEST_SUITE_P(Colours, LabelColoursTest, ::testing::ValuesIn(COLOUR_CASES),
                         [](const auto& testCase) { return std::string(testCase.param.name); });

TEST_F(LabelDrawingTest, LinesStartAtTheLeftEdgeOrAreCentred) {
    const InkBox left = paint("字幕").boxOf(WHITE);
    ASSERT_FALSE(left.empty());
    EXPECT_LT(left.left, 6);

    label_.setLabelAlignment(TextAlignment::Centred);
    const InkBox centred = paint("字幕").boxOf(WHITE);
    EXPECT_NEAR((centred.left + centred.right) / 2.0, 200.0, 3.0);
    EXPECT_EQ(centred.right - centred.left, left.right - left.left) << "same line, moved";
}

TEST_F(LabelDrawingTest, BoldItalicAndSizeChangeTheGlyphs) {
    const InkBox regular = paint("字幕").boxOf(WHITE);
    label_.setLabelBold(true);
    const InkBox bold = paint("字幕").boxOf(WHITE);
    label_.setLabelBold(false);
    label_.setLabelItalic(true);
    const InkBox italic = paint("字幕").boxOf(WHITE);
    label_.setLabelItalic(false);
    label_.setLabelFontSize(40);
    const InkBox large = paint("字幕").boxOf(WHITE);

    ASSERT_FALSE(regular.empty());
    EXPECT_GT(bold.count, regular.count * 11 / 10) << "weight 700 is heavier than 400";
    EXPECT_NE(italic.right, regular.right) << "slanted glyphs lean out";
    // Points at 96 DPI: 20 points are 27 pixels of character height, 40 twice that.
    const double ratio = static_cast<double>(large.height()) / regular.height();
    EXPECT_NEAR(ratio, 2.0, 0.3);
    EXPECT_GT(regular.height(), 16);
    EXPECT_LE(regular.height(), 27);
}

TEST_F(LabelDrawingTest, TheDebugSampleFillsSeveralLinesAndIsCutAtTheBottomEdge) {
    label_.setLabelSize(1024, 160);
    const LabelCanvas canvas = paint(std::string(DEBUG_SAMPLE_TEXT), 1024, 160);
    int inkedBands = 0;
    bool previousRowInked = false;
    int lowestInk = -1;
    for (int y = 0; y < 160; ++y) {
        bool inked = false;
        for (int x = 0; x < 1024 && !inked; ++x) {
            inked = canvas.at(x, y) != KEY;
        }
        inkedBands += inked && !previousRowInked;
        previousRowInked = inked;
        lowestInk = inked ? y : lowestInk;
    }
    EXPECT_GE(inkedBands, 4) << "several lines";
    EXPECT_GE(lowestInk, 150) << "the last line reaches the bottom edge, where it is cut";

    // The same text in a label of 40 px inside the same window: nothing below its height.
    label_.setLabelSize(1024, 40);
    const LabelCanvas clipped = paint(std::string(DEBUG_SAMPLE_TEXT), 1024, 160);
    const InkBox ink = clipped.boxOf(KEY, true);
    ASSERT_FALSE(ink.empty());
    EXPECT_LT(ink.bottom, 40);
}

TEST_F(LabelDrawingTest, AZeroWidthHidesTheSubtitle) {
    label_.setLabelSize(0, 100);
    EXPECT_EQ(paint("字幕").colours().size(), 1U);
    label_.setLabelSize(400, 0);
    EXPECT_EQ(paint("字幕").colours().size(), 1U);
}

TEST_F(LabelDrawingTest, PaintingTheDebugSampleIsCheap) {
    label_.setLabelSize(1024, 160);
    label_.setLabelShadow(true);
    label_.setLabelAlignment(TextAlignment::Centred);
    label_.setLabelText(std::string(DEBUG_SAMPLE_TEXT));
    LabelCanvas canvas(1024, 160);
    label_.paintLabel(canvas.dc(), canvas.size()); // the font is made once, not timed
    constexpr int ROUNDS = 20;
    // <chrono> cannot be compiled with the GB2312 execution charset (its micro sign).
    LARGE_INTEGER frequency{};
    LARGE_INTEGER start{};
    LARGE_INTEGER stop{};
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    for (int i = 0; i < ROUNDS; ++i) {
        label_.paintLabel(canvas.dc(), canvas.size());
    }
    GdiFlush();
    QueryPerformanceCounter(&stop);
    const double each = static_cast<double>(stop.QuadPart - start.QuadPart) * 1000.0 /
                        static_cast<double>(frequency.QuadPart) / ROUNDS;
    std::cout << "[ figures  ] one paint of the 216-character sample, shadowed and centred: "
              << each << " ms\n";
    EXPECT_LT(each, 50.0) << "well inside the 100 ms poll period";
}

// The open window shows what paintLabel draws: through WM_PAINT (read back from the window's
// DC) and through WM_PRINTCLIENT (PrintWindow).
TEST(OverlayWindowDrawing, TheOpenWindowShowsTheLabel) {
    OverlayWindow overlay(GetModuleHandleW(nullptr));
    ASSERT_TRUE(overlay.create());
    ASSERT_NE(overlay.handle(), nullptr);
    overlay.setWindowBounds(20, 20, 300, 80);
    overlay.setLabelSize(300, 80);
    overlay.setLabelFontFace("宋体");
    overlay.setLabelFontSize(20);
    overlay.setLabelTextColor(WHITE);
    overlay.setLabelShadow(true);
    overlay.setLabelText("字幕");
    UpdateWindow(overlay.handle());

    LabelCanvas expected(300, 80);
    overlay.paintLabel(expected.dc(), expected.size());
    LabelCanvas printed(300, 80);
    ASSERT_TRUE(PrintWindow(overlay.handle(), printed.dc(), 0));
    LabelCanvas painted(300, 80);
    {
        const WindowDc window(overlay.handle());
        BitBlt(painted.dc(), 0, 0, 300, 80, window.get(), 0, 0, SRCCOPY);
    }
    int printedDiffer = 0;
    int paintedDiffer = 0;
    for (int y = 0; y < 80; ++y) {
        for (int x = 0; x < 300; ++x) {
            printedDiffer += printed.at(x, y) != expected.at(x, y);
            paintedDiffer += painted.at(x, y) != expected.at(x, y);
        }
    }
    EXPECT_FALSE(expected.boxOf(WHITE).empty());
    EXPECT_EQ(printedDiffer, 0);
    EXPECT_EQ(paintedDiffer, 0);
    overlay.destroy();
}

} // namespace
