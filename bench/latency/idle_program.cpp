#include "idle_program.hpp"

namespace pal4bench {

namespace {

constexpr const wchar_t* IDLE_CLASS = L"Pal4BenchIdle";
constexpr UINT_PTR END_TIMER = 1;

LRESULT CALLBACK idleProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER || message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

int idleFor(DWORD seconds, bool withWindow) {
    if (!withWindow) {
        Sleep(seconds * 1000u);
        return 0;
    }
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = &idleProcedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = IDLE_CLASS;
    RegisterClassExW(&windowClass);
    const HWND window = CreateWindowExW(0, IDLE_CLASS, L"idle", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                                        nullptr, nullptr, windowClass.hInstance, nullptr);
    if (!window) {
        return 1;
    }
    ShowWindow(window, SW_SHOWNOACTIVATE);
    SetTimer(window, END_TIMER, seconds * 1000u, nullptr);
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        DispatchMessageW(&message);
    }
    return 0;
}

} // namespace pal4bench
