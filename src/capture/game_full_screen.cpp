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
        changed = giveBack();
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
    // The game changed its window itself. Still without its frame, it changed its resolution:
    // the picture has the window's new size, and the window given back will have it too. With
    // a frame of its own again, what it has now is what it gets back.
    if (frame->style != taken_->now.style || frame->exStyle != taken_->now.exStyle) {
        takeWithItsClientArea(window, *frame);
        return true;
    }
    WindowFrame before = taken_->restore.before;
    before.place.width += frame->place.width - taken_->pictureWidth;
    before.place.height += frame->place.height - taken_->pictureHeight;
    take(window, before, frame->place.width, frame->place.height);
    return true;
}

void GameFullScreen::takeWithItsClientArea(WindowId window, const WindowFrame& before) {
    const std::optional<WindowPlace> client = windows_.clientOf(window);
    const WindowPlace picture = client.value_or(before.place);
    take(window, before, picture.width, picture.height);
}

void GameFullScreen::take(WindowId window, const WindowFrame& before, std::int32_t pictureWidth,
                          std::int32_t pictureHeight) {
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
                             fullScreenPlace(pictureWidth, pictureHeight, monitor, scale_)};
    port_.setFrame(window, wanted);
    taken_ = Taken{restore, port_.frameOf(window).value_or(wanted), pictureWidth, pictureHeight};
    port_.showBackdrop(monitor, window);
    backdropShown_ = true;
    port_.markFullScreen(window, true);
}

bool GameFullScreen::giveBack() {
    if (!taken_) {
        return false;
    }
    const FullScreenRestore restore = taken_->restore;
    taken_.reset();
    port_.hideBackdrop();
    backdropShown_ = false;
    if (setFrameOfProcess(restore.process, restore.window, restore.before)) {
        port_.markFullScreen(restore.window, false);
    }
    settings_.removeSetting(KEY_FULL_SCREEN_RESTORE);
    return true;
}

bool GameFullScreen::setFrameOfProcess(ProcessId process, WindowId window,
                                       const WindowFrame& frame) {
    return process != 0 && port_.processOf(window) == process && port_.setFrame(window, frame);
}

} // namespace pal4
