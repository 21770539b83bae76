#include "win32/panel_window/panel_window.hpp"

#include "win32/platform/dc_scopes.hpp"
#include "win32/platform/gb2312.hpp"

namespace pal4::win32 {

namespace {

const ControlDesign* designOf(int controlId) {
    for (const ControlDesign& design : PANEL_CONTROLS) {
        if (design.id == controlId) {
            return &design;
        }
    }
    return nullptr;
}

} // namespace

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
    const PaintDc paint(window_);
    const HDC dc = paint.get();
    SetBkMode(dc, TRANSPARENT);
    for (const PaintedLabelDesign& label : PANEL_PAINTED_LABELS) {
        const SelectedObject font(dc, label.link ? linkFont_.get() : panelFont_.get());
        SetTextColor(dc, label.color);
        RECT bounds = scaled(label.left, label.top, label.width, label.height);
        const std::wstring text = widenGb2312(label.text);
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &bounds,
                  DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
    }
}

} // namespace pal4::win32
