#include "overlay/subtitle_appearance.hpp"

namespace pal4 {

void SubtitleAppearance::applyAppearance() {
    if (!state_.overlayShown) {
        return;
    }
    overlay_.setLabelFontFace(state_.fontName);
    overlay_.setLabelFontSize(state_.fontSize);
    overlay_.setLabelTextColor(state_.textColor);
    overlay_.setLabelBold(panel_.isChecked(CheckBox::Bold));
    overlay_.setLabelItalic(panel_.isChecked(CheckBox::Italic));
    overlay_.setLabelShadowStyle(state_.shadowStyle);
    overlay_.setLabelAlignment(panel_.isChecked(CheckBox::Centre) ? 1 : 0);
    // The move event runs inside this call and may write the window's position back into
    // AppState; the geometry is therefore read before it, and the label's size is taken from
    // the same values so both stay in step.
    const std::int32_t width = state_.overlayWidth;
    const std::int32_t height = state_.overlayHeight;
    overlay_.setWindowBounds(state_.overlayLeft, state_.overlayTop, width, height);
    overlay_.setLabelSize(width, height);
}

} // namespace pal4
