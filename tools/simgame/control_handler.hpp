#pragma once

#include "game_state.hpp"

#include <windows.h>

#include <string>
#include <string_view>

namespace pal4sim {

// Carries out one control request on the game and gives the reply. `quitRequested` is set
// when the request asks the game to end; the reply is sent before it does. Window requests go
// to `scene`, the game's window (none without one), on its own thread.
std::string handleControlRequest(GameState& game, HWND scene, std::string_view request,
                                 bool& quitRequested);

// The message a window request reaches the scene's thread with: WPARAM the action, LPARAM a
// pointer to two numbers; the result is the count of clicks and wheel turns received.
inline constexpr UINT WM_SIMGAME_WINDOW = WM_APP + 1;

} // namespace pal4sim
