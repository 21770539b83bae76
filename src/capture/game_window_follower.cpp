#include "capture/game_window_follower.hpp"

#include <algorithm>
#include <limits>

namespace pal4 {

namespace {

// Turns of the cheap looks: the foreground window on even ticks, the window's place on odd ones,
// and on every second tick also the top of the z-order, where a game that joins the topmost band
// shows. A look and a half a tick: under Wine each is a round trip to its server, about 30 us.
constexpr std::uint32_t TOP_LOOK_EVERY = 2;
// While the game has no window, it is looked for on every third tick: a full walk of the
// top-level windows, too costly for every tick, and within 300 ms of the window's return.
constexpr std::uint32_t FIND_EVERY = 3;

std::int32_t clamped(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

} // namespace

FollowStep followGameWindow(const std::optional<WindowPlace>& anchor, WindowShow show,
                            const std::optional<WindowPlace>& now) {
    if (show != WindowShow::Shown || !now) {
        return {false, 0, 0};
    }
    if (!anchor) {
        return {true, 0, 0};
    }
    return {true, clamped(std::int64_t{now->left} - anchor->left),
            clamped(std::int64_t{now->top} - anchor->top)};
}

void GameWindowFollower::onOverlayOpened() {
    window_ = windows_.findMainWindow(state_.gamePid);
    following_ = window_ != 0;
    anchor_.reset();
    overlayShown_ = true;
    tick_ = 0;
    if (!following_) {
        return;
    }
    windows_.watch(state_.gamePid);
    seenForeground_ = windows_.foregroundWindow();
    lookAgain(false);
}

void GameWindowFollower::onOverlayClosed() {
    if (following_) {
        windows_.stopWatching();
    }
    following_ = false;
    window_ = 0;
    anchor_.reset();
    overlayShown_ = true;
}

void GameWindowFollower::onGameWindowChanged() {
    if (!following_) {
        return;
    }
    const WindowId foreground = windows_.foregroundWindow();
    const bool cameToFront = foreground != seenForeground_ && foreground == window_;
    seenForeground_ = foreground;
    lookAgain(cameToFront || (window_ != 0 && windows_.topWindow() == window_));
}

void GameWindowFollower::onPollTick() {
    if (!following_) {
        return;
    }
    const std::uint32_t tick = tick_++;
    if (window_ == 0) {
        if (tick % FIND_EVERY == 0) {
            lookAgain(true);
        }
        return;
    }
    if (!overlayShown_) {
        // Minimised or hidden: watch for its return, by its place or by its showing.
        const bool back = tick % 2 == 0 ? windows_.placeOf(window_) != seenPlace_
                                        : windows_.showOf(window_) != seenShow_;
        if (back) {
            lookAgain(true);
        }
        return;
    }
    if (tick % 2 == 0) {
        const WindowId foreground = windows_.foregroundWindow();
        if (foreground != seenForeground_) {
            seenForeground_ = foreground;
            if (foreground == window_) {
                lookAgain(true); // clicked into, switched to, or brought itself to the front
            }
        }
    } else if (windows_.placeOf(window_) != seenPlace_) {
        lookAgain(false); // moved, minimised, or gone
    }
    if (tick % TOP_LOOK_EVERY == TOP_LOOK_EVERY - 1 && window_ != 0 && overlayShown_ &&
        windows_.topWindow() == window_) {
        overlay_.keepAbove(); // it joined the topmost band above the overlay
    }
}

void GameWindowFollower::lookAgain(bool keepAbove) {
    std::optional<WindowPlace> place = window_ != 0 ? windows_.placeOf(window_) : std::nullopt;
    if (!place) {
        // Gone: the game may have made a new one, e.g. on a switch to or from full screen. A new
        // window is followed from where it stands.
        window_ = windows_.findMainWindow(state_.gamePid);
        place = window_ != 0 ? windows_.placeOf(window_) : std::nullopt;
        anchor_.reset();
        keepAbove = true;
    }
    const WindowShow show = window_ != 0 ? windows_.showOf(window_) : WindowShow::Gone;
    const FollowStep step = followGameWindow(anchor_, show, place);
    if (step.shown) {
        moveOverlayBy(step.moveX, step.moveY);
        anchor_ = place;
    }
    if (step.shown != overlayShown_) {
        overlayShown_ = step.shown;
        overlay_.setShown(step.shown);
        keepAbove = keepAbove || step.shown;
        // A window restored is activated too, and may be raised after this look: the next look
        // at the foreground takes it as new and keeps the overlay above it once more.
        seenForeground_ = 0;
    }
    if (keepAbove && overlayShown_) {
        overlay_.keepAbove();
    }
    seenPlace_ = place;
    seenShow_ = show;
}

void GameWindowFollower::moveOverlayBy(std::int32_t x, std::int32_t y) {
    if (x == 0 && y == 0) {
        return;
    }
    // As a drag would: the move event copies the new place into the state, the position
    // sliders and their captions.
    overlay_.setWindowPosition(clamped(std::int64_t{state_.overlayLeft} + x),
                               clamped(std::int64_t{state_.overlayTop} + y));
}

} // namespace pal4
