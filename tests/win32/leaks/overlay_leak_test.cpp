// The overlay runs for hours: ten subtitles a second, every style change redrawn, opened and
// closed as often as the user likes. None of that may leave a GDI or USER object behind, or
// after some hours the label stops drawing. Wine has no GetGuiResources, but its GDI table is
// finite (about 65,500 objects per process), so 70,000 paints that leaked one object each would
// exhaust it; and the table's headroom, probed before and after, counts the leaked objects
// exactly. Where GetGuiResources answers (Windows), its counts are compared as well.
#include "gdi_headroom.hpp"
#include "label_canvas.hpp"
#include "overlay/overlay_constants.hpp"
#include "win32/overlay_window/overlay_window.hpp"

#include <gtest/gtest.h>

#include <windows.h>

#include <array>
#include <iostream>
#include <string>

namespace {

using namespace pal4;
using namespace pal4::win32;
using pal4::win32::testing::gdiHeadroom;
using pal4::win32::testing::GuiResourceCounts;
using pal4::win32::testing::LabelCanvas;

constexpr int WIDTH = 400;
constexpr int HEIGHT = 100;
constexpr COLORREF WHITE = RGB(255, 255, 255);
// Objects a run may gain for good without leaking: caches GDI fills on first use.
constexpr int SLACK = 16;

// Seconds since construction, from the performance counter (<chrono> does not compile with the
// GB2312 execution charset).
class Stopwatch {
public:
    Stopwatch() {
        QueryPerformanceFrequency(&frequency_);
        QueryPerformanceCounter(&start_);
    }
    double seconds() const {
        LARGE_INTEGER now{};
        QueryPerformanceCounter(&now);
        return static_cast<double>(now.QuadPart - start_.QuadPart) /
               static_cast<double>(frequency_.QuadPart);
    }

private:
    LARGE_INTEGER frequency_{};
    LARGE_INTEGER start_{};
};

// Paint number `round`: every property of the label differs from the paint before, so each
// paint makes and deletes a new font and draws a new text. Face and size change every 500
// paints, bold and italic every paint: Wine rasterises a font at a size it has not cached in
// about 1.5 ms, and four cached variants per face and size keep the run short without
// changing which GDI objects a paint makes.
void styleForRound(OverlayPort& label, int round) {
    static const std::array<const char*, 4> faces{"宋体", "楷体_GB2312", "Arial", "不存在的字体"};
    const int block = round / 500;
    label.setLabelFontFace(faces[static_cast<std::size_t>(block) % faces.size()]);
    label.setLabelFontSize(8 + block % 40);
    label.setLabelBold((round & 1) != 0);
    label.setLabelItalic((round & 2) != 0);
    label.setLabelShadow(round % 3 == 0);
    label.setLabelAlignment(((round >> 2) & 1) != 0 ? pal4::TextAlignment::Centred
                                                    : pal4::TextAlignment::Left);
    label.setLabelTextColor(RGB(round & 0xFF, (round >> 8) & 0xFF, 200));
    label.setLabelText(round % 100 == 0 ? std::string(DEBUG_SAMPLE_TEXT)
                                        : "第" + std::to_string(round) + "句：字幕");
}

// A known text and style, painted before and after the rounds.
void referenceStyle(OverlayPort& label) {
    label.setLabelFontFace("宋体");
    label.setLabelFontSize(20);
    label.setLabelBold(false);
    label.setLabelItalic(false);
    label.setLabelShadow(true);
    label.setLabelAlignment(pal4::TextAlignment::Centred);
    label.setLabelTextColor(WHITE);
    label.setLabelSize(WIDTH, HEIGHT);
    label.setLabelText("仙剑奇侠传");
}

int differingPixels(const LabelCanvas& a, const LabelCanvas& b) {
    int differ = 0;
    for (int y = 0; y < HEIGHT; ++y) {
        for (int x = 0; x < WIDTH; ++x) {
            differ += a.at(x, y) != b.at(x, y);
        }
    }
    return differ;
}

// The label draws what it drew before the rounds, into a memory DC and through the window's
// own painting, and GDI still has room for a thousand new objects.
void expectStillDrawing(OverlayWindow& overlay, const LabelCanvas& before) {
    referenceStyle(overlay);
    LabelCanvas after(WIDTH, HEIGHT);
    ASSERT_TRUE(after.valid()) << "no room left for a memory DC and a bitmap";
    overlay.paintLabel(after.dc(), after.size());
    EXPECT_FALSE(after.boxOf(WHITE).empty());
    EXPECT_EQ(differingPixels(before, after), 0);

    UpdateWindow(overlay.handle());
    LabelCanvas shown(WIDTH, HEIGHT);
    ASSERT_TRUE(shown.valid()) << "no room left for a memory DC and a bitmap";
    {
        const WindowDc window(overlay.handle());
        BitBlt(shown.dc(), 0, 0, WIDTH, HEIGHT, window.get(), 0, 0, SRCCOPY);
    }
    EXPECT_EQ(differingPixels(before, shown), 0) << "the window's own painting";

    std::array<UniqueBrushHandle, 1000> brushes;
    int made = 0;
    for (UniqueBrushHandle& brush : brushes) {
        brush.reset(CreateSolidBrush(RGB(made & 0xFF, 0, 0)));
        made += brush ? 1 : 0;
    }
    EXPECT_EQ(made, 1000);
}

BOOL CALLBACK countOverlayWindow(HWND window, LPARAM counter) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    if (std::wstring(name) == OverlayWindow::CLASS_NAME) {
        ++*reinterpret_cast<int*>(counter);
    }
    return TRUE;
}

