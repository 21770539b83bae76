#pragma once

#include "core/app_state.hpp"
#include "ports/overlay_port.hpp"
#include "ports/panel_port.hpp"
#include "ports/shell_port.hpp"

#include <string>

namespace pal4 {

class ControlPanel;
class SettingsFile;

// The control panel's creation and destruction: the settings load that fills AppState and the
// controls, and the closing step that saves the geometry exactly once.
class PanelLifecycle {
public:
    PanelLifecycle(AppState& state, PanelPort& panel, OverlayPort& overlay, const ShellPort& shell,
                   SettingsFile& settings, ControlPanel& controls)
        : state_(state), panel_(panel), overlay_(overlay), shell_(shell), settings_(settings),
          controls_(controls) {}

    // Reads every key with its default. Setting the controls runs none of their handlers; the
    // size handler and the four geometry handlers are run here, so the fields take the
    // sliders' clamped positions and the size is written back clamped. Last, the hot keys are
    // registered. Returns the start-up notices for the edit box: a line for each hot key the
    // tool cannot use; empty when there is none.
    std::string onPanelCreated();
    // Gives the hot keys back, then closes an open overlay, whose destruction saves the
    // geometry, or else saves it here.
    void onPanelDestroying();

private:
    std::string registerHotkeys();
    std::int32_t readNumber(std::string_view key, std::int32_t defaultValue);
    std::int32_t readSlider(Slider slider);
    bool readSwitch(std::string_view key);

    AppState& state_;
    PanelPort& panel_;
    OverlayPort& overlay_;
    const ShellPort& shell_;
    SettingsFile& settings_;
    ControlPanel& controls_;
};

} // namespace pal4
