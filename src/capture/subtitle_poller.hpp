#pragma once

#include "capture/game_memory_map.hpp"
#include "core/app_state.hpp"
#include "dialogue/dialogue_backlog.hpp"
#include "dialogue/dialogue_outputs.hpp"
#include "ports/panel_port.hpp"

namespace pal4 {

// Turns the game's dialogue buffer into the overlay's subtitle, one timer tick at a time.
class SubtitlePoller {
public:
    SubtitlePoller(AppState& state, GameMemoryMap& game, DialogueBacklog& backlog, PanelPort& panel,
                   DialogueOutputs& outputs)
        : state_(state), game_(game), backlog_(backlog), panel_(panel), outputs_(outputs) {}

    // The overlay timer's handler: blank the subtitle while the game asks for it; otherwise,
    // when the raw line changed, show its cleaned form and put the raw line in the edit box.
    // The dialogue's outputs follow what the overlay shows.
    void pollTick();

private:
    AppState& state_;
    GameMemoryMap& game_;
    DialogueBacklog& backlog_; // what the label shows goes through the player's stepping
    PanelPort& panel_;
    DialogueOutputs& outputs_;
};

} // namespace pal4
