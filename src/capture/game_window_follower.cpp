#include "capture/game_window_follower.hpp"

#include <algorithm>
#include <limits>

namespace pal4 {

namespace {

// While the game has no window, or hides it, one is looked for on every third tick.
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

TickLooks looksOnTick(std::uint32_t tick, Followed followed) {
    switch (followed) {
    case Followed::NoWindow:
        return {.find = tick % FIND_EVERY == 0};
    case Followed::Seen:
        // The foreground on even ticks; the place and the top on odd ones, and every other
        // odd tick the showing, which a window hidden where it stood changes alone.
        if (tick % 2 == 0) {
            return {.foreground = true};
        }
        return {.place = true, .show = tick % 4 == 3, .top = true};
    case Followed::Hidden:
        if (tick % FIND_EVERY == 0) {
            return {.find = true}; // another window shown meanwhile
        }
        [[fallthrough]];
    case Followed::Minimised:
        // Its return, by its place or by its showing.
        return tick % 2 == 0 ? TickLooks{.place = true} : TickLooks{.show = true};
    }
    return {};
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

Followed GameWindowFollower::followed() const {
    if (window_ == 0) {
        return Followed::NoWindow;
    }
    if (overlayShown_) {
        return Followed::Seen;
    }
    return seenShow_ == WindowShow::Hidden ? Followed::Hidden : Followed::Minimised;
}

void GameWindowFollower::onPollTick() {
    if (!following_) {
        return;
    }
    const TickLooks looks = looksOnTick(tick_++, followed());
    // Back from hiding, found anew, or come to the front: the overlay goes above it.
    bool changed = looks.find;
    bool keepAbove = looks.find || !overlayShown_;
    if (looks.foreground) {
        const WindowId foreground = windows_.foregroundWindow();
        if (foreground != seenForeground_ && foreground == window_) {
            changed = keepAbove = true; // clicked into, switched to, or brought itself forward
        }
        seenForeground_ = foreground;
    }
    changed = changed || (looks.place && windows_.placeOf(window_) != seenPlace_);
    changed = changed || (looks.show && windows_.showOf(window_) != seenShow_);
    if (changed) {
        lookAgain(keepAbove);
    }
    if (looks.top && window_ != 0 && overlayShown_ && windows_.topWindow() == window_) {
        overlay_.keepAbove(); // it joined the topmost band above the overlay
    }
}

void GameWindowFollower::lookAgain(bool keepAbove) {
    std::optional<WindowPlace> place = window_ != 0 ? windows_.placeOf(window_) : std::nullopt;
    WindowShow show = place ? windows_.showOf(window_) : WindowShow::Gone;
    if (show == WindowShow::Hidden || show == WindowShow::Gone) {
        // The game may have made another, e.g. on a switch to or from full screen, or shown a
        // second one while this one hides. A new window is followed from where it stands.
        const WindowId found = windows_.findMainWindow(state_.gamePid);
        if (found != window_ && (found != 0 || show == WindowShow::Gone)) {
            anchor_.reset();
            keepAbove = true;
            place = found != 0 ? windows_.placeOf(found) : std::nullopt;
            show = found != 0 ? windows_.showOf(found) : WindowShow::Gone;
            window_ = found;
        }
    }
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
