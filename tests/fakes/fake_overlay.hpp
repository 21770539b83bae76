#pragma once

#include "overlay/overlay_constants.hpp"
#include "ports/overlay_port.hpp"

#include <optional>
#include <string>
#include <vector>

namespace pal4::testing {

// What the overlay's subtitle label currently holds.
struct FakeLabel {
    std::string text;
    std::string fontFace;
    std::int32_t fontSize = 0;
    ColorRef textColor = 0;
    bool bold = false;
    bool italic = false;
    bool shadowed = false;
    bool outlined = false;
    TextAlignment alignment = TextAlignment::Left;
    std::int32_t width = 0;
    std::int32_t height = 0;
};

// How the next create() fails, for the tests of a window that could not be made.
enum class CreateFailure {
    None,
    Refused,           // no window at all: the created event does not run
    LostAfterCreated,  // the created event runs, then the window is gone without a destroyed one
    ClosedWhileMaking, // the created event runs, then the destroyed event, as when it is closed
};

// An overlay window in memory. create() and destroy() run the created and destroyed events
// inside the call, and a position change runs the moved event inside the call, as Windows does.
class FakeOverlay final : public OverlayPort {
public:
    void bind(OverlayEvents& events) { events_ = &events; }

    // OverlayPort
    bool create() override;
    void destroy() override;
    void makeColorKeyed(ColorRef key) override;
    std::int32_t windowLeft() const override { return left_; }
    std::int32_t windowTop() const override { return top_; }
    void setWindowSize(std::int32_t width, std::int32_t height) override;
    void setWindowPosition(std::int32_t left, std::int32_t top) override;
    void setWindowBounds(std::int32_t left, std::int32_t top, std::int32_t width,
                         std::int32_t height) override;
    void setShown(bool shown) override;
    void keepAbove() override;
    void setClickThrough(bool clickThrough) override;
    void setTimerInterval(std::uint32_t milliseconds) override;
    void setLabelText(const std::string& text) override;
    void setLabelFontFace(const std::string& face) override;
    void setLabelFontSize(std::int32_t size) override;
    void setLabelTextColor(ColorRef color) override;
    void setLabelBold(bool bold) override;
    void setLabelItalic(bool italic) override;
    void setLabelShadow(bool shadowed) override;
    void setLabelOutline(bool outlined) override;
    void setLabelAlignment(TextAlignment alignment) override;
    void setLabelSize(std::int32_t width, std::int32_t height) override;

    // The next create() fails this way; the one after it succeeds again.
    void failNextCreate(CreateFailure failure) { nextFailure_ = failure; }

    // What the user and the clock do.
    void userMovesWindow(std::int32_t left, std::int32_t top);
    void userPressesEscape(); // closes the window, as the real overlay does
    void timerFires();        // one tick, only while the timer runs
    // Over the subtitle, up (positive) or down, a notch at a time; locked, it goes by.
    void userRollsWheel(int notches);

    // What is on screen.
    bool exists() const { return exists_; }
    const FakeLabel& label() const { return label_; }
    std::int32_t windowWidth() const { return width_; }
    std::int32_t windowHeight() const { return height_; }
    std::uint32_t timerInterval() const { return timerInterval_; }
    std::optional<ColorRef> colorKey() const { return colorKey_; }
    bool shown() const { return shown_; }
    bool clickThrough() const { return clickThrough_; }
    int timesKeptAbove() const { return keptAbove_; }
    int movedEvents() const { return movedEvents_; }

    // Every call the program made on the overlay, in order, e.g. "setLabelFontFace".
    const std::vector<std::string>& calls() const { return calls_; }
    void clearCalls() { calls_.clear(); }

private:
    OverlayEvents& events();
    void moveTo(std::int32_t left, std::int32_t top);

    OverlayEvents* events_ = nullptr;
    CreateFailure nextFailure_ = CreateFailure::None;
    bool exists_ = false;
    std::int32_t left_ = OVERLAY_DESIGN_LEFT;
    std::int32_t top_ = OVERLAY_DESIGN_TOP;
    std::int32_t width_ = OVERLAY_DESIGN_WIDTH;
    std::int32_t height_ = OVERLAY_DESIGN_HEIGHT;
    std::uint32_t timerInterval_ = 0;
    std::optional<ColorRef> colorKey_;
    bool shown_ = true;
    bool clickThrough_ = false;
    int keptAbove_ = 0;
    int movedEvents_ = 0;
    FakeLabel label_;
    std::vector<std::string> calls_;
};

} // namespace pal4::testing
