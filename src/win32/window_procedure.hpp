#pragma once

#include <windows.h>

namespace pal4::win32 {

// The window procedure of a class that owns one top-level window. The object passed as the
// creation parameter is bound to the window on WM_NCCREATE, the first message, and unbound on
// WM_NCDESTROY, the last, so no message reaches an object that is not attached. Every other
// message goes to Window::handleMessage; Window::window_ holds the handle while it exists.
// The class declares this template its friend.
template <class Window>
LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
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
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->window_ = nullptr;
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return self->handleMessage(message, wParam, lParam);
}

} // namespace pal4::win32
