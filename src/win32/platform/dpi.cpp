#include "win32/platform/dpi.hpp"

#include "win32/platform/unique_handle.hpp"

namespace pal4::win32 {

namespace {

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);

// Looked up once: the tool also runs on Windows 7, whose user32 lacks the function.
GetDpiForWindowFn getDpiForWindow() {
    static const GetDpiForWindowFn function = [] {
        const HMODULE user32 = GetModuleHandleW(L"user32.dll");
        const FARPROC address = user32 ? GetProcAddress(user32, "GetDpiForWindow") : nullptr;
        // void(*)() is the one function type that converts to and from every other.
        return reinterpret_cast<GetDpiForWindowFn>(reinterpret_cast<void (*)()>(address));
    }();
    return function;
}

} // namespace

unsigned dpiOf(HWND window) {
    if (const GetDpiForWindowFn function = getDpiForWindow(); function && window) {
        if (const UINT dpi = function(window); dpi != 0) {
            return dpi;
        }
    }
    const WindowDc screen(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen.get(), LOGPIXELSX) : DESIGN_DPI;
    return dpi > 0 ? static_cast<unsigned>(dpi) : static_cast<unsigned>(DESIGN_DPI);
}

} // namespace pal4::win32
