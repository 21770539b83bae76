#pragma once

#include "game_state.hpp"

#include <windows.h>

namespace pal4sim {

// The game's window: a title screen while the marker is zero, then a simple landscape with the
// current dialogue line drawn small in its lower left corner and the values the tool writes in
// its upper left corner, so a person can see what the game "says" and what was done to it.
class SceneWindow {
public:
    SceneWindow(const GameState& game, bool bright) : game_(game), bright_(bright) {}
    SceneWindow(const SceneWindow&) = delete;
    SceneWindow& operator=(const SceneWindow&) = delete;
    ~SceneWindow();

    bool create(HINSTANCE instance, int showCommand);
    HWND handle() const { return window_; }
    // Redraws when what the scene shows has changed.
    void refresh();

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void paint(HDC target, const RECT& area) const;

    const GameState& game_;
    bool bright_;
    HWND window_ = nullptr;
    HFONT titleFont_ = nullptr;
    HFONT captionFont_ = nullptr;
    GameView shown_;
};

} // namespace pal4sim
