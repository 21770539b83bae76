// The panel window with its real controls: user actions run exactly their handler, values set
// from code run none, and the window's creation and destruction reach the handlers with every
// control usable.
#include "win32/panel_window/panel_window.hpp"

#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace pal4;
using namespace pal4::win32;

class RecordingEvents final : public PanelEvents {
public:
    std::vector<std::string> calls;
    std::function<void()> whenCreated;
    std::function<void()> whenDestroying;

    void onPanelCreated() override {
        calls.push_back("onPanelCreated");
        if (whenCreated) {
            whenCreated();
        }
    }
    void onPanelDestroying() override {
        calls.push_back("onPanelDestroying");
        if (whenDestroying) {
            whenDestroying();
        }
    }
    void onPanelTimer() override {} // comes when it will: not one of the calls checked
    void onToggleClicked() override { calls.push_back("onToggleClicked"); }
    void onColorChanged() override { calls.push_back("onColorChanged"); }
    void onFontSizeChanged() override { calls.push_back("onFontSizeChanged"); }
    void onFontChanged() override { calls.push_back("onFontChanged"); }
    void onLeftChanged() override { calls.push_back("onLeftChanged"); }
    void onTopChanged() override { calls.push_back("onTopChanged"); }
    void onWidthChanged() override { calls.push_back("onWidthChanged"); }
    void onHeightChanged() override { calls.push_back("onHeightChanged"); }
    void onBoldClicked() override { calls.push_back("onBoldClicked"); }
    void onItalicClicked() override { calls.push_back("onItalicClicked"); }
    void onShadowClicked() override { calls.push_back("onShadowClicked"); }
    void onCentreClicked() override { calls.push_back("onCentreClicked"); }
    void onOutlineClicked() override { calls.push_back("onOutlineClicked"); }
    void onDebugClicked() override { calls.push_back("onDebugClicked"); }
    void onAuthorLinkPressed() override { calls.push_back("onAuthorLinkPressed"); }
    void onClubLinkPressed() override { calls.push_back("onClubLinkPressed"); }
    void onHistoryClicked() override { calls.push_back("onHistoryClicked"); }
    void onOpenLogPressed() override { calls.push_back("onOpenLogPressed"); }
    void onLockClicked() override { calls.push_back("onLockClicked"); }
    void onLockHotkey() override { calls.push_back("onLockHotkey"); }
    void onFullScreenClicked() override { calls.push_back("onFullScreenClicked"); }
    void onFullScreenHotkey() override { calls.push_back("onFullScreenHotkey"); }
    void onBackHotkey() override { calls.push_back("onBackHotkey"); }
    void onForwardHotkey() override { calls.push_back("onForwardHotkey"); }
};

std::wstring textOf(HWND window) {
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    return text;
}

// Ends the loop's WM_QUIT and everything else still queued; the exit code, -1 without WM_QUIT.
int drainQueue() {
    int exitCode = -1;
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            exitCode = static_cast<int>(message.wParam);
        } else {
            DispatchMessageW(&message);
        }
    }
    return exitCode;
}

class PanelWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX),
                                      ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
        InitCommonControlsEx(&controls);
        panel_ = std::make_unique<PanelWindow>(GetModuleHandleW(nullptr), "使用帮助");
        panel_->bind(events_);
    }
    void TearDown() override {
        if (panel_->handle()) {
            DestroyWindow(panel_->handle());
        }
        drainQueue();
    }
    void open() {
        ASSERT_TRUE(panel_->create(SW_HIDE));
        drainQueue();
        events_.calls.clear();
    }
    HWND control(ControlId id) const { return GetDlgItem(panel_->handle(), id); }

    RecordingEvents events_;
    std::unique_ptr<PanelWindow> panel_;
};

