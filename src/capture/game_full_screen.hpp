#pragma once

#include "core/app_state.hpp"
#include "ports/full_screen_port.hpp"
#include "ports/game_window_port.hpp"
#include "ports/panel_port.hpp"
#include "settings/full_screen_setting.hpp"
#include "settings/settings_file.hpp"

#include <optional>
#include <string>

namespace pal4 {

// Full screen for the game's window while the overlay is over it and 全屏 is checked: takes the
// window's caption, frame and edges away, puts its picture where fullScreenPlace says on the
// monitor it stands on, covers the rest of that monitor with the black window and tells the
// shell. What the window had before is kept in the settings file (KEY_FULL_SCREEN_RESTORE) from
// before the window is changed until it is given back, so a start after a crash can give it back.
// A window whose process is not the one full screen was taken from is never changed.
class GameFullScreen {
public:
    GameFullScreen(AppState& state, FullScreenPort& port, GameWindowPort& windows, PanelPort& panel,
                   SettingsFile& settings)
        : state_(state), port_(port), windows_(windows), panel_(panel), settings_(settings) {}

    // On start-up, with the settings file known: gives back a window a previous run left full
    // screen, when it still exists in the same process, and reads `fullscreenscale`. Returns the
    // edit box's lines about both; empty when there is nothing to say.
    std::string onToolStarted();

    // Brings the game's window that the overlay follows now (0: none) to what the switch asks:
    // takes it, takes it again when the game changed it (a new size, its own frame back, a window
    // made anew), or gives it back. True when a window's frame was changed.
    bool follow(WindowId window, WindowShow show);
    // Gives the window back, the black window and the key going with it. The client area the
    // window has again, in screen pixels (known even while it is minimised); nothing when full
    // screen was not applied.
    std::optional<WindowPlace> giveBack();
    // A window is full screen now, or 全屏 asks for it: the overlay stands on a full-screen
    // picture, which a window the game makes anew shows again.
    bool onFullScreenPicture() const {
        return taken_.has_value() || panel_.isChecked(CheckBox::FullScreen);
    }
    // The black window directly below the game's window again, if anything came between them.
    void keepBackdropBelow() {
        if (taken_ && backdropShown_) {
            port_.keepBackdropBelow();
        }
    }

private:
    struct Taken {
        FullScreenRestore restore;
        WindowFrame now;     // the frame full screen gave it, as the system reports it
        WindowPlace picture; // the client area before, which the frame given back gives again
    };

    // The picture is the client area the window has now.
    void takeWithItsClientArea(WindowId window, const WindowFrame& before);
    void take(WindowId window, const WindowFrame& before, const WindowPlace& picture);
    // Sets the frame only when the window still belongs to `process`.
    bool setFrameOfProcess(ProcessId process, WindowId window, const WindowFrame& frame);

    AppState& state_;
    FullScreenPort& port_;
    GameWindowPort& windows_;
    PanelPort& panel_;
    SettingsFile& settings_;
    FullScreenScale scale_ = FullScreenScale::Fit;
    std::optional<Taken> taken_;
    bool backdropShown_ = false;
};

} // namespace pal4
