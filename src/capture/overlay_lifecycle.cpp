#include "capture/overlay_lifecycle.hpp"

#include "capture/diagnosis_texts.hpp"
#include "gameproc/process_locator.hpp"
#include "overlay/overlay_constants.hpp"
#include "overlay/subtitle_appearance.hpp"

#include <string>

namespace pal4 {

void OverlayLifecycle::onToggleClicked() {
    if (toggling_) {
        return;
    }
    toggling_ = true;
    toggle();
    toggling_ = false;
}

void OverlayLifecycle::toggle() {
    // Looked up on every press, so closing writes the game's values back into the process
    // running now, and a restarted game is found.
    state_.gamePid = findProcessId(processes_, GAME_EXECUTABLE_NAME);
    if (state_.overlayShown) {
        overlay_.destroy();
        state_.overlayShown = false;
        panel_.setToggleCaption(std::string(TOGGLE_CAPTION_CLOSED));
        return;
    }
    if (game_.isInGame(state_.gamePid)) {
        open();
        return;
    }
    refuse();
}

void OverlayLifecycle::open() {
    if (overlay_.create()) {
        panel_.setToggleCaption(std::string(TOGGLE_CAPTION_OPEN));
        state_.overlayShown = true;
        // From here on the overlay lives with the game's window.
        follower_.onOverlayOpened();
        return;
    }
    // The creation handler may have run and changed the game without a destruction to undo it;
    // writing the closed values into a game that never got the open ones would change it too.
    if (gameValuesApplied_) {
        overlay_.setTimerInterval(0);
        game_.restoreGameValues(state_.gamePid);
        gameValuesApplied_ = false;
    }
    panel_.setEditText(std::string(OVERLAY_NOT_CREATED_TEXT));
}

void OverlayLifecycle::refuse() {
    shell_.showMessage(std::string(REFUSAL_MESSAGE_TEXT), std::string(REFUSAL_MESSAGE_TITLE),
                       MESSAGE_BOX_SYSTEM_MODAL);
    // After the box, so the refusal stays as it always was, and the reason shown is the one
    // that holds when the user has read the box.
    if (const std::optional<RefusalDiagnosis> diagnosis = diagnoser_.diagnose()) {
        panel_.setEditText(refusalReasonText(*diagnosis));
    }
}

void OverlayLifecycle::placeWindow() {
    overlay_.setWindowSize(state_.overlayWidth, state_.overlayHeight);
    overlay_.setLabelSize(state_.overlayWidth, state_.overlayHeight);
    overlay_.setWindowPosition(state_.overlayLeft, state_.overlayTop);
}

void OverlayLifecycle::onOverlayCreated() {
    state_.overlaySettingUp = true;
    // The first tick shows the current line even when the game's buffer has not changed.
    state_.lastText.clear();
    outputs_.onOverlayOpened();
    overlay_.makeColorKeyed(OVERLAY_COLOR_KEY);
    overlay_.setClickThrough(panel_.isChecked(CheckBox::Lock));
    if (!game_.locateTextAddress(state_.gamePid)) {
        panel_.setEditText(std::string(GAME_MODULE_MISSING_TEXT));
    }
    // applyAppearance does nothing until overlayShown is set after this handler, so the new
    // label gets the current style here.
    assignLabelStyle(state_, panel_, overlay_);
    placeWindow();
    // The moves made by the placement were ours; from here on a move is the user's.
    state_.overlaySettingUp = false;
    state_.blankFlagAddress = game_.blankFlagAddressOf(state_.gamePid);
    game_.applyOverlayValues(state_.gamePid);
    gameValuesApplied_ = true;
    showDebugSampleOrPoll(overlay_, panel_.isChecked(CheckBox::Debug));
}

void OverlayLifecycle::onOverlayDestroyed() {
    overlay_.setTimerInterval(0);
    follower_.onOverlayClosed();
    settings_.saveGeometry();
    state_.overlayShown = false;
    // While the panel is being destroyed its button is already going away.
    if (state_.panelOpen) {
        panel_.setToggleCaption(std::string(TOGGLE_CAPTION_CLOSED));
    }
    game_.restoreGameValues(state_.gamePid);
    gameValuesApplied_ = false;
    outputs_.onOverlayClosed();
}

} // namespace pal4
