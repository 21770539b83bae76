// The overlay window's events: creation and destruction run inside the calls that cause them,
// a move is reported once per real change with the whole new position, the timer ticks until
// stopped, Esc closes the window, and the window is the colour-keyed, borderless, topmost tool
// window the subtitle needs.
#include "overlay/overlay_constants.hpp"
#include "win32/overlay_window/overlay_window.hpp"
#include "win32/platform/message_loop.hpp"

#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace {

using namespace pal4;
using namespace pal4::win32;

class RecordingEvents final : public OverlayEvents {
public:
    explicit RecordingEvents(OverlayWindow& window) : window_(window) {}

    std::vector<std::string> calls;
    std::vector<std::pair<int, int>> positionsSeenWhenMoved;
    bool windowExistedWhenDestroyed = false;
    int ticks = 0;
    std::function<void()> whenCreated;

    void onOverlayCreated() override {
        calls.push_back("onOverlayCreated");
        if (whenCreated) {
            whenCreated();
        }
    }
    void onOverlayMoved() override {
        calls.push_back("onOverlayMoved");
        positionsSeenWhenMoved.emplace_back(window_.windowLeft(), window_.windowTop());
    }
    void onOverlayDestroyed() override {
        calls.push_back("onOverlayDestroyed");
        windowExistedWhenDestroyed = IsWindow(window_.handle()) != FALSE;
    }
    void onPollTimer() override { ++ticks; }
    void onWheelUp() override { calls.push_back("onWheelUp"); }
    void onWheelDown() override { calls.push_back("onWheelDown"); }

private:
    OverlayWindow& window_;
};

void pumpFor(DWORD milliseconds, const std::function<bool()>& done = {}) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < milliseconds && !(done && done())) {
        MSG message{};
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&message);
        }
        Sleep(1);
    }
}

RECT boundsOf(HWND window) {
    RECT bounds{};
    GetWindowRect(window, &bounds);
    return bounds;
}

class OverlayWindowEventsTest : public ::testing::Test {
protected:
    OverlayWindowEventsTest() { overlay_.bind(events_); }
    void open() {
        ASSERT_TRUE(overlay_.create());
        ASSERT_NE(overlay_.handle(), nullptr);
        events_.calls.clear();
    }

    OverlayWindow overlay_{GetModuleHandleW(nullptr)};
    RecordingEvents events_{overlay_};
};

TEST_F(OverlayWindowEventsTest,
       CreateRunsTheCreatedEventInsideAndShowsABorderlessTopmostToolWindow) {
    HWND seenInside = nullptr;
    bool visibleInside = true;
    events_.whenCreated = [&] {
        seenInside = overlay_.handle();
        visibleInside = IsWindowVisible(overlay_.handle()) != FALSE;
    };
    ASSERT_TRUE(overlay_.create());

    const HWND window = overlay_.handle();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(events_.calls, std::vector<std::string>{"onOverlayCreated"});
    EXPECT_EQ(seenInside, window) << "the handler can already reach the window";
    EXPECT_FALSE(visibleInside) << "shown only once the handler has set it up";
    EXPECT_TRUE(IsWindowVisible(window));

    const auto style = static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE));
    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_FALSE(style & (WS_CAPTION | WS_BORDER | WS_THICKFRAME));
    EXPECT_TRUE(exStyle & WS_EX_TOPMOST);
    EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW) << "no taskbar button";
    EXPECT_FALSE(exStyle & WS_EX_LAYERED) << "layered only when the handler asks";

    const RECT bounds = boundsOf(window);
    EXPECT_EQ(bounds.left, 50);
    EXPECT_EQ(bounds.top, 50);
    EXPECT_EQ(bounds.right - bounds.left, 1024);
    EXPECT_EQ(bounds.bottom - bounds.top, 160);
    RECT client{};
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 1024) << "no frame: the outer rectangle is the client area";
    EXPECT_EQ(client.bottom, 160);
}

