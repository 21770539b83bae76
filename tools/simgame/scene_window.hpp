#pragma once

#include "game_state.hpp"

#include <windows.h>

#include <atomic>
#include <cstdint>

namespace pal4sim {

// The game's window: a title screen while the marker is zero, then a simple landscape with the
// current dialogue line drawn small in its lower left corner and the values the tool writes in
// its upper left corner, so a person can see what the game "says" and what was done to it.
// Like a Direct3D 9 game in a window, it draws one 1024x768 picture stretched over whatever
// its client area is, and sizes that area to its resolution when it makes its window.
class SceneWindow {
public:
    SceneWindow(const GameState& game, bool bright) : game_(game), bright_(bright) {}
    SceneWindow(const SceneWindow&) = delete;
    SceneWindow& operator=(const SceneWindow&) = delete;
    ~SceneWindow();

    bool create(HINSTANCE instance, int showCommand, int left = CW_USEDEFAULT,
                int top = CW_USEDEFAULT);
    HWND handle() const { return window_; }
    // The window destroyed and made anew at the same place, shown and activated.
    void recreate();
    // A change of resolution: the client area becomes `width` x `height`.
    void resize(int width, int height);
    // Redraws when what the scene shows has changed.
    void refresh();

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // A window request of the control channel; returns the clicks received so far.
    LRESULT onWindowRequest(char action, const std::int32_t* place);
    void paint(HDC target, const RECT& area) const;

    const GameState& game_;
    bool bright_;
    // Read by the control channel's thread too, which reaches the window through it.
    std::atomic<HWND> window_{nullptr};
    HINSTANCE instance_ = nullptr;
    bool recreating_ = false; // the window's end is not the game's
    SIZE resolution_{1024, 768};
    HFONT titleFont_ = nullptr;
    HFONT captionFont_ = nullptr;
    GameView shown_;
    std::uint32_t clicks_ = 0; // left clicks and wheel turns, counted on the window's thread
};

} // namespace pal4sim
