#pragma once

#include "core/game_address.hpp"

#include <cstdint>
#include <string>

namespace pal4 {

// How the label places each line across its width.
enum class TextAlignment { Left, Centred };

// The subtitle overlay window and its one subtitle label. Creating and destroying the window
// run its created and destroyed events inside the call, as Windows does; moving it raises the
// moved event inside the call, and only when the position really changes.
class OverlayPort {
public:
    OverlayPort() = default;
    OverlayPort(const OverlayPort&) = delete;
    OverlayPort& operator=(const OverlayPort&) = delete;
    virtual ~OverlayPort() = default;

    // Creates and shows the window (not modal); OverlayEvents::onOverlayCreated runs inside.
    // False when the window does not exist afterwards: the platform refused it, or it was
    // closed again while it was being made (then onOverlayDestroyed ran inside as well).
    // onOverlayCreated may or may not have run before a failure.
    [[nodiscard]] virtual bool create() = 0;
    // Destroys the window; OverlayEvents::onOverlayDestroyed runs inside.
    virtual void destroy() = 0;

    // Adds WS_EX_LAYERED to the extended style and makes every pixel of `key` see-through.
    virtual void makeColorKeyed(ColorRef key) = 0;

    virtual std::int32_t windowLeft() const = 0;
    virtual std::int32_t windowTop() const = 0;
    virtual void setWindowSize(std::int32_t width, std::int32_t height) = 0;
    virtual void setWindowPosition(std::int32_t left, std::int32_t top) = 0;
    // Position and size in one step, so no move event reports a half-updated position.
    virtual void setWindowBounds(std::int32_t left, std::int32_t top, std::int32_t width,
                                 std::int32_t height) = 0;

    // Hides the window or shows it again, never activated, without closing it: its label, its
    // timer and its place stay.
    virtual void setShown(bool shown) = 0;
    // Puts the window above every other window again, the game's included when the game has
    // come to the front or joined the topmost band, without activating it and without hiding it
    // on the way.
    virtual void keepAbove() = 0;
    // Clicks and the mouse wheel pass through the whole window, text included, to the window
    // below; the window can then be neither dragged nor activated.
    virtual void setClickThrough(bool clickThrough) = 0;

    // The poll timer 时钟1: 0 stops it, any other value (re)starts it with that period.
    virtual void setTimerInterval(std::uint32_t milliseconds) = 0;

    // The subtitle label 透明标签1; each change redraws it.
    virtual void setLabelText(const std::string& text) = 0;
    virtual void setLabelFontFace(const std::string& face) = 0;
    virtual void setLabelFontSize(std::int32_t size) = 0;
    virtual void setLabelTextColor(ColorRef color) = 0;
    virtual void setLabelBold(bool bold) = 0;
    virtual void setLabelItalic(bool italic) = 0;
    virtual void setLabelShadow(bool shadowed) = 0;
    // A ring around every glyph in black or white, whichever contrasts more with the text, and
    // antialiased glyphs inside it.
    virtual void setLabelOutline(bool outlined) = 0;
    virtual void setLabelAlignment(TextAlignment alignment) = 0;
    virtual void setLabelSize(std::int32_t width, std::int32_t height) = 0;
};

// The events the overlay window delivers.
class OverlayEvents {
public:
    virtual void onOverlayCreated() = 0;
    virtual void onOverlayMoved() = 0;
    virtual void onOverlayDestroyed() = 0;
    virtual void onPollTimer() = 0;
    // The mouse wheel over the subtitle, one notch up or down; never while it lets clicks
    // through.
    virtual void onWheelUp() = 0;
    virtual void onWheelDown() = 0;

protected:
    ~OverlayEvents() = default;
};

} // namespace pal4
