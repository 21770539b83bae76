#pragma once

#include "capture/game_memory_map.hpp"
#include "capture/game_window_follower.hpp"
#include "capture/refusal_reason.hpp"
#include "core/app_state.hpp"
#include "dialogue/dialogue_outputs.hpp"
#include "ports/game_process_port.hpp"
#include "ports/overlay_port.hpp"
#include "ports/panel_port.hpp"
#include "ports/panel_texts.hpp"
#include "ports/shell_port.hpp"
#include "settings/settings_file.hpp"

namespace pal4 {

// Opens and closes the subtitle overlay. Opening attaches to the game, styles and places the
// window, changes two values inside the game and starts the poller; every way of closing runs
// onOverlayDestroyed, which saves the geometry and writes the game's values back. A refusal is
// followed by its reason in the panel's edit box; a window that could not be made leaves the
// overlay closed and the game's values as they were.
class OverlayLifecycle {
public:
    OverlayLifecycle(AppState& state, GameProcessPort& processes, GameMemoryMap& game,
                     OverlayPort& overlay, PanelPort& panel, ShellPort& shell,
                     SettingsFile& settings, RefusalDiagnoser& diagnoser, DialogueOutputs& outputs,
                     GameWindowFollower& follower)
        : state_(state), processes_(processes), game_(game), overlay_(overlay), panel_(panel),
          shell_(shell), settings_(settings), diagnoser_(diagnoser), outputs_(outputs),
          follower_(follower) {}

    // Does nothing when it is already running: the refusal box's own message loop still
    // delivers the hot key and the button's click, and one box is all the user may get.
    void onToggleClicked();
    void onOverlayCreated();
    void onOverlayDestroyed();

private:
    void toggle();
    void open();
    void refuse();
    void placeWindow();

    AppState& state_;
    GameProcessPort& processes_;
    GameMemoryMap& game_;
    OverlayPort& overlay_;
    PanelPort& panel_;
    ShellPort& shell_;
    SettingsFile& settings_;
    RefusalDiagnoser& diagnoser_;
    DialogueOutputs& outputs_;
    GameWindowFollower& follower_;
    bool toggling_ = false;
    // The game holds the overlay's values and no destruction has written them back yet.
    bool gameValuesApplied_ = false;
};

} // namespace pal4
