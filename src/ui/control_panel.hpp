#pragma once

#include "core/app_state.hpp"
#include "ports/overlay_port.hpp"
#include "ports/panel_port.hpp"
#include "ports/shell_port.hpp"

#include <string_view>

namespace pal4 {

class SettingsFile;
class SubtitleAppearance;

// The handlers of the control panel's controls and of the overlay's move. Style changes are
// stored in AppState, shown on an open overlay at once and written to the settings file at
// once; geometry changes are stored and shown but saved only when the overlay or the panel
// closes.
class ControlPanel {
public:
    ControlPanel(AppState& state, PanelPort& panel, OverlayPort& overlay, ShellPort& shell,
                 SettingsFile& settings, SubtitleAppearance& appearance)
        : state_(state), panel_(panel), overlay_(overlay), shell_(shell), settings_(settings),
          appearance_(appearance) {}

    void onColorChanged();
    void onFontSizeChanged();
    void onFontChanged();
    void onLeftChanged();
    void onTopChanged();
    void onWidthChanged();
    void onHeightChanged();
    void onBoldClicked();
    void onItalicClicked();
    void onShadowClicked();
    void onCentreClicked();
    void onOutlineClicked();
    void onDebugClicked();
    void onHistoryClicked();
    // The lock: an open overlay lets clicks through at once; the state is saved at once.
    void onLockClicked();
    // The lock's hot key: flips the box, then does what a click on it does.
    void onLockHotkey();
    // Full screen: the state is saved at once; the follower takes the game's window or gives it
    // back.
    void onFullScreenClicked();
    // Flips the box, then does what a click on it does.
    void onFullScreenHotkey();
    // The state's geometry on the four sliders and their captions, as a drag shows a move.
    void showOverlayGeometry();
    void onOverlayMoved();
    void onAuthorLinkPressed();
    void onClubLinkPressed();

    // Opens the page in Internet Explorer; a failure (no browser) changes nothing.
    void openWebPage(std::string_view address);

private:
    void takeGeometry(Slider slider, std::int32_t& field, ValueCaption caption);
    void saveSwitch(CheckBox box, std::string_view key);

    AppState& state_;
    PanelPort& panel_;
    OverlayPort& overlay_;
    ShellPort& shell_;
    SettingsFile& settings_;
    SubtitleAppearance& appearance_;
};

} // namespace pal4
