#pragma once

#include "game_state.hpp"

#include <string>
#include <string_view>

namespace pal4sim {

// Carries out one control request on the game and gives the reply. `quitRequested` is set
// when the request asks the game to end; the reply is sent before it does.
std::string handleControlRequest(GameState& game, std::string_view request, bool& quitRequested);

} // namespace pal4sim