int overlayWindowsOfThisThread() {
    int count = 0;
    EnumThreadWindows(GetCurrentThreadId(), &countOverlayWindow, reinterpret_cast<LPARAM>(&count));
    return count;
}

// What is left behind between two points of a test.
class LeakProbe {
public:
    LeakProbe() : headroom_(gdiHeadroom()), counts_(GuiResourceCounts::now()) {}

    void expectNothingLeaked() const {
        const int headroom = gdiHeadroom();
        std::cout << "[ figures  ] GDI headroom " << headroom_ << " before, " << headroom
                  << " after\n";
        EXPECT_LE(headroom_ - headroom, SLACK) << "GDI objects left behind";
        const GuiResourceCounts counts = GuiResourceCounts::now();
        if (counts_.answered() && counts.answered()) {
            EXPECT_LE(counts.gdi, counts_.gdi + SLACK) << "GetGuiResources, GDI";
            EXPECT_LE(counts.user, counts_.user + SLACK) << "GetGuiResources, USER";
        }
    }

private:
    int headroom_;
    GuiResourceCounts counts_;
};

class OverlayLeakTest : public ::testing::Test {
protected:
    void SetUp() override {
        referenceStyle(overlay_);
        ASSERT_TRUE(overlay_.create());
        ASSERT_NE(overlay_.handle(), nullptr);
        overlay_.setWindowBounds(20, 20, WIDTH, HEIGHT);
        overlay_.setLabelSize(WIDTH, HEIGHT);
        referenceStyle(overlay_);
        ASSERT_TRUE(reference_.valid());
        overlay_.paintLabel(reference_.dc(), reference_.size());
        ASSERT_FALSE(reference_.boxOf(WHITE).empty());
        UpdateWindow(overlay_.handle()); // the window's first paint fills GDI's caches
    }
    void TearDown() override { overlay_.destroy(); }

    OverlayWindow overlay_{GetModuleHandleW(nullptr)};
    LabelCanvas reference_{WIDTH, HEIGHT};
};

TEST_F(OverlayLeakTest, SeventyThousandPaintsInChangingStylesLeaveNothingBehind) {
    constexpr int ROUNDS = 70000;
    // A paint through the window costs some milliseconds under Wine, so most rounds paint the
    // label into a memory DC through paintLabel, the code the window's painting runs; every
    // WINDOW_EVERY-th round goes through WM_PAINT, whose own memory DC and bitmap the headroom
    // probe would count even if only those leaked.
    constexpr int WINDOW_EVERY = 20;
    const LeakProbe probe;
    const Stopwatch clock;
    {
        const LabelCanvas canvas(WIDTH, HEIGHT);
        ASSERT_TRUE(canvas.valid());
        for (int round = 0; round < ROUNDS; ++round) {
            styleForRound(overlay_, round);
            if (round % WINDOW_EVERY == 0) {
                UpdateWindow(overlay_.handle());
            } else {
                overlay_.paintLabel(canvas.dc(), canvas.size());
            }
        }
        GdiFlush();
    }
    std::cout << "[ figures  ] " << ROUNDS << " paints, " << ROUNDS / WINDOW_EVERY
              << " of them through the window: " << clock.seconds() << " s\n";
    probe.expectNothingLeaked();
    expectStillDrawing(overlay_, reference_);
}

// Opened as the program opens it: colour-keyed, styled, placed, with the poll timer running.
class OpeningLikeTheProgram final : public OverlayEvents {
public:
    explicit OpeningLikeTheProgram(OverlayWindow& overlay) : overlay_(overlay) {}
    int round = 0;

    void onOverlayCreated() override {
        overlay_.makeColorKeyed(OVERLAY_COLOR_KEY);
        styleForRound(overlay_, round);
        overlay_.setWindowBounds(30 + round % 50, 40, WIDTH, HEIGHT);
        overlay_.setLabelSize(WIDTH, HEIGHT);
        overlay_.setTimerInterval(POLL_INTERVAL_MS);
    }
    void onOverlayMoved() override {}
    void onOverlayDestroyed() override {}
    void onPollTimer() override {}
    void onWheelUp() override {}
    void onWheelDown() override {}

private:
    OverlayWindow& overlay_;
};

TEST_F(OverlayLeakTest, AThousandOpeningsAndClosingsLeaveNothingBehind) {
    constexpr int OPENINGS = 1000;
    OverlayWindow opened(GetModuleHandleW(nullptr));
    OpeningLikeTheProgram events(opened);
    opened.bind(events);
    // Once before the probe: the first opening registers the class and fills caches.
    ASSERT_TRUE(opened.create());
    opened.destroy();

    const LeakProbe probe;
    const Stopwatch clock;
    for (events.round = 0; events.round < OPENINGS; ++events.round) {
        ASSERT_TRUE(opened.create()) << "opening " << events.round;
        ASSERT_NE(opened.handle(), nullptr) << "opening " << events.round;
        opened.destroy();
        ASSERT_EQ(opened.handle(), nullptr) << "closing " << events.round;
    }
    std::cout << "[ figures  ] " << OPENINGS << " openings and closings: " << clock.seconds()
              << " s\n";
    EXPECT_EQ(overlayWindowsOfThisThread(), 1) << "only the fixture's window is left";
    probe.expectNothingLeaked();
    expectStillDrawing(overlay_, reference_);
}

} // namespace
