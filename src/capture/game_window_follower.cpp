#include "capture/game_window_follower.hpp"

#include "capture/picture_geometry.hpp"

namespace pal4 {

namespace {

// Turns of the cheap looks: the foreground window on even ticks, the window's place on odd ones,
// and on every second tick also the top of the z-order, where a game that joins the topmost band
// shows. A look and a half a tick: under Wine each is a round trip to its server, about 30 us.
constexpr std::uint32_t TOP_LOOK_EVERY = 2;
// While the game has no window, it is looked for on every third tick: a full walk of the
// top-level windows, too costly for every tick, and within 300 ms of the window's return.
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

void GameWindowFollower::onFullScreenSwitched() {
    if (following_) {
        lookAgain(true);
    }
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
    takeThePlayersPlace();
    std::optional<WindowPlace> place = window_ != 0 ? windows_.placeOf(window_) : std::nullopt;
    if (!place) {
        // Gone: the game may have made a new one, e.g. on a switch to or from full screen. A new
        // window is followed from where it stands.
        window_ = windows_.findMainWindow(state_.gamePid);
        place = window_ != 0 ? windows_.placeOf(window_) : std::nullopt;
        anchor_.reset();
        seenClient_.reset();
        keepAbove = true;
    }
    const WindowShow show = window_ != 0 ? windows_.showOf(window_) : WindowShow::Gone;
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
