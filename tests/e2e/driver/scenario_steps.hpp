#pragma once

#include "game_session.hpp"
#include "tool_session.hpp"

#include <windows.h>

#include <initializer_list>
#include <string>

namespace e2e {

// Steps that many scenarios share.

// Presses the toggle with a game in progress: the overlay appears, the caption turns to the
// open one and the game holds the values of an open overlay. The overlay's window.
HWND openOverlay(ToolSession& tool, GameSession& game);

// Waits for the game to hold the values the tool writes when the overlay closes.
void expectGameRestored(GameSession& game, const std::string& when);

// Shows a dialogue line and waits until the poll has taken it (the panel's help box shows the
// raw line).
void showLine(ToolSession& tool, GameSession& game, const std::string& gb2312);

// Presses a combination as a keyboard would, with the game's window in front and focused, and
// only when the keys will get there whole (keyboard_input.hpp says what can cut them short).
void pressKeys(GameSession& game, std::initializer_list<WORD> keys);

} // namespace e2e
