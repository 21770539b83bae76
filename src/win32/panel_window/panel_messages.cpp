#include "win32/panel_window/panel_window.hpp"

#include "ui/slider_table.hpp"
#include "win32/platform/system_library.hpp"

#include <commctrl.h>
#include <commdlg.h>

namespace pal4::win32 {

LRESULT PanelWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        onCreate();
        return 0;
    case WM_CLOSE:
        onClose();
        return 0;
    case WM_DESTROY:
        onDestroy();
        return 0;
    case WM_ENDSESSION:
        // Log-off or shut-down: nobody destroys the window, and the process may end as soon as
        // this returns, so the closing steps run now, as when the user closes the panel.
        if (wParam != FALSE) {
            DestroyWindow(window_);
        }
        return 0;
    case WM_TIMER:
        if (wParam == SLOW_TIMER_ID) {
            report(&PanelEvents::onPanelTimer);
        }
        return 0;
    case WM_DPICHANGED:
        onDpiChanged(*reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_COMMAND:
        onCommand(LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_HOTKEY:
        switch (wParam) {
        case TOGGLE_HOTKEY_ID:
            report(&PanelEvents::onToggleClicked);
            break;
        case LOCK_HOTKEY_ID:
            report(&PanelEvents::onLockHotkey);
            break;
        case FULL_SCREEN_HOTKEY_ID:
            report(&PanelEvents::onFullScreenHotkey);
            break;
        case BACK_HOTKEY_ID:
            report(&PanelEvents::onBackHotkey);
            break;
        case FORWARD_HOTKEY_ID:
            report(&PanelEvents::onForwardHotkey);
            break;
        default:
            break;
        }
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
    return defaultHandling(message, wParam, lParam);
}

void PanelWindow::onCommand(int controlId, unsigned notification) {
    if (!events_) {
        return;
    }
    if (controlId == ID_FONT_CHOOSER) {
        if (notification == CBN_SELCHANGE) {
            report(&PanelEvents::onFontChanged);
        }
        return;
    }
    if (notification != BN_CLICKED) {
        return;
    }
    switch (controlId) {
    case ID_TOGGLE:
        report(&PanelEvents::onToggleClicked);
        break;
    case ID_DEBUG:
        report(&PanelEvents::onDebugClicked);
        break;
    case ID_BOLD:
        report(&PanelEvents::onBoldClicked);
        break;
    case ID_ITALIC:
        report(&PanelEvents::onItalicClicked);
        break;
    case ID_SHADOW:
        report(&PanelEvents::onShadowClicked);
        break;
    case ID_CENTRE:
        report(&PanelEvents::onCentreClicked);
        break;
    case ID_OUTLINE:
        report(&PanelEvents::onOutlineClicked);
        break;
    case ID_HISTORY:
        report(&PanelEvents::onHistoryClicked);
        break;
    case ID_LOCK:
        report(&PanelEvents::onLockClicked);
        break;
    case ID_FULL_SCREEN:
        report(&PanelEvents::onFullScreenClicked);
        break;
    case ID_COLOR_PICKER:
        pickColor();
        break;
    default:
        break; // IDOK and IDCANCEL from the dialog keys: nothing to do
    }
}

void PanelWindow::onSliderScrolled(HWND trackbar) {
    for (const SliderRow& row : SLIDER_TABLE) {
        if (control(sliderControl(row.slider)) != trackbar) {
            continue;
        }
        // A trackbar reports every step of a drag and its end; only a new position is a change.
        const std::int32_t position = sliderPosition(row.slider);
        std::int32_t& last = lastSliderPositions_[static_cast<std::size_t>(row.slider)];
        if (position == last || !events_) {
            return;
        }
        last = position;
        (events_->*row.changed)();
        return;
    }
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
        report(&PanelEvents::onAuthorLinkPressed);
    } else if (link->role == PaintedLabelRole::ClubLink) {
        report(&PanelEvents::onClubLinkPressed);
    } else if (link->role == PaintedLabelRole::OpenLogLink) {
        report(&PanelEvents::onOpenLogPressed);
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
    using ChooseColorFn = BOOL(WINAPI*)(CHOOSECOLORW*);
    const auto chooseColor = systemFunction<ChooseColorFn>(L"comdlg32.dll", "ChooseColorW");
    if (chooseColor == nullptr || !chooseColor(&dialog) || dialog.rgbResult == color_) {
        return;
    }
    setColor(dialog.rgbResult);
    report(&PanelEvents::onColorChanged);
}

} // namespace pal4::win32
