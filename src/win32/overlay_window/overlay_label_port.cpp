// The overlay's subtitle label as the port sets it: each change that alters the label asks for
// one paint; the window's own messages are in overlay_window.cpp.
#include "win32/overlay_window/overlay_window.hpp"

namespace pal4::win32 {

void OverlayWindow::redrawIf(bool changed) {
    // A value the label already has needs no paint: the poller blanks a blank line ten times a
    // second, and an outlined paint of a large label costs milliseconds.
    if (changed && window_) {
        InvalidateRect(window_, nullptr, FALSE);
    }
}

void OverlayWindow::fontChanged() {
    label_.dropFont();
    redrawIf(true);
}

void OverlayWindow::setLabelText(const std::string& text) {
    redrawIf(label_.setText(text));
}

void OverlayWindow::setLabelFontFace(const std::string& face) {
    redrawIf(label_.setFontFace(face));
}

void OverlayWindow::setLabelFontSize(std::int32_t size) {
    redrawIf(label_.setFontSize(size));
}

void OverlayWindow::setLabelTextColor(ColorRef color) {
    redrawIf(label_.setTextColor(color));
}

void OverlayWindow::setLabelBold(bool bold) {
    redrawIf(label_.setBold(bold));
}

void OverlayWindow::setLabelItalic(bool italic) {
    redrawIf(label_.setItalic(italic));
}

void OverlayWindow::setLabelShadow(bool shadowed) {
    redrawIf(label_.setShadow(shadowed));
}

void OverlayWindow::setLabelOutline(bool outlined) {
    redrawIf(label_.setOutline(outlined));
}

void OverlayWindow::setLabelAlignment(TextAlignment alignment) {
    redrawIf(label_.setAlignment(alignment));
}

void OverlayWindow::setLabelSize(std::int32_t width, std::int32_t height) {
    redrawIf(label_.setSize(width, height));
}

} // namespace pal4::win32
