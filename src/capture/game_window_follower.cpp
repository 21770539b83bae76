#include "capture/game_window_follower.hpp"

#include "capture/picture_geometry.hpp"

namespace pal4 {

namespace {

// While the game has no window, or hides it, one is looked for on every third tick.
constexpr std::uint32_t FIND_EVERY = 3;

} // namespace

FollowStep followGameWindow(const std::optional<PictureAnchor>& anchor, WindowShow show,
                            const std::optional<WindowPlace>& client) {
    if (show != WindowShow::Shown || !client) {
        return {false, std::nullopt};
    }
    if (!anchor) {
        return {true, std::nullopt};
    }
    return {true, scaledWithPicture(anchor->overlay, anchor->client, *client)};
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
    seenClient_.reset();
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
        takeThePlayersPlace();
        const std::optional<WindowPlace> client = fullScreen_.giveBack();
        if (client && anchor_) {
            // The overlay is going: only the state and the panel take the geometry it would
            // have over the window given back, and the settings file keeps that.
            const WindowPlace place = scaledWithPicture(anchor_->overlay, anchor_->client, *client);
            state_.overlayLeft = place.left;
            state_.overlayTop = place.top;
            state_.overlayWidth = place.width;
            state_.overlayHeight = place.height;
            resized_.onOverlayResized();
        }
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

void GameWindowFollower::onFullScreenSwitched() {
    if (following_) {
        lookAgain(true);
    }
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
    if (looks.top && overlayShown_) {
        fullScreen_.keepBackdropBelow();
    }
}

void GameWindowFollower::lookAgain(bool keepAbove) {
    takeThePlayersPlace();
    std::optional<WindowPlace> place = window_ != 0 ? windows_.placeOf(window_) : std::nullopt;
    WindowShow show = place ? windows_.showOf(window_) : WindowShow::Gone;
    if (show == WindowShow::Hidden || show == WindowShow::Gone) {
        // The game may have made another, e.g. on a switch to or from full screen, or shown a
        // second one while this one hides. A new window is followed from where it stands; but
        // one made anew in full screen shows the same picture, which the overlay was placed on,
        // so the anchor stays and the overlay is not scaled from its full-screen place again.
        const WindowId found = windows_.findMainWindow(state_.gamePid);
        if (found != window_ && (found != 0 || show == WindowShow::Gone)) {
            window_ = found;
            place = found != 0 ? windows_.placeOf(found) : std::nullopt;
            show = found != 0 ? windows_.showOf(found) : WindowShow::Gone;
            if (!fullScreen_.onFullScreenPicture()) {
                anchor_.reset();
            }
            seenClient_.reset();
            keepAbove = true;
        }
    }
    const auto clientNow = [&] {
        return place == seenPlace_ && seenClient_ ? seenClient_ : windows_.clientOf(window_);
    };
    if (!anchor_ && show == WindowShow::Shown) {
        // Anchored where it stands before full screen changes it.
        seenClient_ = clientNow();
        seenPlace_ = place;
        if (seenClient_) {
            anchor_ = PictureAnchor{*seenClient_, overlayPlace()};
            placed_ = overlayPlace();
        }
    }
    if (fullScreen_.follow(window_, show)) {
        place = window_ != 0 ? windows_.placeOf(window_) : std::nullopt;
        keepAbove = true;
    }
    const std::optional<WindowPlace> client =
        show == WindowShow::Shown ? clientNow() : std::optional<WindowPlace>{};
    const FollowStep step = followGameWindow(anchor_, show, client);
    if (step.overlay && *step.overlay != overlayPlace()) {
        placeOverlay(*step.overlay);
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
    if (client) {
        seenClient_ = client;
    }
}

void GameWindowFollower::takeThePlayersPlace() {
    if (anchor_ && seenClient_ && overlayPlace() != placed_) {
        anchor_ = PictureAnchor{*seenClient_, overlayPlace()};
        placed_ = overlayPlace();
    }
}

WindowPlace GameWindowFollower::overlayPlace() const {
    return {state_.overlayLeft, state_.overlayTop, state_.overlayWidth, state_.overlayHeight};
}

void GameWindowFollower::placeOverlay(const WindowPlace& place) {
    const bool resized = place.width != state_.overlayWidth || place.height != state_.overlayHeight;
    state_.overlayWidth = place.width;
    state_.overlayHeight = place.height;
    if (resized) {
        overlay_.setLabelSize(place.width, place.height);
    }
    // As a drag would: the move event copies the new place into the state, the position
    // sliders and their captions.
    overlay_.setWindowBounds(place.left, place.top, place.width, place.height);
    if (resized) {
        resized_.onOverlayResized();
    }
    placed_ = overlayPlace();
}

} // namespace pal4
