#include "scene_window.hpp"

#include "control_handler.hpp"
#include "control_protocol.hpp"

#include <algorithm>
#include <cstdio>
#include <string>

namespace pal4sim {
namespace {

constexpr wchar_t WINDOW_CLASS[] = L"Pal4SimulatedGame";
constexpr wchar_t WINDOW_TITLE[] = L"Pal4 (simulated)";
// The picture's size: the real game's usual resolution, which the tool's default subtitle place
// (left 10, top 640, 1024 wide) is made for.
constexpr int PICTURE_WIDTH = 1024;
constexpr int PICTURE_HEIGHT = 768;
constexpr int HORIZON = 486;
// The bright scene's ground, under the subtitles' default place: near white, not white.
constexpr COLORREF SNOW = RGB(244, 246, 250);

HFONT makeFont(int pixelHeight, int weight) {
    // A CJK face that Wine finds through fontconfig; Windows falls back to a GB2312 face.
    return CreateFontW(-pixelHeight, 0, 0, 0, weight, FALSE, FALSE, FALSE, GB2312_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH,
                       L"WenQuanYi Micro Hei");
}

// The game's text is GB2312 whatever the system's code page.
std::wstring widenGb2312(const std::string& text) {
    constexpr UINT GB2312_CODE_PAGE = 936;
    const int length = static_cast<int>(std::min<std::size_t>(text.size(), 4096));
    const int wideLength =
        MultiByteToWideChar(GB2312_CODE_PAGE, 0, text.data(), length, nullptr, 0);
    if (wideLength <= 0) {
        return {};
    }
    std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
    MultiByteToWideChar(GB2312_CODE_PAGE, 0, text.data(), length, wide.data(), wideLength);
    return wide;
}

COLORREF blend(COLORREF from, COLORREF to, int step, int steps) {
    const auto mix = [&](int a, int b) { return a + (b - a) * step / steps; };
    return RGB(mix(GetRValue(from), GetRValue(to)), mix(GetGValue(from), GetGValue(to)),
               mix(GetBValue(from), GetBValue(to)));
}

void fill(HDC dc, const RECT& rect, COLORREF color) {
    HBRUSH brush = CreateSolidBrush(color);
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
}

void gradient(HDC dc, const RECT& area, COLORREF top, COLORREF bottom) {
    constexpr int BANDS = 48;
    const int height = area.bottom - area.top;
    for (int band = 0; band < BANDS; ++band) {
        const RECT strip{area.left, area.top + height * band / BANDS, area.right,
                         area.top + height * (band + 1) / BANDS};
        fill(dc, strip, blend(top, bottom, band, BANDS - 1));
    }
}

void polygon(HDC dc, const POINT* points, int count, COLORREF color) {
    HBRUSH brush = CreateSolidBrush(color);
    HPEN pen = CreatePen(PS_SOLID, 1, color);
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    Polygon(dc, points, count);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(brush);
    DeleteObject(pen);
}

void ellipse(HDC dc, const RECT& box, COLORREF color) {
    HBRUSH brush = CreateSolidBrush(color);
    HPEN pen = CreatePen(PS_SOLID, 1, color);
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    Ellipse(dc, box.left, box.top, box.right, box.bottom);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(brush);
    DeleteObject(pen);
}

void text(HDC dc, HFONT font, const std::wstring& line, RECT box, COLORREF color, UINT format) {
    HGDIOBJ oldFont = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, color);
    DrawTextW(dc, line.c_str(), static_cast<int>(line.size()), &box, format);
    SelectObject(dc, oldFont);
}

void drawLandscape(HDC dc, const RECT& area) {
    gradient(dc, RECT{0, 0, area.right, HORIZON}, RGB(52, 98, 178), RGB(198, 222, 247));
    ellipse(dc, RECT{768, 64, 870, 166}, RGB(255, 226, 120));
    const POINT farHills[] = {{0, HORIZON}, {154, 320}, {333, 410},  {512, 269},
                              {717, 397},   {896, 307}, {1024, 371}, {1024, HORIZON}};
    polygon(dc, farHills, 8, RGB(112, 140, 170));
    gradient(dc, RECT{0, HORIZON, area.right, area.bottom}, RGB(96, 160, 72), RGB(40, 96, 36));
    const POINT path[] = {{461, HORIZON}, {563, HORIZON}, {794, area.bottom}, {230, area.bottom}};
    polygon(dc, path, 4, RGB(176, 148, 102));
}

} // namespace

SceneWindow::~SceneWindow() {
    if (window_ != nullptr) {
        DestroyWindow(window_);
    }
    DeleteObject(titleFont_);
    DeleteObject(captionFont_);
}

bool SceneWindow::create(HINSTANCE instance, int showCommand, int left, int top) {
    instance_ = instance;
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW; // the whole picture is stretched anew
    windowClass.lpfnWndProc = &SceneWindow::windowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
    windowClass.lpszClassName = WINDOW_CLASS;
    RegisterClassExW(&windowClass);

    if (titleFont_ == nullptr) {
        titleFont_ = makeFont(44, FW_BOLD);
        captionFont_ = makeFont(15, FW_NORMAL);
    }
    shown_ = game_.view();

    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    RECT frame{0, 0, resolution_.cx, resolution_.cy};
    AdjustWindowRect(&frame, style, FALSE);
    window_ =
        CreateWindowExW(0, WINDOW_CLASS, WINDOW_TITLE, style, left, top, frame.right - frame.left,
                        frame.bottom - frame.top, nullptr, nullptr, instance, this);
    if (window_ == nullptr) {
        return false;
    }
    ShowWindow(window_, showCommand);
    UpdateWindow(window_);
    return true;
}

