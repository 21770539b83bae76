#include "overlay/subtitle_appearance.hpp"

#include "overlay/overlay_constants.hpp"

#include <string>

namespace pal4 {

void assignLabelStyle(const AppState& state, const PanelPort& panel, OverlayPort& overlay) {
    overlay.setLabelFontFace(state.fontName);
    overlay.setLabelFontSize(state.fontSize);
    overlay.setLabelTextColor(state.textColor);
    overlay.setLabelBold(panel.isChecked(CheckBox::Bold));
    overlay.setLabelItalic(panel.isChecked(CheckBox::Italic));
    overlay.setLabelShadow(state.shadowOn);
    overlay.setLabelOutline(state.outlineOn);
    overlay.setLabelAlignment(panel.isChecked(CheckBox::Centre) ? TextAlignment::Centred
                                                                : TextAlignment::Left);
}

void showDebugSampleOrPoll(OverlayPort& overlay, bool debugMode) {
    if (debugMode) {
        overlay.setTimerInterval(0);
        overlay.setLabelText(std::string(DEBUG_SAMPLE_TEXT));
    } else {
        overlay.setLabelText(std::string(IDLE_LABEL_TEXT));
        overlay.setTimerInterval(POLL_INTERVAL_MS);
    }
}

void SubtitleAppearance::applyAppearance() {
    if (!state_.overlayShown) {
        return;
    }
    assignLabelStyle(state_, panel_, overlay_);
    // The move event runs inside this call and may write the window's position back into
    // AppState; the geometry is therefore read before it, and the label's size is taken from
    // the same values so both stay in step.
    const std::int32_t width = state_.overlayWidth;
    const std::int32_t height = state_.overlayHeight;
    overlay_.setWindowBounds(state_.overlayLeft, state_.overlayTop, width, height);
    overlay_.setLabelSize(width, height);
}

} // namespace pal4
