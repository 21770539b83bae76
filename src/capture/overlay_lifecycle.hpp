#pragma once

#include "capture/game_memory_map.hpp"
#include "core/app_state.hpp"
#include "ports/game_process_port.hpp"
#include "ports/overlay_port.hpp"
#include "ports/panel_port.hpp"
#include "ports/panel_texts.hpp"
#include "ports/shell_port.hpp"
#include "settings/settings_file.hpp"

namespace pal4 {

// Opens and closes the subtitle overlay. Opening attaches to the game, styles and places the
// window, changes two values inside the game and starts the poller; every way of closing runs
// onOverlayDestroyed, which saves the geometry and writes the game's values back.
class OverlayLifecycle {
public:
    OverlayLifecycle(AppState& state, GameProcessPort& processes, GameMemoryMap& game,
                     OverlayPort& overlay, PanelPort& panel, ShellPort& shell,
                     SettingsFile& settings)
        : state_(state), processes_(processes), game_(game), overlay_(overlay), panel_(panel),
          shell_(shell), settings_(settings) {}

    void onToggleClicked();
    void onOverlayCreated();
    void onOverlayDestroyed();

private:
    void placeWindow();

    AppState& state_;
    GameProcessPort& processes_;
    GameMemoryMap& game_;
    OverlayPort& overlay_;
    PanelPort& panel_;
    ShellPort& shell_;
    SettingsFile& settings_;
};

} // namespace pal4
