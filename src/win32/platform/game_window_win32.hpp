#pragma once

#include "ports/game_window_port.hpp"

#include <windows.h>

namespace pal4::win32 {

// The game's windows through user32. Changes are reported through out-of-context WinEvent
// hooks, which arrive as the message loop runs; Wine 8 delivers none of them for another
// process's windows, so there the follower's own looks on the poll tick do the work.
class GameWindowWin32 final : public GameWindowPort {
public:
    GameWindowWin32() = default;
    ~GameWindowWin32() override;
    void bind(GameWindowEvents& events) { events_ = &events; }

    WindowId findMainWindow(ProcessId process) override;
    std::optional<WindowPlace> placeOf(WindowId window) override;
    WindowShow showOf(WindowId window) override;
    std::optional<WindowPlace> clientOf(WindowId window) override;
    WindowId foregroundWindow() override;
    WindowId topWindow() override;
    void watch(ProcessId process) override;
    void stopWatching() override;

private:
    static void CALLBACK onWinEvent(HWINEVENTHOOK hook, DWORD event, HWND window, LONG object,
                                    LONG child, DWORD thread, DWORD time);

    GameWindowEvents* events_ = nullptr;
    HWINEVENTHOOK foregroundHook_ = nullptr;
    HWINEVENTHOOK minimiseHook_ = nullptr;
    HWINEVENTHOOK objectHook_ = nullptr;
};

} // namespace pal4::win32
