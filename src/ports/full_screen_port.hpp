#pragma once

#include "core/game_address.hpp"
#include "ports/game_window_port.hpp"

#include <cstdint>
#include <optional>

namespace pal4 {

// Window style bits as GetWindowLong returns them (GWL_STYLE, GWL_EXSTYLE): the caption, the
// frame and the edges that full screen takes away, and nothing else.
inline constexpr std::uint32_t WINDOW_STYLE_MAXIMIZE = 0x01000000;  // WS_MAXIMIZE
inline constexpr std::uint32_t WINDOW_STYLE_FRAME = 0x00C00000      // WS_CAPTION
                                                    | 0x00040000    // WS_THICKFRAME
                                                    | 0x00080000    // WS_SYSMENU
                                                    | 0x00020000    // WS_MINIMIZEBOX
                                                    | 0x00010000;   // WS_MAXIMIZEBOX
inline constexpr std::uint32_t WINDOW_EXSTYLE_EDGES = 0x00000001    // WS_EX_DLGMODALFRAME
                                                      | 0x00000100  // WS_EX_WINDOWEDGE
                                                      | 0x00000200  // WS_EX_CLIENTEDGE
                                                      | 0x00020000; // WS_EX_STATICEDGE

// A top-level window's look as full screen changes it and gives it back: its style, its
// extended style and its rectangle on the screen.
struct WindowFrame {
    std::uint32_t style = 0;
    std::uint32_t exStyle = 0;
    WindowPlace place;
    bool operator==(const WindowFrame&) const = default;
};

// What full screen needs of the system: the game's window's frame, the monitor it stands on,
// the black window that covers the rest of that monitor, and the shell's taskbar.
class FullScreenPort {
public:
    FullScreenPort() = default;
    FullScreenPort(const FullScreenPort&) = delete;
    FullScreenPort& operator=(const FullScreenPort&) = delete;
    virtual ~FullScreenPort() = default;

    // Nothing when the window no longer exists.
    virtual std::optional<WindowFrame> frameOf(WindowId window) = 0;
    // Sets the style, the extended style and then the rectangle (the frame drawn anew), without
    // activating the window or changing its place in the z-order. False when the window is gone.
    virtual bool setFrame(WindowId window, const WindowFrame& frame) = 0;
    // The process that owns the window; 0 when the window is gone.
    virtual ProcessId processOf(WindowId window) = 0;
    // The whole rectangle (not the work area) of the monitor the window stands on most.
    virtual WindowPlace monitorOf(WindowId window) = 0;

    // The black window of the tool's own: covers `monitor`, stands directly below `window` in
    // the z-order, is never activated and is in neither the taskbar nor Alt+Tab; a click on it
    // gives the keyboard back to `window`. Showing it again moves it.
    virtual void showBackdrop(const WindowPlace& monitor, WindowId window) = 0;
    virtual void hideBackdrop() = 0;
    // Puts a shown black window directly below its window again if anything came between them
    // (cheap when nothing did: the poll ticks ask).
    virtual void keepBackdropBelow() = 0;
    // Tells the shell that the window is a full-screen one, so the taskbar does not stay over it.
    virtual void markFullScreen(WindowId window, bool fullScreen) = 0;
};

} // namespace pal4