TEST_F(PanelWindowTest, CreationRunsOnPanelCreatedWithEveryControlAlreadyUsable) {
    bool sawControls = false;
    events_.whenCreated = [&] {
        panel_->setSliderPosition(Slider::Height, 300);
        panel_->setCaption(ValueCaption::FontSize, "字体大小 = 20");
        sawControls = panel_->sliderPosition(Slider::Height) == 300 &&
                      panel_->sliderPosition(Slider::FontSize) == 20 &&
                      panel_->fontFace() == "宋体" && panel_->color() == 0xFFFFFF;
    };
    ASSERT_TRUE(panel_->create(SW_HIDE));
    EXPECT_TRUE(sawControls);
    EXPECT_EQ(events_.calls, std::vector<std::string>{"onPanelCreated"});
    EXPECT_EQ(textOf(control(ID_FONT_SIZE_CAPTION)), L"字体大小 = 20");
    EXPECT_EQ(textOf(control(ID_HELP_BOX)), L"使用帮助");
    EXPECT_EQ(textOf(control(ID_TOGGLE)), L"外挂字幕");
}

// Closed by the user (a close runs the steps before Wine's hide, which waits about 2 s without a
// window manager), destroyed, or the session ending (log-off, shut-down), where nobody destroys it.
TEST_F(PanelWindowTest, DestructionRunsOnPanelDestroyingWhileControlsLiveThenEndsTheLoop) {
    for (const UINT how : {UINT{WM_CLOSE}, UINT{WM_DESTROY}, UINT{WM_ENDSESSION}}) {
        open();
        ShowWindow(panel_->handle(), SW_SHOWNOACTIVATE);
        panel_->setChecked(CheckBox::Bold, true);
        bool boldSeenWhileClosing = false;
        bool shownWhileClosing = false;
        events_.whenDestroying = [&] {
            boldSeenWhileClosing = panel_->isChecked(CheckBox::Bold);
            shownWhileClosing = IsWindowVisible(panel_->handle()) != FALSE;
        };
        how == WM_DESTROY ? DestroyWindow(panel_->handle())
                          : SendMessageW(panel_->handle(), how, TRUE, 0);
        EXPECT_EQ(events_.calls, std::vector<std::string>{"onPanelDestroying"}) << how;
        EXPECT_TRUE(boldSeenWhileClosing);
        EXPECT_TRUE(shownWhileClosing || how != WM_CLOSE);
        EXPECT_EQ(panel_->handle(), nullptr);
        EXPECT_EQ(drainQueue(), 0) << "WM_QUIT with exit code 0";
    }
}

// Ctrl+Shift+F11: unlikely to be held by anything else on a test machine.
constexpr HotkeyCombination TEST_HOTKEY{HOTKEY_MOD_CONTROL | HOTKEY_MOD_SHIFT, VK_F11};

TEST_F(PanelWindowTest, TheHotKeyReachesTheToggleAndIsGivenBackOnDestruction) {
    open();
    ASSERT_TRUE(panel_->registerHotkey(Hotkey::Toggle, TEST_HOTKEY));
    // Another window cannot take it while the panel holds it.
    const HWND other = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, nullptr, nullptr,
                                       GetModuleHandleW(nullptr), nullptr);
    EXPECT_FALSE(RegisterHotKey(other, 7, TEST_HOTKEY.modifiers, TEST_HOTKEY.virtualKey));

    PostMessageW(panel_->handle(), WM_HOTKEY, PanelWindow::TOGGLE_HOTKEY_ID,
                 MAKELPARAM(TEST_HOTKEY.modifiers, TEST_HOTKEY.virtualKey));
    PostMessageW(panel_->handle(), WM_HOTKEY, PanelWindow::LOCK_HOTKEY_ID, 0);
    PostMessageW(panel_->handle(), WM_HOTKEY, PanelWindow::FULL_SCREEN_HOTKEY_ID, 0);
    PostMessageW(panel_->handle(), WM_HOTKEY, PanelWindow::BACK_HOTKEY_ID, 0);
    PostMessageW(panel_->handle(), WM_HOTKEY, PanelWindow::FORWARD_HOTKEY_ID, 0);
    PostMessageW(panel_->handle(), WM_HOTKEY, 9, 0);
    drainQueue();
    EXPECT_EQ(events_.calls,
              (std::vector<std::string>{"onToggleClicked", "onLockHotkey", "onFullScreenHotkey",
                                        "onBackHotkey", "onForwardHotkey"}))
        << "each hot key's own id, no other";

    DestroyWindow(panel_->handle());
    EXPECT_TRUE(RegisterHotKey(other, 7, TEST_HOTKEY.modifiers, TEST_HOTKEY.virtualKey));
    UnregisterHotKey(other, 7);
    DestroyWindow(other);
}

