#pragma once

#include "capture/game_full_screen.hpp"
#include "core/app_state.hpp"
#include "ports/game_window_port.hpp"
#include "ports/overlay_port.hpp"

#include <cstdint>
#include <optional>

namespace pal4 {

// The overlay's place on the picture: the game's client area and the overlay's rectangle at one
// moment when the overlay stood where it belongs.
struct PictureAnchor {
    WindowPlace client;
    WindowPlace overlay;
};

// What the overlay does after a look at the game's window.
struct FollowStep {
    bool shown = true;                  // the overlay is to be seen
    std::optional<WindowPlace> overlay; // where it goes; nothing: it stays where it is
    bool operator==(const FollowStep&) const = default;
};

// The rule: the overlay is seen only while the game's window is, and keeps its place on the
// picture: from the anchor to the client area now, it moves and scales as scaledWithPicture
// says. No anchor (a window seen for the first time) moves nothing.
FollowStep followGameWindow(const std::optional<PictureAnchor>& anchor, WindowShow show,
                            const std::optional<WindowPlace>& client);

// Told when the follower has changed the overlay's size, after the state holds it, so the panel
// shows it as it shows a drag.
class OverlayResizeListener {
public:
    virtual void onOverlayResized() = 0;

protected:
    ~OverlayResizeListener() = default;
};

// Lives with the game's window while the overlay is open: keeps the overlay above it whenever
// it comes to the front or joins the topmost band, moves and scales the overlay with its picture
// as a drag would (so the sliders and their captions follow), hides the overlay, without closing
// it, while the window is minimised, hidden or gone, and has GameFullScreen bring the window to
// what 全屏 asks at each look. A game that shows no window when the overlay opens is left alone,
// as is a window that stays where it is.
//
// The overlay's place on the picture is kept as an anchor, taken anew whenever the overlay stands
// elsewhere than the follower put it (the player dragged it or moved a slider): every later place
// is computed from the anchor, so going full screen and back puts it exactly where it was. The
// overlay closing gives the window back first and puts the geometry it then has into the state,
// so the settings file keeps the geometry of the window without full screen.
//
// Where the system reports the window's changes (GameWindowPort::watch), each report brings a
// full look at once. Where it does not (Wine), each poll tick takes a cheap look or two, in
// turns: the foreground window, then the window's place, and every other tick the top of the
// z-order; any change brings the full look.
class GameWindowFollower {
public:
    GameWindowFollower(AppState& state, GameWindowPort& windows, OverlayPort& overlay,
                       GameFullScreen& fullScreen, OverlayResizeListener& resized)
        : state_(state), windows_(windows), overlay_(overlay), fullScreen_(fullScreen),
          resized_(resized) {}

    // The overlay has opened over the game `state.gamePid`.
    void onOverlayOpened();
    void onOverlayClosed();
    void onPollTick();
    void onGameWindowChanged();
    // 全屏 was switched: the window is taken or given back at once.
    void onFullScreenSwitched();

private:
    // Looks at everything: finds the window again when it is gone, follows it, hides or shows
    // the overlay, and keeps it above when asked or when that is due.
    void lookAgain(bool keepAbove);
    // The player moved the overlay since the follower last put it: its place on the picture is
    // where it stands now.
    void takeThePlayersPlace();
    // Where the overlay stands now, by the state.
    WindowPlace overlayPlace() const;
    void placeOverlay(const WindowPlace& place);

    AppState& state_;
    GameWindowPort& windows_;
    OverlayPort& overlay_;
    GameFullScreen& fullScreen_;
    OverlayResizeListener& resized_;

    bool following_ = false; // the game had a window when the overlay opened
    WindowId window_ = 0;    // the game's window followed now; 0 while it has none
    std::optional<PictureAnchor> anchor_;
    std::optional<WindowPlace> seenClient_; // the client area at the last look
    WindowPlace placed_;                    // where the follower last put the overlay
    std::optional<WindowPlace> seenPlace_;
    WindowShow seenShow_ = WindowShow::Gone;
    WindowId seenForeground_ = 0;
    bool overlayShown_ = true;
    std::uint32_t tick_ = 0;
};

} // namespace pal4
