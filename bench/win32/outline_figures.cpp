// The outline's legibility and cost, measured on the label's own drawing: white and black text
// at sizes 20, 40 and 80 over a white and a black scene, then the price of a two-line subtitle
// at size 80 with the outline against without it. Prints one line per figure with its goal and
// exits 1 when a goal is missed; scripts/bench.sh runs it.
#include "label_canvas.hpp"
#include "outline_pixels.hpp"
#include "win32/overlay_window/overlay_window.hpp"

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

using namespace pal4;
using namespace pal4::win32;

constexpr COLORREF KEY = RGB(1, 0, 0);
constexpr int WIDTH = 1024;
constexpr int HEIGHT = 300;
// Two lines at size 80 in 1024 pixels, one at the smaller sizes.
constexpr const char* LINE = "天色已晚，我们快走吧，前面就是寿阳";

e2e::Rgb rgb(COLORREF color) {
    return e2e::rgbOf(GetRValue(color), GetGValue(color), GetBValue(color));
}

struct Label {
    OverlayWindow window{GetModuleHandleW(nullptr)};
    Label(int size, COLORREF text, bool outline) {
        window.setLabelFontFace("宋体");
        window.setLabelFontSize(size);
        window.setLabelTextColor(text);
        window.setLabelOutline(outline);
        window.setLabelSize(WIDTH, HEIGHT);
        window.setLabelText(LINE);
    }
};

bool report(const char* what, double value, const char* goal, bool met) {
    std::printf("  %-58s %8.2f   goal %-10s %s\n", what, value, goal, met ? "met" : "missed");
    return met;
}

template <typename Draw> double averageMs(Draw draw, int times) {
    LARGE_INTEGER frequency{}, start{}, end{};
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    for (int i = 0; i < times; ++i) {
        draw(i);
    }
    GdiFlush();
    QueryPerformanceCounter(&end);
    return 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
           static_cast<double>(frequency.QuadPart) / times;
}

// The label drawn alone into a picture, and the overlay window drawing a new line on screen
// (its own WM_PAINT: memory picture, label, blit), as the user waits for it.
struct Costs {
    double label;
    double window;
};

Costs drawingCosts(bool outline, testing::LabelCanvas& canvas) {
    Label label(80, RGB(255, 255, 255), outline);
    label.window.setLabelSize(WIDTH, 240);
    const auto intoPicture = [&](int) { label.window.paintLabel(canvas.dc(), canvas.size()); };
    // Two lines that differ only in their last character, so every paint is a new subtitle.
    const auto onScreen = [&](int i) {
        label.window.setLabelText(std::string(LINE) + (i % 2 ? "。" : "！"));
        UpdateWindow(label.window.handle());
    };
    if (!label.window.create()) {
        return {0, 0};
    }
    label.window.setWindowBounds(0, 0, WIDTH, 240);
    averageMs(intoPicture, 5); // fonts made and glyphs cached before timing
    averageMs(onScreen, 5);
    const Costs costs{averageMs(intoPicture, 50), averageMs(onScreen, 50)};
    label.window.destroy();
    return costs;
}

// The largest label the sliders allow, full of text at the largest size, drawn on screen: the
// outline's price where it is highest.
double largestPaintMs(bool outline) {
    Label label(200, RGB(255, 255, 255), outline);
    label.window.setLabelSize(1920, 1200);
    const auto onScreen = [&](int i) {
        label.window.setLabelText(std::string(LINE) + LINE + (i % 2 ? "。" : "！"));
        UpdateWindow(label.window.handle());
    };
    if (!label.window.create()) {
        return 0;
    }
    label.window.setWindowBounds(0, 0, 1920, 1200);
    averageMs(onScreen, 3);
    const double ms = averageMs(onScreen, 20);
    label.window.destroy();
    return ms;
}

} // namespace

int main() {
    bool allMet = true;
    testing::LabelCanvas canvas(WIDTH, HEIGHT);
    for (const COLORREF scene : {RGB(255, 255, 255), RGB(0, 0, 0)}) {
        for (const COLORREF text : {RGB(255, 255, 255), RGB(0, 0, 0)}) {
            for (const int size : {20, 40, 80}) {
                Label label(size, text, true);
                label.window.paintLabel(canvas.dc(), canvas.size());
                const auto seen = [&](int x, int y) {
                    return canvas.at(x, y) == KEY ? rgb(scene) : rgb(canvas.at(x, y));
                };
                const auto seeThrough = [&](int x, int y) { return canvas.at(x, y) == KEY; };
                const e2e::OutlineFindings found =
                    e2e::inspectOutline(WIDTH, HEIGHT, seen, seeThrough, rgb(text));
                const std::string name = std::string(scene == 0 ? "black" : "white") + " scene, " +
                                         (text == 0 ? "black" : "white") + " text, size " +
                                         std::to_string(size) + ": ";
                const double contrast = e2e::contrastRatio(rgb(text), found.ring);
                allMet &= report((name + "contrast text : ring").c_str(), contrast, ">= 4.5",
                                 contrast >= 4.5);
                allMet &= report((name + "glyph pixels touching the scene").c_str(), found.breaks,
                                 "0", found.breaks == 0 && found.drawn > 0);
                allMet &= report((name + "pixels outside key/ring/text/blend").c_str(),
                                 found.fringe, "0", found.fringe == 0);
                if (size == 40) {
                    allMet &= report((name + "distinct smooth-edge colours").c_str(),
                                     found.intermediates, ">= 4", found.intermediates >= 4);
                }
            }
        }
    }
    {
        Label plain(40, RGB(255, 255, 255), false);
        plain.window.paintLabel(canvas.dc(), canvas.size());
        const int colours = static_cast<int>(canvas.colours().size());
        allMet &= report("outline off, size 40: colours besides key and text", colours - 2, "0",
                         colours == 2);
    }
    const Costs on = drawingCosts(true, canvas);
    const Costs off = drawingCosts(false, canvas);
    std::printf(
        "  two lines at size 80, with the outline / without: the label alone %.2f / %.2f ms,"
        " the window drawing it on screen %.2f / %.2f ms\n",
        on.label, off.label, on.window, off.window);
    allMet &= report("cost of the outline on screen, with : without", on.window / off.window,
                     "<= 3", off.window > 0 && on.window <= 3 * off.window);
    const double largestOn = largestPaintMs(true);
    const double largestOff = largestPaintMs(false);
    std::printf("  the largest label (1920x1200, size 200) on screen, with the outline / without:"
                " %.2f / %.2f ms, ratio %.2f\n",
                largestOn, largestOff, largestOff > 0 ? largestOn / largestOff : 0.0);
    return allMet ? 0 : 1;
}
