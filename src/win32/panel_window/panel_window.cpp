#include "win32/panel_window/panel_window.hpp"

#include "ui/slider_table.hpp"
#include "win32/panel_window/resource_ids.h"
#include "win32/platform/due_timers.hpp"
#include "win32/platform/gb2312.hpp"

#include <commctrl.h>

#include <set>
#include <utility>

namespace pal4::win32 {

namespace {

// The tool's name, GB2312 like every text of the program.
constexpr const char* PANEL_TITLE = "仙剑4外挂字幕";

constexpr DWORD PANEL_STYLE = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD PANEL_EX_STYLE = WS_EX_CONTROLPARENT;

// The outer size that gives the design client area at this DPI.
SIZE windowSizeFor(unsigned dpi) {
    RECT bounds{0, 0, scaleToDpi(PanelWindow::DESIGN_CLIENT_WIDTH, dpi),
                scaleToDpi(PanelWindow::DESIGN_CLIENT_HEIGHT, dpi)};
    AdjustWindowRectEx(&bounds, PANEL_STYLE, FALSE, PANEL_EX_STYLE);
    return {bounds.right - bounds.left, bounds.bottom - bounds.top};
}

struct WindowClassAndStyle {
    const wchar_t* className;
    DWORD style;
};

WindowClassAndStyle classAndStyleOf(ControlKind kind) {
    constexpr DWORD child = WS_CHILD | WS_VISIBLE;
    switch (kind) {
    case ControlKind::Label:
        return {L"STATIC", child | SS_LEFT | SS_NOPREFIX};
    case ControlKind::PushButton:
        return {L"BUTTON", child | WS_TABSTOP | BS_PUSHBUTTON};
    case ControlKind::CheckBox:
        return {L"BUTTON", child | WS_TABSTOP | BS_AUTOCHECKBOX};
    case ControlKind::Slider:
        return {TRACKBAR_CLASSW, child | WS_TABSTOP | TBS_HORZ | TBS_BOTTOM | TBS_NOTICKS};
    case ControlKind::FontChooser:
        return {L"COMBOBOX",
                child | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_SORT | CBS_HASSTRINGS};
    case ControlKind::ColorPicker:
        return {L"BUTTON", child | WS_TABSTOP | BS_OWNERDRAW};
    case ControlKind::EditBox:
        return {L"EDIT", child | WS_TABSTOP | WS_BORDER | WS_VSCROLL | ES_MULTILINE |
                             ES_AUTOVSCROLL | ES_READONLY};
    }
    return {L"STATIC", child};
}

int CALLBACK collectFontFace(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM context) {
    // Faces starting with '@' are the vertical variants of the same fonts.
    if (font->lfFaceName[0] != L'@') {
        reinterpret_cast<std::set<std::wstring>*>(context)->insert(font->lfFaceName);
    }
    return 1;
}

} // namespace

PanelWindow::PanelWindow(HINSTANCE instance, std::string helpText)
    : BaseWindow(instance), helpText_(std::move(helpText)) {
    for (const SliderRow& row : SLIDER_TABLE) {
        lastSliderPositions_[static_cast<std::size_t>(row.slider)] = row.designPosition;
    }
}

PanelWindow::~PanelWindow() {
    // Only after a broken message loop.
    destroyWithoutEvents();
}

bool PanelWindow::create(int showCommand) {
    WNDCLASSEXW panelClass{};
    panelClass.hIcon = LoadIconW(instance_, MAKEINTRESOURCEW(PAL4_ICON_APP));
    panelClass.hIconSm = panelClass.hIcon;
    panelClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
    panelClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    if (!registerClass(panelClass)) {
        return false;
    }
    closingStepsRun_ = false;
    // The final size depends on the DPI of the monitor the window lands on, known only once it
    // exists; it is created at the 96 DPI size and resized in onCreate.
    const SIZE size = windowSizeFor(DESIGN_DPI);
    const HWND created = createWindow(PANEL_EX_STYLE, widenGb2312(PANEL_TITLE).c_str(), PANEL_STYLE,
                                      DESIGN_LEFT, DESIGN_TOP, size.cx, size.cy);
    if (!created) {
        return false;
    }
    ShowWindow(created, showCommand);
    UpdateWindow(created);
    return true;
}

void PanelWindow::onCreate() {
    if (dpi_ != DESIGN_DPI) {
        const SIZE size = windowSizeFor(dpi_);
        SetWindowPos(window_, nullptr, 0, 0, size.cx, size.cy,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    createControls();
    applyDpi();
    // The load fills the controls, so they must all exist before it runs.
    report(&PanelEvents::onPanelCreated);
    // Due, like the poll tick: the live line's retries go on while a client floods the web port.
    setDueTimer(window_, SLOW_TIMER_ID, SLOW_TIMER_MS);
}

void PanelWindow::onClose() {
    // Wine hides a framed window before destroying it and, without a window manager, waits about
    // 2 s for the hide: the closing steps, which give a full-screen game its window back, run
    // before that, with every control still there.
    closingStepsRun_ = true;
    report(&PanelEvents::onPanelDestroying);
    DestroyWindow(window_);
}

void PanelWindow::onDestroy() {
    setDueTimer(window_, SLOW_TIMER_ID, 0);
    // The controls still exist here: the closing step may read them.
    if (!closingStepsRun_) {
        report(&PanelEvents::onPanelDestroying);
    }
    // Also when no handler is bound to give it back: a hot key outlives its window otherwise.
    unregisterHotkeys();
    PostQuitMessage(0);
}

void PanelWindow::createControls() {
    for (const ControlDesign& design : PANEL_CONTROLS) {
        const WindowClassAndStyle kind = classAndStyleOf(design.kind);
        const std::wstring text = design.text ? widenGb2312(design.text) : std::wstring();
        CreateWindowExW(0, kind.className, text.c_str(), kind.style, 0, 0, 0, 0, window_,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(design.id)), instance_,
                        nullptr);
    }
    for (const SliderRow& row : SLIDER_TABLE) {
        const HWND trackbar = control(sliderControl(row.slider));
        SendMessageW(trackbar, TBM_SETRANGEMIN, FALSE, row.range.minimum);
        SendMessageW(trackbar, TBM_SETRANGEMAX, FALSE, row.range.maximum);
        SendMessageW(trackbar, TBM_SETLINESIZE, 0, row.lineStep);
        SendMessageW(trackbar, TBM_SETPAGESIZE, 0, row.pageStep);
        SendMessageW(trackbar, TBM_SETPOS, TRUE, row.designPosition);
    }
    fillFontChooser();
    setFontFace(std::string(DEFAULT_FONT));
    SetWindowTextW(control(ID_HELP_BOX), widenGb2312(helpText_).c_str());
    shadowBoxBrush_.reset(CreateSolidBrush(SHADOW_BOX_BACKGROUND));
    helpBoxBrush_.reset(CreateSolidBrush(HELP_BOX_BACKGROUND));
}

void PanelWindow::fillFontChooser() {
    std::set<std::wstring> faces;
    LOGFONTW query{};
    query.lfCharSet = DEFAULT_CHARSET;
    const WindowDc dc(window_);
    EnumFontFamiliesExW(dc.get(), &query, &collectFontFace, reinterpret_cast<LPARAM>(&faces), 0);
    const HWND chooser = control(ID_FONT_CHOOSER);
    for (const std::wstring& face : faces) {
        SendMessageW(chooser, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(face.c_str()));
    }
}

void PanelWindow::applyDpi() {
    panelFont_ = makeFont(FW_NORMAL, false, false);
    boldFont_ = makeFont(FW_BOLD, false, false);
    italicFont_ = makeFont(FW_NORMAL, true, false);
    linkFont_ = makeFont(FW_NORMAL, false, linksUnderlined_);
    for (const ControlDesign& design : PANEL_CONTROLS) {
        const HWND child = control(design.id);
        const int height =
            design.kind == ControlKind::FontChooser ? FONT_LIST_HEIGHT : design.height;
        const RECT bounds = scaled(design.left, design.top, design.width, height);
        MoveWindow(child, bounds.left, bounds.top, bounds.right - bounds.left,
                   bounds.bottom - bounds.top, FALSE);
        const HFONT font = design.font == ControlFont::Bold     ? boldFont_.get()
                           : design.font == ControlFont::Italic ? italicFont_.get()
                                                                : panelFont_.get();
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    InvalidateRect(window_, nullptr, TRUE);
}

void PanelWindow::onDpiChanged(const RECT& suggested) {
    SetWindowPos(window_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    applyDpi();
}

RECT PanelWindow::scaled(int left, int top, int width, int height) const {
    const int x = scaleToDpi(left, dpi_);
    const int y = scaleToDpi(top, dpi_);
    return {x, y, x + scaleToDpi(width, dpi_), y + scaleToDpi(height, dpi_)};
}

UniqueFontHandle PanelWindow::makeFont(LONG weight, bool italic, bool underline) const {
    LOGFONTW font{};
    font.lfHeight = -scaleToDpi(PANEL_FONT_HEIGHT, dpi_);
    font.lfWeight = weight;
    font.lfItalic = italic ? TRUE : FALSE;
    font.lfUnderline = underline ? TRUE : FALSE;
    font.lfCharSet = GB2312_CHARSET;
    font.lfQuality = DEFAULT_QUALITY;
    const std::wstring face = widenGb2312(PANEL_FONT_FACE);
    face.copy(font.lfFaceName, LF_FACESIZE - 1);
    return UniqueFontHandle(CreateFontIndirectW(&font));
}

} // namespace pal4::win32
