#include "platform/win32/panel_window.hpp"

#include "platform/win32/dpi.hpp"
#include "platform/win32/gb2312.hpp"
#include "platform/win32/resource_ids.h"
#include "ui/slider_ranges.hpp"

#include <cstddef>

namespace pal4::win32 {

namespace {

// The tool's name, GB2312 like every text of the program.
constexpr const char* PANEL_TITLE = "仙剑4外挂字幕";

constexpr DWORD PANEL_STYLE = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD PANEL_EX_STYLE = 0;

#ifndef WM_DPICHANGED
constexpr UINT WM_DPICHANGED = 0x02E0;
#endif

std::size_t indexOf(Slider slider) {
    return static_cast<std::size_t>(slider);
}
std::size_t indexOf(CheckBox box) {
    return static_cast<std::size_t>(box);
}

// The outer size that gives the design client area at this DPI.
SIZE windowSizeFor(unsigned dpi) {
    RECT bounds{0, 0, scaleToDpi(PanelWindow::DESIGN_CLIENT_WIDTH, dpi),
                scaleToDpi(PanelWindow::DESIGN_CLIENT_HEIGHT, dpi)};
    AdjustWindowRectEx(&bounds, PANEL_STYLE, FALSE, PANEL_EX_STYLE);
    return {bounds.right - bounds.left, bounds.bottom - bounds.top};
}

} // namespace

PanelWindow::PanelWindow(HINSTANCE instance) : instance_(instance), fontFace_("宋体") {}

PanelWindow::~PanelWindow() {
    if (window_) {
        // Only after a broken message loop: the handlers may be gone already, so they are not run.
        events_ = nullptr;
        DestroyWindow(window_);
    }
}

bool PanelWindow::registerClass() const {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = &PanelWindow::windowProc;
    windowClass.hInstance = instance_;
    windowClass.hIcon = LoadIconW(instance_, MAKEINTRESOURCEW(PAL4_ICON_APP));
    windowClass.hIconSm = windowClass.hIcon;
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = CLASS_NAME;
    return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

bool PanelWindow::create(int showCommand) {
    if (!registerClass()) {
        return false;
    }
    // The final size depends on the DPI of the monitor the window lands on, known only once it
    // exists; it is created at the 96 DPI size and resized in onCreate.
    const SIZE size = windowSizeFor(DESIGN_DPI);
    const HWND created = CreateWindowExW(
        PANEL_EX_STYLE, CLASS_NAME, widenGb2312(PANEL_TITLE).c_str(), PANEL_STYLE, DESIGN_LEFT,
        DESIGN_TOP, size.cx, size.cy, nullptr, nullptr, instance_, this);
    if (!created) {
        return false;
    }
    ShowWindow(created, showCommand);
    UpdateWindow(created);
    return true;
}

LRESULT CALLBACK PanelWindow::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        auto* self = static_cast<PanelWindow*>(creation->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<PanelWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->window_ = nullptr;
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return self->handleMessage(message, wParam, lParam);
}

LRESULT PanelWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        onCreate();
        return 0;
    case WM_DESTROY:
        onDestroy();
        return 0;
    case WM_DPICHANGED:
        onDpiChanged(*reinterpret_cast<const RECT*>(lParam));
        return 0;
    default:
        return DefWindowProcW(window_, message, wParam, lParam);
    }
}

void PanelWindow::onCreate() {
    const unsigned dpi = dpiOf(window_);
    if (dpi != DESIGN_DPI) {
        const SIZE size = windowSizeFor(dpi);
        SetWindowPos(window_, nullptr, 0, 0, size.cx, size.cy,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (events_) {
        events_->onPanelCreated();
    }
}

void PanelWindow::onDestroy() {
    if (events_) {
        events_->onPanelDestroying();
    }
    PostQuitMessage(0);
}

void PanelWindow::onDpiChanged(const RECT& suggested) {
    SetWindowPos(window_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

std::int32_t PanelWindow::sliderPosition(Slider slider) const {
    return sliders_[indexOf(slider)];
}

void PanelWindow::setSliderPosition(Slider slider, std::int32_t position) {
    sliders_[indexOf(slider)] = sliderRange(slider).clamp(position);
}

bool PanelWindow::isChecked(CheckBox box) const {
    return checks_[indexOf(box)];
}

void PanelWindow::setChecked(CheckBox box, bool checked) {
    checks_[indexOf(box)] = checked;
}

void PanelWindow::setCaption(ValueCaption, const std::string&) {}

void PanelWindow::setEditText(const std::string&) {}

std::string PanelWindow::fontFace() const {
    return fontFace_;
}

void PanelWindow::setFontFace(const std::string& face) {
    fontFace_ = face;
}

ColorRef PanelWindow::color() const {
    return color_;
}

void PanelWindow::setColor(ColorRef color) {
    color_ = color;
}

void PanelWindow::setToggleCaption(const std::string&) {}

void PanelWindow::underlineLinks() {}

} // namespace pal4::win32
