#pragma once

#include "core/app_state.hpp"
#include "ports/overlay_port.hpp"
#include "ports/panel_port.hpp"

namespace pal4 {

// Assigns the label's face, size, colour, bold, italic, shadow, outline and alignment, in that order,
// whether or not the overlay is shown yet: the overlay's creation needs it before it is.
void assignLabelStyle(const AppState& state, const PanelPort& panel, OverlayPort& overlay);

// Debug mode shows the fixed sample with the poller stopped; leaving it shows the idle text and
// restarts the poller, so the next changed dialogue line appears.
void showDebugSampleOrPoll(OverlayPort& overlay, bool debugMode);

// Copies the user's appearance settings onto the overlay's subtitle label and window. The
// settings are AppState's style and geometry fields and, for bold, italic and centring, the
// checked state of the control panel's check boxes, which are their only store.
class SubtitleAppearance {
public:
    SubtitleAppearance(const AppState& state, const PanelPort& panel, OverlayPort& overlay)
        : state_(state), panel_(panel), overlay_(overlay) {}

    // Only while the overlay is shown; with it closed nothing changes, not even the geometry.
    // Assigns every property whichever setting changed. The window is placed and sized in one
    // call, so the move event it raises already sees both new coordinates and copies back
    // exactly what AppState holds.
    void applyAppearance();

private:
    const AppState& state_;
    const PanelPort& panel_;
    OverlayPort& overlay_;
};

} // namespace pal4
