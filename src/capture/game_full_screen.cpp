#include "capture/game_full_screen.hpp"

#include "capture/picture_geometry.hpp"
#include "ports/panel_texts.hpp"
#include "settings/setting_keys.hpp"

namespace pal4 {

namespace {

void addLine(std::string& lines, std::string_view line) {
    lines += (lines.empty() ? "" : "\r\n") + std::string(line);
}

} // namespace

std::string GameFullScreen::onToolStarted() {
    std::string notices;
    // First of all: the window a killed or crashed run left without its frame.
    const std::string left = settings_.readSetting(KEY_FULL_SCREEN_RESTORE, "");
    if (!left.empty()) {
        settings_.removeSetting(KEY_FULL_SCREEN_RESTORE);
        const std::optional<FullScreenRestore> restore = fullScreenRestoreFromText(left);
        if (restore && setFrameOfProcess(restore->process, restore->window, restore->before)) {
            port_.markFullScreen(restore->window, false);
            addLine(notices, FULL_SCREEN_GIVEN_BACK_TEXT);
        }
    }
    const std::string scale =
        settings_.readSetting(KEY_FULL_SCREEN_SCALE, DEFAULT_FULL_SCREEN_SCALE);
    if (const std::optional<FullScreenScale> read = fullScreenScaleFromValue(scale)) {
        scale_ = *read;
    } else {
        addLine(notices, std::string(FULL_SCREEN_SCALE_UNUSABLE_PREFIX) + scale +
                             std::string(FULL_SCREEN_SCALE_UNUSABLE_SUFFIX));
    }
    return notices;
}

bool GameFullScreen::follow(WindowId window, WindowShow show) {
    const bool wanted =
        state_.overlayShown && window != 0 && panel_.isChecked(CheckBox::FullScreen);
    bool changed = false;
    if (taken_ && (!wanted || taken_->restore.window != window)) {
        changed = giveBack().has_value();
    }
    if (!wanted) {
        return changed;
    }
    if (show != WindowShow::Shown) {
        // Minimised or hidden: the black window goes, the frame stays ours until it is back.
        if (backdropShown_) {
            port_.hideBackdrop();
            backdropShown_ = false;
        }
        return changed;
    }
    const std::optional<WindowFrame> frame = port_.frameOf(window);
    if (!frame) {
        return changed;
    }
    if (!taken_) {
        takeWithItsClientArea(window, *frame);
        return true;
    }
    if (*frame == taken_->now) {
        if (!backdropShown_) {
            port_.showBackdrop(port_.monitorOf(window), window);
            backdropShown_ = true;
        }
        return changed;
    }
    // The window changed. With a frame of its own again, what it has now is what it gets back.
    // Still without its frame but of another size, the game changed its resolution: the picture
    // has the window's new size, and the window given back will have it too. Only moved, it is
    // put back.
    if (frame->style != taken_->now.style || frame->exStyle != taken_->now.exStyle) {
        takeWithItsClientArea(window, *frame);
        return true;
    }
    WindowFrame before = taken_->restore.before;
    WindowPlace picture = taken_->picture;
    const WindowPlace& fitted = taken_->now.place;
    if (frame->place.width != fitted.width || frame->place.height != fitted.height) {
        before.place.width += frame->place.width - picture.width;
        before.place.height += frame->place.height - picture.height;
        picture.width = frame->place.width;
        picture.height = frame->place.height;
    }
    take(window, before, picture);
    return true;
}

void GameFullScreen::takeWithItsClientArea(WindowId window, const WindowFrame& before) {
    take(window, before, windows_.clientOf(window).value_or(before.place));
}

void GameFullScreen::take(WindowId window, const WindowFrame& before, const WindowPlace& picture) {
    const ProcessId process = port_.processOf(window);
    if (process == 0) {
        return;
    }
    const FullScreenRestore restore{process, window, before};
    // Kept before the window is changed: whatever happens next, the next start can give it back.
    if (!taken_ || !(taken_->restore == restore)) {
        settings_.writeSetting(KEY_FULL_SCREEN_RESTORE, fullScreenRestoreText(restore));
    }
    const WindowPlace monitor = port_.monitorOf(window);
    const WindowFrame wanted{before.style & ~(WINDOW_STYLE_FRAME | WINDOW_STYLE_MAXIMIZE),
                             before.exStyle & ~WINDOW_EXSTYLE_EDGES,
                             fullScreenPlace(picture.width, picture.height, monitor, scale_)};
    port_.setFrame(window, wanted);
    taken_ = Taken{restore, port_.frameOf(window).value_or(wanted), picture};
    port_.showBackdrop(monitor, window);
    backdropShown_ = true;
    port_.markFullScreen(window, true);
}

std::optional<WindowPlace> GameFullScreen::giveBack() {
    if (!taken_) {
        return std::nullopt;
    }
    const FullScreenRestore restore = taken_->restore;
    const WindowPlace picture = taken_->picture;
    taken_.reset();
    port_.hideBackdrop();
    backdropShown_ = false;
    if (setFrameOfProcess(restore.process, restore.window, restore.before)) {
        port_.markFullScreen(restore.window, false);
    }
    settings_.removeSetting(KEY_FULL_SCREEN_RESTORE);
    return picture;
}

bool GameFullScreen::setFrameOfProcess(ProcessId process, WindowId window,
                                       const WindowFrame& frame) {
    return process != 0 && port_.processOf(window) == process && port_.setFrame(window, frame);
}

} // namespace pal4