TEST_F(OverlayWindowEventsTest, AWindowClosedWhileBeingMadeIsReportedAsNotCreated) {
    events_.whenCreated = [&] { overlay_.destroy(); };
    EXPECT_FALSE(overlay_.create());
    EXPECT_EQ(overlay_.handle(), nullptr);
    EXPECT_EQ(events_.calls, (std::vector<std::string>{"onOverlayCreated", "onOverlayDestroyed"}));

    events_.whenCreated = nullptr;
    events_.calls.clear();
    EXPECT_TRUE(overlay_.create()) << "the next opening is a normal one";
    EXPECT_NE(overlay_.handle(), nullptr);
}

TEST_F(OverlayWindowEventsTest, TheCreatedEventCanColourKeyAndPlaceTheWindow) {
    events_.whenCreated = [&] {
        overlay_.makeColorKeyed(OVERLAY_COLOR_KEY);
        overlay_.setWindowSize(800, 120);
        overlay_.setWindowPosition(300, 200);
    };
    ASSERT_TRUE(overlay_.create());

    const HWND window = overlay_.handle();
    EXPECT_TRUE(static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE)) & WS_EX_LAYERED);
    COLORREF key = 0;
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(window, &key, &alpha, &flags));
    EXPECT_EQ(key, RGB(1, 0, 0));
    EXPECT_EQ(flags, static_cast<DWORD>(LWA_COLORKEY));
    EXPECT_EQ(events_.calls, (std::vector<std::string>{"onOverlayCreated", "onOverlayMoved"}));
    const RECT bounds = boundsOf(window);
    EXPECT_EQ(bounds.left, 300);
    EXPECT_EQ(bounds.top, 200);
    EXPECT_EQ(bounds.right - bounds.left, 800);
    EXPECT_EQ(bounds.bottom - bounds.top, 120);
    EXPECT_EQ(overlay_.windowLeft(), 300);
    EXPECT_EQ(overlay_.windowTop(), 200);
}