TEST_F(PanelWindowTest, AHotKeyHeldElsewhereIsRefused) {
    open();
    const HWND other = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, nullptr, nullptr,
                                       GetModuleHandleW(nullptr), nullptr);
    ASSERT_TRUE(RegisterHotKey(other, 7, TEST_HOTKEY.modifiers, TEST_HOTKEY.virtualKey));
    EXPECT_FALSE(panel_->registerHotkey(Hotkey::Lock, TEST_HOTKEY));
    UnregisterHotKey(other, 7);
    DestroyWindow(other);
}

TEST_F(PanelWindowTest, ValuesSetFromCodeRunNoHandlerAndReadBack) {
    open();
    struct SliderCase {
        Slider slider;
        std::int32_t set;
        std::int32_t held;
    };
    const SliderCase sliders[] = {
        {Slider::FontSize, 200, 200}, {Slider::FontSize, 0, 1}, {Slider::Left, -30, 0},
        {Slider::Left, 1921, 1920},   {Slider::Top, 700, 700},  {Slider::Top, 0, 1},
        {Slider::Width, 5000, 1920},  {Slider::Height, 1, 1},   {Slider::Height, 1300, 1200},
    };
    for (const SliderCase& c : sliders) {
        panel_->setSliderPosition(c.slider, c.set);
        EXPECT_EQ(panel_->sliderPosition(c.slider), c.held) << "set " << c.set;
    }
    for (CheckBox box :
         {CheckBox::Bold, CheckBox::Italic, CheckBox::Shadow, CheckBox::Centre, CheckBox::Debug}) {
        panel_->setChecked(box, true);
        EXPECT_TRUE(panel_->isChecked(box));
        panel_->setChecked(box, false);
        EXPECT_FALSE(panel_->isChecked(box));
    }
    panel_->setColor(255);
    EXPECT_EQ(panel_->color(), 255u);
    panel_->setFontFace("楷体_GB2312");
    EXPECT_EQ(panel_->fontFace(), "楷体_GB2312");
    panel_->setToggleCaption("去除字幕");
    EXPECT_EQ(textOf(control(ID_TOGGLE)), L"去除字幕");
    panel_->setCaption(ValueCaption::Left, "水平位置 = -30");
    EXPECT_EQ(textOf(control(ID_LEFT_CAPTION)), L"水平位置 = -30");
    panel_->setEditText("甲：你好");
    EXPECT_EQ(textOf(control(ID_HELP_BOX)), L"甲：你好");
    panel_->underlineLinks();
    drainQueue();
    EXPECT_TRUE(events_.calls.empty()) << events_.calls.front();
}

TEST_F(PanelWindowTest, FontFacesDifferingOnlyInLetterCaseAreDifferentChoices) {
    open();
    panel_->setFontFace("pal4 test face");
    panel_->setFontFace("PAL4 TEST FACE");
    EXPECT_EQ(panel_->fontFace(), "PAL4 TEST FACE");
    panel_->setFontFace("pal4 test face");
    EXPECT_EQ(panel_->fontFace(), "pal4 test face");
}

struct ClickCase {
    ControlId control;
    const char* handler;
    bool togglesCheck;
};

class PanelClickTest : public PanelWindowTest, public ::testing::WithParamInterface<ClickCase> {};

TEST_P(PanelClickTest, ClickingAControlRunsExactlyItsHandler) {
    open();
    const ClickCase& c = GetParam();
    SendMessageW(control(c.control), BM_CLICK, 0, 0);
    drainQueue();
    EXPECT_EQ(events_.calls, std::vector<std::string>{c.handler});
    if (c.togglesCheck) {
        EXPECT_EQ(SendMessageW(control(c.control), BM_GETCHECK, 0, 0), BST_CHECKED);
    }
}

INSTANTIATE_TEST_SUITE_P(Buttons, PanelClickTest,
                         ::testing::Values(ClickCase{ID_TOGGLE, "onToggleClicked", false},
                                           ClickCase{ID_DEBUG, "onDebugClicked", true},
                                           ClickCase{ID_BOLD, "onBoldClicked", true},
                                           ClickCase{ID_ITALIC, "onItalicClicked", true},
                                           ClickCase{ID_SHADOW, "onShadowClicked", true},
                                           ClickCase{ID_CENTRE, "onCentreClicked", true},
                                           ClickCase{ID_OUTLINE, "onOutlineClicked", true},
                                           ClickCase{ID_HISTORY, "onHistoryClicked", true},
                                           ClickCase{ID_LOCK, "onLockClicked", true},
                                           ClickCase{ID_FULL_SCREEN, "onFullScreenClicked", true}));

