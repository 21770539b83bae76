#include "win32/panel_window.hpp"

#include "win32/dpi.hpp"
#include "win32/gb2312.hpp"
#include "win32/resource_ids.h"
#include "ui/slider_ranges.hpp"

#include <commctrl.h>
#include <commdlg.h>

#include <set>
#include <utility>

namespace pal4::win32 {

namespace {

// The tool's name, GB2312 like every text of the program.
constexpr const char* PANEL_TITLE = "仙剑4外挂字幕";

constexpr DWORD PANEL_STYLE = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD PANEL_EX_STYLE = WS_EX_CONTROLPARENT;

#ifndef WM_DPICHANGED
constexpr UINT WM_DPICHANGED = 0x02E0;
#endif

// The outer size that gives the design client area at this DPI.
SIZE windowSizeFor(unsigned dpi) {
    RECT bounds{0, 0, scaleToDpi(PanelWindow::DESIGN_CLIENT_WIDTH, dpi),
                scaleToDpi(PanelWindow::DESIGN_CLIENT_HEIGHT, dpi)};
    AdjustWindowRectEx(&bounds, PANEL_STYLE, FALSE, PANEL_EX_STYLE);
    return {bounds.right - bounds.left, bounds.bottom - bounds.top};
}

// 宋体 at a character height in design pixels, the panel's face for its own texts.
UniqueFontHandle makePanelFont(unsigned dpi, LONG weight, bool italic, bool underline) {
    LOGFONTW font{};
    font.lfHeight = -scaleToDpi(PANEL_FONT_HEIGHT, dpi);
    font.lfWeight = weight;
    font.lfItalic = italic ? TRUE : FALSE;
    font.lfUnderline = underline ? TRUE : FALSE;
    font.lfCharSet = GB2312_CHARSET;
    font.lfQuality = DEFAULT_QUALITY;
    const std::wstring face = widenGb2312(DESIGN_FONT_FACE);
    face.copy(font.lfFaceName, LF_FACESIZE - 1);
    return UniqueFontHandle(CreateFontIndirectW(&font));
}

const ControlDesign* designOf(int controlId) {
    for (const ControlDesign& design : PANEL_CONTROLS) {
        if (design.id == controlId) {
            return &design;
        }
    }
    return nullptr;
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

// The text of one entry of a combo box's list.
std::wstring listEntry(HWND comboBox, LRESULT index) {
    const auto position = static_cast<WPARAM>(index);
    const LRESULT length = SendMessageW(comboBox, CB_GETLBTEXTLEN, position, 0);
    if (length <= 0) {
        return {};
    }
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT copied =
        SendMessageW(comboBox, CB_GETLBTEXT, position, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return text;
}

} // namespace

PanelWindow::PanelWindow(HINSTANCE instance, std::string helpText)
    : instance_(instance), helpText_(std::move(helpText)) {
    for (const Slider slider : ALL_SLIDERS) {
        lastSliderPositions_[static_cast<std::size_t>(slider)] = designSliderPosition(slider);
    }
}

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
    windowClass.lpfnWndProc = &windowProcedure<PanelWindow>;
    windowClass.hInstance = instance_;
    windowClass.hIcon = LoadIconW(instance_, MAKEINTRESOURCEW(PAL4_ICON_APP));
    windowClass.hIconSm = windowClass.hIcon;
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
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

LRESULT PanelWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        onCreate();
        return 0;
    case WM_DESTROY:
        onDestroy();
        return 0;
    case WM_DPICHANGED:
        onDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_COMMAND:
        onCommand(LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_HSCROLL:
        if (lParam != 0) {
            onSliderScrolled(reinterpret_cast<HWND>(lParam));
        }
        return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        return reinterpret_cast<LRESULT>(
            onControlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)));
    case WM_DRAWITEM:
        onDrawColorPicker(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_PAINT:
        onPaint();
        return 0;
    case WM_SETCURSOR:
        if (reinterpret_cast<HWND>(wParam) == window_ && onSetCursor(LOWORD(lParam) == HTCLIENT)) {
            return TRUE;
        }
        break;
    case WM_LBUTTONDOWN:
        onLeftButtonDown({static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
        return 0;
    default:
        break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

void PanelWindow::onCreate() {
    dpi_ = dpiOf(window_);
    if (dpi_ != DESIGN_DPI) {
        const SIZE size = windowSizeFor(dpi_);
        SetWindowPos(window_, nullptr, 0, 0, size.cx, size.cy,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    createControls();
    applyDpi(dpi_);
    // The load fills the controls, so they must all exist before it runs.
    if (events_) {
        events_->onPanelCreated();
    }
}

void PanelWindow::onDestroy() {
    // The controls still exist here: the closing step may read them.
    if (events_) {
        events_->onPanelDestroying();
    }
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
    for (const Slider slider : ALL_SLIDERS) {
        const HWND trackbar = control(sliderControl(slider));
        const SliderRange range = sliderRange(slider);
        SendMessageW(trackbar, TBM_SETRANGEMIN, FALSE, range.minimum);
        SendMessageW(trackbar, TBM_SETRANGEMAX, FALSE, range.maximum);
        SendMessageW(trackbar, TBM_SETLINESIZE, 0, 1);
        SendMessageW(trackbar, TBM_SETPAGESIZE, 0, 5);
        SendMessageW(trackbar, TBM_SETPOS, TRUE, designSliderPosition(slider));
    }
    fillFontChooser();
    setFontFace(DESIGN_FONT_FACE);
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

void PanelWindow::applyDpi(unsigned dpi) {
    dpi_ = dpi;
    panelFont_ = makePanelFont(dpi, FW_NORMAL, false, false);
    boldFont_ = makePanelFont(dpi, FW_BOLD, false, false);
    italicFont_ = makePanelFont(dpi, FW_NORMAL, true, false);
    linkFont_ = makePanelFont(dpi, FW_NORMAL, false, linksUnderlined_);
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

void PanelWindow::onDpiChanged(unsigned dpi, const RECT& suggested) {
    SetWindowPos(window_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    applyDpi(dpi);
}

RECT PanelWindow::scaled(int left, int top, int width, int height) const {
    const int x = scaleToDpi(left, dpi_);
    const int y = scaleToDpi(top, dpi_);
    return {x, y, x + scaleToDpi(width, dpi_), y + scaleToDpi(height, dpi_)};
}

void PanelWindow::onCommand(int controlId, unsigned notification) {
    if (!events_) {
        return;
    }
    if (controlId == ID_FONT_CHOOSER) {
        if (notification == CBN_SELCHANGE) {
            events_->onFontChanged();
        }
        return;
    }
    if (notification != BN_CLICKED) {
        return;
    }
    switch (controlId) {
    case ID_TOGGLE:
        events_->onToggleClicked();
        break;
    case ID_DEBUG:
        events_->onDebugClicked();
        break;
    case ID_BOLD:
        events_->onBoldClicked();
        break;
    case ID_ITALIC:
        events_->onItalicClicked();
        break;
    case ID_SHADOW:
        events_->onShadowClicked();
        break;
    case ID_CENTRE:
        events_->onCentreClicked();
        break;
    case ID_COLOR_PICKER:
        pickColor();
        break;
    default:
        break; // IDOK and IDCANCEL from the dialog keys: nothing to do
    }
}

void PanelWindow::onSliderScrolled(HWND trackbar) {
    for (const Slider slider : ALL_SLIDERS) {
        if (control(sliderControl(slider)) != trackbar) {
            continue;
        }
        // A trackbar reports every step of a drag and its end; only a new position is a change.
        const std::int32_t position = sliderPosition(slider);
        std::int32_t& last = lastSliderPositions_[static_cast<std::size_t>(slider)];
        if (position == last || !events_) {
            return;
        }
        last = position;
        switch (slider) {
        case Slider::FontSize:
            events_->onFontSizeChanged();
            break;
        case Slider::Left:
            events_->onLeftChanged();
            break;
        case Slider::Top:
            events_->onTopChanged();
            break;
        case Slider::Width:
            events_->onWidthChanged();
            break;
        case Slider::Height:
            events_->onHeightChanged();
            break;
        }
        return;
    }
}

HBRUSH PanelWindow::onControlColor(HDC dc, HWND child) {
    const ControlDesign* design = designOf(GetDlgCtrlID(child));
    if (design && design->textColor) {
        SetTextColor(dc, *design->textColor);
    }
    if (design && design->background) {
        SetBkColor(dc, *design->background);
        return design->id == ID_SHADOW ? shadowBoxBrush_.get() : helpBoxBrush_.get();
    }
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return GetSysColorBrush(COLOR_BTNFACE);
}

void PanelWindow::onDrawColorPicker(const DRAWITEMSTRUCT& item) {
    if (static_cast<int>(item.CtlID) != ID_COLOR_PICKER) {
        return;
    }
    RECT bounds = item.rcItem;
    DrawEdge(item.hDC, &bounds, (item.itemState & ODS_SELECTED) ? EDGE_SUNKEN : EDGE_RAISED,
             BF_RECT | BF_ADJUST);
    InflateRect(&bounds, -2, -2);
    const UniqueBrushHandle swatch(CreateSolidBrush(color_));
    FillRect(item.hDC, &bounds, swatch.get());
    FrameRect(item.hDC, &bounds, GetSysColorBrush(COLOR_WINDOWTEXT));
    if (item.itemState & ODS_FOCUS) {
        RECT focus = item.rcItem;
        InflateRect(&focus, -1, -1);
        DrawFocusRect(item.hDC, &focus);
    }
}

void PanelWindow::onPaint() {
    PAINTSTRUCT paint{};
    const HDC dc = BeginPaint(window_, &paint);
    SetBkMode(dc, TRANSPARENT);
    for (const PaintedLabelDesign& label : PANEL_PAINTED_LABELS) {
        const SelectedObject font(dc, label.link ? linkFont_.get() : panelFont_.get());
        SetTextColor(dc, label.color);
        RECT bounds = scaled(label.left, label.top, label.width, label.height);
        const std::wstring text = widenGb2312(label.text);
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &bounds,
                  DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
    }
    EndPaint(window_, &paint);
}

const PaintedLabelDesign* PanelWindow::linkAt(POINT point) const {
    for (const PaintedLabelDesign& label : PANEL_PAINTED_LABELS) {
        const RECT bounds = scaled(label.left, label.top, label.width, label.height);
        if (label.link && PtInRect(&bounds, point)) {
            return &label;
        }
    }
    return nullptr;
}

bool PanelWindow::onSetCursor(bool inClientArea) {
    POINT cursor{};
    if (!inClientArea || !GetCursorPos(&cursor) || !ScreenToClient(window_, &cursor) ||
        !linkAt(cursor)) {
        return false;
    }
    SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32649))); // IDC_HAND
    return true;
}

void PanelWindow::onLeftButtonDown(POINT point) {
    const PaintedLabelDesign* link = linkAt(point);
    if (!link || !events_) {
        return;
    }
    if (link->role == PaintedLabelRole::AuthorLink) {
        events_->onAuthorLinkPressed();
    } else if (link->role == PaintedLabelRole::ClubLink) {
        events_->onClubLinkPressed();
    }
}

void PanelWindow::pickColor() {
    static COLORREF customColors[16] = {};
    CHOOSECOLORW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = window_;
    dialog.rgbResult = color_;
    dialog.lpCustColors = customColors;
    dialog.Flags = CC_RGBINIT | CC_FULLOPEN;
    if (!ChooseColorW(&dialog) || dialog.rgbResult == color_) {
        return;
    }
    setColor(dialog.rgbResult);
    if (events_) {
        events_->onColorChanged();
    }
}

std::int32_t PanelWindow::sliderPosition(Slider slider) const {
    return static_cast<std::int32_t>(
        SendMessageW(control(sliderControl(slider)), TBM_GETPOS, 0, 0));
}

void PanelWindow::setSliderPosition(Slider slider, std::int32_t position) {
    const std::int32_t held = sliderRange(slider).clamp(position);
    lastSliderPositions_[static_cast<std::size_t>(slider)] = held;
    SendMessageW(control(sliderControl(slider)), TBM_SETPOS, TRUE, held);
}

bool PanelWindow::isChecked(CheckBox box) const {
    return SendMessageW(control(checkBoxControl(box)), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void PanelWindow::setChecked(CheckBox box, bool checked) {
    SendMessageW(control(checkBoxControl(box)), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED,
                 0);
}

void PanelWindow::setCaption(ValueCaption caption, const std::string& text) {
    SetWindowTextW(control(captionControl(caption)), widenGb2312(text).c_str());
}

void PanelWindow::setEditText(const std::string& text) {
    SetWindowTextW(control(ID_HELP_BOX), widenGb2312(text).c_str());
}

std::string PanelWindow::fontFace() const {
    const HWND chooser = control(ID_FONT_CHOOSER);
    const LRESULT selected = SendMessageW(chooser, CB_GETCURSEL, 0, 0);
    return selected == CB_ERR ? std::string() : narrowToGb2312(listEntry(chooser, selected));
}

void PanelWindow::setFontFace(const std::string& face) {
    const HWND chooser = control(ID_FONT_CHOOSER);
    const std::wstring wide = widenGb2312(face);
    // The list's own search ignores letter case; a face is only the same when its text is.
    LRESULT chosen = CB_ERR;
    const LRESULT count = SendMessageW(chooser, CB_GETCOUNT, 0, 0);
    for (LRESULT index = 0; index < count && chosen == CB_ERR; ++index) {
        if (listEntry(chooser, index) == wide) {
            chosen = index;
        }
    }
    // A face that is not installed still shows as chosen: the settings file may name one.
    if (chosen == CB_ERR) {
        chosen = SendMessageW(chooser, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
    }
    SendMessageW(chooser, CB_SETCURSEL, static_cast<WPARAM>(chosen), 0);
}

void PanelWindow::setColor(ColorRef color) {
    color_ = color;
    InvalidateRect(control(ID_COLOR_PICKER), nullptr, TRUE);
}

void PanelWindow::setToggleCaption(const std::string& caption) {
    SetWindowTextW(control(ID_TOGGLE), widenGb2312(caption).c_str());
}

void PanelWindow::underlineLinks() {
    linksUnderlined_ = true;
    linkFont_ = makePanelFont(dpi_, FW_NORMAL, false, true);
    for (const PaintedLabelDesign& label : PANEL_PAINTED_LABELS) {
        if (label.link) {
            const RECT bounds = scaled(label.left, label.top, label.width, label.height);
            InvalidateRect(window_, &bounds, TRUE);
        }
    }
}

} // namespace pal4::win32
