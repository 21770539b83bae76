#pragma once

#include "win32/platform/dpi.hpp"

#include <windows.h>

namespace pal4::win32 {

#ifndef WM_DPICHANGED
inline constexpr UINT WM_DPICHANGED = 0x02E0; // older MinGW headers lack it
#endif

// The frame every top-level window of the tool shares: the handle, its class, its creation
// with the object as the creation parameter, the DPI it is shown at, and the events object its
// messages are reported to.
//
// The object is bound to the window on WM_NCCREATE, the first message, and unbound on
// WM_NCDESTROY, the last, so no message reaches an object that is not attached. The DPI is
// read on WM_CREATE and follows WM_DPICHANGED before Window sees either message. Every message
// but the two non-client ones goes to Window::handleMessage, which the window declares private
// and makes reachable with `friend class BaseWindow<Window, Events>;`.
template <class Window, class Events> class BaseWindow {
public:
    BaseWindow(const BaseWindow&) = delete;
    BaseWindow& operator=(const BaseWindow&) = delete;

    void bind(Events& events) { events_ = &events; }
    HWND handle() const { return window_; }

protected:
    explicit BaseWindow(HINSTANCE instance) : instance_(instance) {}
    // Not virtual: nobody deletes a window through its base.
    ~BaseWindow() = default;

    // Registers Window::CLASS_NAME with this procedure; the window fills in the rest first. A
    // class already registered (a second window of the kind) is no failure.
    bool registerClass(WNDCLASSEXW windowClass) const {
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = &BaseWindow::procedure;
        windowClass.hInstance = instance_;
        windowClass.lpszClassName = Window::CLASS_NAME;
        return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    }

    // CreateWindowExW of Window::CLASS_NAME, bound to this object; WM_CREATE runs inside. The
    // handle, or nullptr when Windows refused or the creation handler closed the window again.
    HWND createWindow(DWORD exStyle, const wchar_t* title, DWORD style, int left, int top,
                      int width, int height) {
        CreateWindowExW(exStyle, Window::CLASS_NAME, title, style, left, top, width, height,
                        nullptr, nullptr, instance_, static_cast<Window*>(this));
        return window_;
    }

    // For the destructor of a window that may outlive its message loop (the program ends with
    // it open): the handlers may be gone already, so the window goes without reporting it.
    void destroyWithoutEvents() {
        events_ = nullptr;
        if (window_) {
            DestroyWindow(window_);
        }
    }

    // Reports one event to the bound events object, if there is one.
    void report(void (Events::*event)()) {
        if (events_) {
            (events_->*event)();
        }
    }

    LRESULT defaultHandling(UINT message, WPARAM wParam, LPARAM lParam) {
        return DefWindowProcW(window_, message, wParam, lParam);
    }

    HINSTANCE instance_;
    HWND window_ = nullptr;
    unsigned dpi_ = DESIGN_DPI;
    Events* events_ = nullptr;

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE) {
            const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
            auto* self = static_cast<Window*>(creation->lpCreateParams);
            self->window_ = window;
            SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        }
        auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (!self) {
            return DefWindowProcW(window, message, wParam, lParam);
        }
        switch (message) {
        case WM_NCDESTROY:
            SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            self->window_ = nullptr;
            return DefWindowProcW(window, message, wParam, lParam);
        case WM_CREATE:
            self->dpi_ = dpiOf(window);
            break;
        case WM_DPICHANGED:
            self->dpi_ = HIWORD(wParam);
            break;
        default:
            break;
        }
        return self->handleMessage(message, wParam, lParam);
    }
};

} // namespace pal4::win32