TEST_F(OverlayWindowEventsTest, AMoveIsReportedOncePerRealChangeWithTheWholeNewPosition) {
    open();
    struct Step {
        const char* what;
        std::function<void()> act;
        std::vector<std::pair<int, int>> moves;
    };
    const Step steps[] = {
        {"same position", [&] { overlay_.setWindowPosition(50, 50); }, {}},
        {"size only", [&] { overlay_.setWindowSize(600, 90); }, {}},
        {"both coordinates", [&] { overlay_.setWindowPosition(120, 340); }, {{120, 340}}},
        {"left only", [&] { overlay_.setWindowPosition(121, 340); }, {{121, 340}}},
        {"bounds, same position", [&] { overlay_.setWindowBounds(121, 340, 700, 100); }, {}},
        {"bounds, new place", [&] { overlay_.setWindowBounds(-40, 900, 1024, 160); }, {{-40, 900}}},
        {"by someone else",
         [&] {
             SetWindowPos(overlay_.handle(), nullptr, 10, 20, 0, 0,
                          SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
         },
         {{10, 20}}},
    };
    for (const Step& step : steps) {
        events_.positionsSeenWhenMoved.clear();
        step.act();
        EXPECT_EQ(events_.positionsSeenWhenMoved, step.moves) << step.what;
    }
    const RECT bounds = boundsOf(overlay_.handle());
    EXPECT_EQ(bounds.right - bounds.left, 1024);
    EXPECT_EQ(bounds.bottom - bounds.top, 160);
}

// The poller blanks an already blank line ten times a second: only a change may cost a paint.
TEST_F(OverlayWindowEventsTest, OnlyAChangedLabelAsksForAPaint) {
    open();
    const HWND window = overlay_.handle();
    overlay_.setLabelText("a");
    overlay_.setLabelOutline(true);
    pumpFor(1000, [&] { return GetUpdateRect(window, nullptr, FALSE) == FALSE; });
    const std::pair<const char*, std::function<void()>> unchanged[] = {
        {"text", [&] { overlay_.setLabelText("a"); }},
        {"outline", [&] { overlay_.setLabelOutline(true); }},
        {"size", [&] { overlay_.setLabelSize(1024, 160); }},
        {"colour", [&] { overlay_.setLabelTextColor(RGB(255, 255, 255)); }},
    };
    for (const auto& [what, act] : unchanged) {
        act();
        EXPECT_FALSE(GetUpdateRect(window, nullptr, FALSE)) << what;
    }
    overlay_.setLabelText("b");
    EXPECT_TRUE(GetUpdateRect(window, nullptr, FALSE));
}

TEST_F(OverlayWindowEventsTest, DestroyRunsTheDestroyedEventInsideWhileTheWindowStillExists) {
    open();
    const HWND window = overlay_.handle();
    overlay_.destroy();
    EXPECT_EQ(events_.calls, std::vector<std::string>{"onOverlayDestroyed"});
    EXPECT_TRUE(events_.windowExistedWhenDestroyed);
    EXPECT_EQ(overlay_.handle(), nullptr);
    EXPECT_FALSE(IsWindow(window));

    overlay_.destroy(); // closed already: nothing more happens
    EXPECT_EQ(events_.calls.size(), 1U);
}

TEST_F(OverlayWindowEventsTest, EscapeClosesTheWindowOtherKeysDoNot) {
    open();
    SendMessageW(overlay_.handle(), WM_KEYDOWN, VK_SPACE, 0);
    SendMessageW(overlay_.handle(), WM_KEYDOWN, 'Q', 0);
    EXPECT_TRUE(events_.calls.empty());
    ASSERT_NE(overlay_.handle(), nullptr);

    PostMessageW(overlay_.handle(), WM_KEYDOWN, VK_ESCAPE, 0);
    pumpFor(1000, [&] { return overlay_.handle() == nullptr; });
    EXPECT_EQ(events_.calls, std::vector<std::string>{"onOverlayDestroyed"});
    EXPECT_EQ(overlay_.handle(), nullptr);
}

// A notch is a step, whether one message brings it or a fine wheel's several.
TEST_F(OverlayWindowEventsTest, TheWheelStepsANotchAtATime) {
    open();
    for (const int delta : {WHEEL_DELTA, -WHEEL_DELTA, 60, 60}) {
        SendMessageW(overlay_.handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(delta)), 0);
    }
    EXPECT_EQ(events_.calls, (std::vector<std::string>{"onWheelUp", "onWheelDown", "onWheelUp"}));
}

TEST_F(OverlayWindowEventsTest, TheWindowOpensAgainAtItsDesignPlaceAfterClosing) {
    open();
    overlay_.setWindowPosition(400, 400);
    overlay_.destroy();
    events_.calls.clear();
    events_.positionsSeenWhenMoved.clear();

    ASSERT_TRUE(overlay_.create());
    ASSERT_NE(overlay_.handle(), nullptr);
    EXPECT_EQ(events_.calls, std::vector<std::string>{"onOverlayCreated"});
    EXPECT_EQ(overlay_.windowLeft(), 50);
    overlay_.setWindowPosition(400, 400);
    EXPECT_EQ(events_.positionsSeenWhenMoved, (std::vector<std::pair<int, int>>{{400, 400}}))
        << "the old place is not mistaken for the current one";
}

TEST_F(OverlayWindowEventsTest, TheTimerTicksUntilStopped) {
    open();
    overlay_.setTimerInterval(10);
    pumpFor(3000, [&] { return events_.ticks >= 3; });
    EXPECT_GE(events_.ticks, 3);

    overlay_.setTimerInterval(0);
    pumpFor(50); // a tick already queued may still arrive
    const int ticksWhenStopped = events_.ticks;
    pumpFor(200);
    EXPECT_EQ(events_.ticks, ticksWhenStopped);

    // Another timer of the window is not the poll timer.
    SetTimer(overlay_.handle(), OverlayWindow::POLL_TIMER_ID + 1, 5, nullptr);
    pumpFor(100);
    KillTimer(overlay_.handle(), OverlayWindow::POLL_TIMER_ID + 1);
    EXPECT_EQ(events_.ticks, ticksWhenStopped);
}