struct SlideCase {
    Slider slider;
    const char* handler;
};

class PanelSlideTest : public PanelWindowTest, public ::testing::WithParamInterface<SlideCase> {};

TEST_P(PanelSlideTest, ArrowKeyOnASliderMovesItOneStepAndRunsItsHandlerOnce) {
    open();
    const SlideCase& c = GetParam();
    const HWND trackbar = GetDlgItem(panel_->handle(), sliderControl(c.slider));
    const std::int32_t before = panel_->sliderPosition(c.slider);
    SendMessageW(trackbar, WM_KEYDOWN, VK_RIGHT, 0);
    SendMessageW(trackbar, WM_KEYUP, VK_RIGHT, 0);
    drainQueue();
    EXPECT_EQ(panel_->sliderPosition(c.slider), before + 1);
    EXPECT_EQ(events_.calls, std::vector<std::string>{c.handler});
}

INSTANTIATE_TEST_SUITE_P(Sliders, PanelSlideTest,
                         ::testing::Values(SlideCase{Slider::FontSize, "onFontSizeChanged"},
                                           SlideCase{Slider::Left, "onLeftChanged"},
                                           SlideCase{Slider::Top, "onTopChanged"},
                                           SlideCase{Slider::Width, "onWidthChanged"},
                                           SlideCase{Slider::Height, "onHeightChanged"}));

TEST_F(PanelWindowTest, ChoosingAnotherFaceInTheListRunsOnFontChanged) {
    open();
    panel_->setFontFace("zzzz pal4 face");
    const HWND chooser = control(ID_FONT_CHOOSER);
    ASSERT_NE(SendMessageW(chooser, CB_GETCURSEL, 0, 0), 0) << "not the first entry already";
    SendMessageW(chooser, WM_KEYDOWN, VK_HOME, 0);
    drainQueue();
    EXPECT_EQ(SendMessageW(chooser, CB_GETCURSEL, 0, 0), 0);
    EXPECT_NE(panel_->fontFace(), "zzzz pal4 face");
    EXPECT_FALSE(panel_->fontFace().empty());
    EXPECT_EQ(events_.calls, std::vector<std::string>{"onFontChanged"});
}

TEST_F(PanelWindowTest, PressingALinkRunsItsHandlerAndTheSpaceBetweenRunsNone) {
    open();
    const auto press = [&](int x, int y) {
        SendMessageW(panel_->handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        SendMessageW(panel_->handle(), WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    };
    press(140, 312); // Corvel, at 132,306 40x16
    press(250, 312); // Tessaly, at 211,306 85x16
    press(176, 312); // between the author's link and the dedication
    press(200, 200); // on the panel itself
    EXPECT_EQ(events_.calls,
              (std::vector<std::string>{"onAuthorLinkPressed", "onClubLinkPressed"}));
}

TEST_F(PanelWindowTest, ClientAreaHasTheDesignSizeAndControlsSitAtTheirDesignPlaces) {
    open();
    RECT client{};
    GetClientRect(panel_->handle(), &client);
    EXPECT_EQ(client.right, PanelWindow::DESIGN_CLIENT_WIDTH);
    EXPECT_EQ(client.bottom, PanelWindow::DESIGN_CLIENT_HEIGHT);
    for (const ControlDesign& design : PANEL_CONTROLS) {
        RECT bounds{};
        GetWindowRect(control(design.id), &bounds);
        MapWindowPoints(nullptr, panel_->handle(), reinterpret_cast<POINT*>(&bounds), 2);
        EXPECT_EQ(bounds.left, design.left) << "control " << design.id;
        EXPECT_EQ(bounds.top, design.top) << "control " << design.id;
        EXPECT_EQ(bounds.right - bounds.left, design.width) << "control " << design.id;
        EXPECT_LE(bounds.right, client.right) << "control " << design.id;
    }
}

} // namespace