void SceneWindow::refresh() {
    GameView now = game_.view();
    const bool changed = now.text != shown_.text || now.blankFlag != shown_.blankFlag ||
                         now.marker != shown_.marker || now.switchValue != shown_.switchValue;
    if (changed && window_ != nullptr) {
        shown_ = std::move(now);
        InvalidateRect(window_, nullptr, FALSE);
    }
}

LRESULT CALLBACK SceneWindow::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        auto* self = static_cast<SceneWindow*>(create->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<SceneWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->window_ = nullptr;
    }
    return self->onMessage(message, wParam, lParam);
}

LRESULT SceneWindow::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window_, &ps);
        RECT area;
        GetClientRect(window_, &area);
        HDC memory = CreateCompatibleDC(dc);
        HBITMAP bitmap = CreateCompatibleBitmap(dc, PICTURE_WIDTH, PICTURE_HEIGHT);
        HGDIOBJ old = SelectObject(memory, bitmap);
        paint(memory, RECT{0, 0, PICTURE_WIDTH, PICTURE_HEIGHT});
        SetStretchBltMode(dc, COLORONCOLOR);
        StretchBlt(dc, 0, 0, area.right, area.bottom, memory, 0, 0, PICTURE_WIDTH, PICTURE_HEIGHT,
                   SRCCOPY);
        SelectObject(memory, old);
        DeleteObject(bitmap);
        DeleteDC(memory);
        EndPaint(window_, &ps);
        return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_MOUSEWHEEL:
        ++clicks_;
        return 0;
    case WM_SIMGAME_WINDOW:
        return onWindowRequest(static_cast<char>(wParam),
                               reinterpret_cast<const std::int32_t*>(lParam));
    case WM_DESTROY:
        if (!recreating_) {
            PostQuitMessage(0);
        }
        return 0;
    default:
        return DefWindowProcW(window_, message, wParam, lParam);
    }
}

void SceneWindow::recreate() {
    RECT place{};
    GetWindowRect(window_, &place);
    const std::uint32_t clicks = clicks_;
    recreating_ = true;
    DestroyWindow(window_);
    recreating_ = false;
    // Made where the old one stood, as a game gives its new window its place at once.
    create(instance_, SW_SHOW, place.left, place.top);
    clicks_ = clicks;
}

void SceneWindow::resize(int width, int height) {
    resolution_ = {width, height};
    RECT frame{0, 0, width, height};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongW(window_, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongW(window_, GWL_EXSTYLE)));
    SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT SceneWindow::onWindowRequest(char action, const std::int32_t* place) {
    constexpr UINT STAY = SWP_NOMOVE | SWP_NOSIZE;
    switch (action) {
    case control::MOVE:
        SetWindowPos(window_, nullptr, place[0], place[1], 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        break;
    case control::MINIMISE:
        ShowWindow(window_, SW_MINIMIZE);
        break;
    case control::RESTORE:
        ShowWindow(window_, SW_RESTORE);
        break;
    case control::HIDE:
        ShowWindow(window_, SW_HIDE);
        break;
    case control::SHOW:
        ShowWindow(window_, SW_SHOW);
        break;
    case control::TOPMOST:
        // Out of the band first, if it was in it: so it always goes to the band's top, as a game
        // that asserts its place on top does.
        SetWindowPos(window_, HWND_NOTOPMOST, 0, 0, 0, 0, STAY);
        SetWindowPos(window_, HWND_TOPMOST, 0, 0, 0, 0, STAY);
        break;
    case control::FOREGROUND:
        SetForegroundWindow(window_);
        break;
    case control::RECREATE:
        recreate();
        break;
    case control::RESIZE:
        resize(place[0], place[1]);
        break;
    default:
        break;
    }
    return static_cast<LRESULT>(clicks_);
}

void SceneWindow::paint(HDC dc, const RECT& area) const {
    if (!(shown_.marker > 1e-07f)) {
        gradient(dc, area, RGB(10, 16, 48), RGB(60, 40, 100));
        text(dc, titleFont_, L"Pal4 (simulated)", RECT{0, 280, area.right, 340}, RGB(240, 220, 160),
             DT_CENTER | DT_SINGLELINE);
        text(dc, captionFont_, L"title screen: no game in progress", RECT{0, 370, area.right, 400},
             RGB(200, 200, 220), DT_CENTER | DT_SINGLELINE);
        return;
    }
    if (bright_) {
        gradient(dc, RECT{0, 0, area.right, HORIZON}, RGB(226, 234, 244), RGB(250, 251, 253));
        fill(dc, RECT{0, HORIZON, area.right, area.bottom}, SNOW);
    } else {
        drawLandscape(dc, area);
    }

    wchar_t status[96];
    std::swprintf(status, std::size(status), L"marker %.1f   switch %.1f   blank %u",
                  static_cast<double>(shown_.marker), static_cast<double>(shown_.switchValue),
                  static_cast<unsigned>(shown_.blankFlag));
    text(dc, captionFont_, status, RECT{10, 8, area.right, 30}, RGB(20, 30, 60),
         DT_LEFT | DT_SINGLELINE);

    // The raw line, small and at the top, out of the way of the subtitles the tool draws below.
    const RECT box{10, 36, std::min<LONG>(area.right - 10, 520), 72};
    fill(dc, box, RGB(24, 24, 40));
    const std::wstring line =
        shown_.blankFlag != 0 ? std::wstring(L"(between scenes)") : widenGb2312(shown_.text);
    text(dc, captionFont_, line, RECT{box.left + 8, box.top + 8, box.right - 8, box.bottom - 4},
         RGB(250, 250, 240), DT_LEFT | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
}

} // namespace pal4sim
