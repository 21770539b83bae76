#pragma once

#include "core/app_state.hpp"
#include "ports/game_window_port.hpp"
#include "ports/overlay_port.hpp"

#include <cstdint>
#include <optional>

namespace pal4 {

// What the overlay does after a look at the game's window.
struct FollowStep {
    bool shown = true;      // the overlay is to be seen
    std::int32_t moveX = 0; // the overlay moves by this much, as the game's window did
    std::int32_t moveY = 0;
    bool operator==(const FollowStep&) const = default;
};

// The rule: the overlay is seen only while the game's window is, and moves by the offset the
// window moved since `anchor`, where it stood when last followed. No anchor (a window seen for
// the first time) moves nothing.
FollowStep followGameWindow(const std::optional<WindowPlace>& anchor, WindowShow show,
                            const std::optional<WindowPlace>& now);

// What the follower follows now, as far as its looks on a tick care.
enum class Followed { NoWindow, Seen, Minimised, Hidden };

// The looks a poll tick takes at the game's windows; any change they see brings the full look.
struct TickLooks {
    bool foreground = false; // the window the user works in: the game come to the front
    bool place = false;      // the window's place: moved, minimised, restored or gone
    bool show = false;       // its showing: hidden or shown again where its place stays
    bool top = false;        // the top of the z-order: the game joined the topmost band
    bool find = false;       // the full look, which looks for the game's window anew
    bool operator==(const TickLooks&) const = default;
};

// The schedule of looks where the system reports no changes (Wine): the tick number `tick`
// and what is followed choose them. Under Wine each look is a round trip to its server, about
// 30 us, so a seen window costs a look and three quarters a tick, and a walk of every
// top-level window (the find) comes only every third tick, while there is no window or it is
// hidden, and within 300 ms of one being there.
TickLooks looksOnTick(std::uint32_t tick, Followed followed);

// Lives with the game's window while the overlay is open: keeps the overlay above it whenever
// it comes to the front or joins the topmost band, moves the overlay with it as a drag would
// (so the position sliders and their captions follow), and hides the overlay, without closing
// it, while the window is minimised, hidden or gone. While it is hidden or gone, another
// visible window of the game becomes the one followed. A game that shows no window when the
// overlay opens is left alone, as is a window that stays where it is.
//
// Where the system reports the window's changes (GameWindowPort::watch), each report brings a
// full look at once. Where it does not (Wine), each poll tick takes the looks of looksOnTick.
class GameWindowFollower {
public:
    GameWindowFollower(AppState& state, GameWindowPort& windows, OverlayPort& overlay)
        : state_(state), windows_(windows), overlay_(overlay) {}

    // The overlay has opened over the game `state.gamePid`.
    void onOverlayOpened();
    void onOverlayClosed();
    void onPollTick();
    void onGameWindowChanged();

private:
    // Looks at everything: finds the window again when it is gone, follows it, hides or shows
    // the overlay, and keeps it above when asked or when that is due.
    void lookAgain(bool keepAbove);
    Followed followed() const;
    void moveOverlayBy(std::int32_t x, std::int32_t y);

    AppState& state_;
    GameWindowPort& windows_;
    OverlayPort& overlay_;

    bool following_ = false;            // the game had a window when the overlay opened
    WindowId window_ = 0;               // the game's window followed now; 0 while it has none
    std::optional<WindowPlace> anchor_; // where it stood when last followed
    std::optional<WindowPlace> seenPlace_;
    WindowShow seenShow_ = WindowShow::Gone;
    WindowId seenForeground_ = 0;
    bool overlayShown_ = true;
    std::uint32_t tick_ = 0;
};

} // namespace pal4
