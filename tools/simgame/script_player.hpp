#pragma once

#include "dialogue_script.hpp"
#include "game_state.hpp"

#include <cstdint>
#include <optional>

namespace pal4sim {

// Plays the dialogue script into the game's memory. It writes only when the script moves on,
// so values the tool writes in between (the marker, the switch) stay until the next change
// that concerns them: the marker is set once, when the title screen gives way to the game.
class ScriptPlayer {
public:
    ScriptPlayer(GameState& game, ScriptTiming timing) : game_(game), timing_(timing) {}

    void advanceTo(std::uint64_t elapsedMs);

private:
    GameState& game_;
    ScriptTiming timing_;
    bool playing_ = false;
    std::optional<std::size_t> step_;
};

} // namespace pal4sim