// Keeps one posted message in the queue until its time is up, as a client flooding a socket
// keeps its notice there; then ends the loop.
ULONGLONG floodEnds = 0;
LRESULT CALLBACK floodingWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_APP) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    if (GetTickCount64() < floodEnds) {
        PostMessageW(window, WM_APP, 0, 0);
    } else {
        PostQuitMessage(0);
    }
    return 0;
}

TEST_F(OverlayWindowEventsTest, TheTimerTicksAndTheLabelPaintsWhilePostedMessagesFloodTheQueue) {
    open();
    WNDCLASSEXW floodClass{};
    floodClass.cbSize = sizeof(floodClass);
    floodClass.lpfnWndProc = floodingWindowProc;
    floodClass.hInstance = GetModuleHandleW(nullptr);
    floodClass.lpszClassName = L"Pal4TestFlood";
    RegisterClassExW(&floodClass);
    const HWND flood = CreateWindowExW(0, floodClass.lpszClassName, L"", 0, 0, 0, 0, 0,
                                       HWND_MESSAGE, nullptr, floodClass.hInstance, nullptr);
    ASSERT_NE(flood, nullptr);
    overlay_.setTimerInterval(100);
    overlay_.setLabelText("changed");
    floodEnds = GetTickCount64() + 1500;
    PostMessageW(flood, WM_APP, 0, 0);
    runMessageLoop(nullptr);
    DestroyWindow(flood);
    EXPECT_GE(events_.ticks, 10) << "about 15 ticks are due in 1.5 s";
    EXPECT_FALSE(GetUpdateRect(overlay_.handle(), nullptr, FALSE)) << "the change was painted";
}

TEST_F(OverlayWindowEventsTest, TheLabelIsTheCaptionTheUserDragsTheSubtitleBy) {
    open();
    overlay_.setWindowBounds(100, 100, 400, 100);
    const auto hitAt = [&](int x, int y) {
        return SendMessageW(overlay_.handle(), WM_NCHITTEST, 0,
                            MAKELPARAM(static_cast<WORD>(100 + x), static_cast<WORD>(100 + y)));
    };
    overlay_.setLabelSize(400, 100);
    EXPECT_EQ(hitAt(5, 5), HTCAPTION);
    EXPECT_EQ(hitAt(399, 99), HTCAPTION);
    overlay_.setLabelSize(200, 50);
    EXPECT_EQ(hitAt(150, 40), HTCAPTION);
    EXPECT_EQ(hitAt(250, 40), HTCLIENT) << "beside the label";
    EXPECT_EQ(hitAt(150, 70), HTCLIENT) << "below the label";

    // A double click on the caption must not maximise the subtitle over the screen.
    SendMessageW(overlay_.handle(), WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(105, 105));
    EXPECT_FALSE(IsZoomed(overlay_.handle()));
    EXPECT_EQ(boundsOf(overlay_.handle()).right, 500);
}

class CountingEvents final : public OverlayEvents {
public:
    int created = 0;
    int destroyed = 0;
    void onOverlayCreated() override { ++created; }
    void onOverlayMoved() override {}
    void onOverlayDestroyed() override { ++destroyed; }
    void onPollTimer() override {}
    void onWheelUp() override {}
    void onWheelDown() override {}
};

TEST(OverlayWindowLifetime, AWindowStillOpenAtTheEndIsClosedWithoutRunningTheHandlers) {
    CountingEvents events; // outlives the window, so a late call would be counted
    HWND window = nullptr;
    {
        OverlayWindow overlay(GetModuleHandleW(nullptr));
        overlay.bind(events);
        ASSERT_TRUE(overlay.create());
        window = overlay.handle();
        ASSERT_NE(window, nullptr);
    }
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(events.created, 1);
    EXPECT_EQ(events.destroyed, 0);
}

} // namespace
