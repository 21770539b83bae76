#pragma once

#include "ports/full_screen_port.hpp"
#include "win32/platform/backdrop_window.hpp"

#include <windows.h>

struct ITaskbarList2;

namespace pal4::win32 {

// Full screen through user32: the game's window's styles and rectangle, its monitor, the black
// window, and the shell's taskbar told through ITaskbarList2, whose COM library is loaded on first
// use (system_library.hpp), so a run that never goes full screen does not load it.
class FullScreenWin32 final : public FullScreenPort {
public:
    explicit FullScreenWin32(HINSTANCE instance) : backdrop_(instance) {}
    ~FullScreenWin32() override;
    FullScreenWin32(const FullScreenWin32&) = delete;
    FullScreenWin32& operator=(const FullScreenWin32&) = delete;

    std::optional<WindowFrame> frameOf(WindowId window) override;
    bool setFrame(WindowId window, const WindowFrame& frame) override;
    ProcessId processOf(WindowId window) override;
    WindowPlace monitorOf(WindowId window) override;
    void showBackdrop(const WindowPlace& monitor, WindowId window) override;
    void hideBackdrop() override;
    void keepBackdropBelow() override;
    void markFullScreen(WindowId window, bool fullScreen) override;

    HWND backdrop() const { return backdrop_.handle(); }

private:
    // The shell's taskbar, made on first use; nullptr where the system has none.
    ITaskbarList2* taskbar();

    BackdropWindow backdrop_;
    ITaskbarList2* taskbar_ = nullptr;
    bool taskbarTried_ = false;
};

} // namespace pal4::win32
