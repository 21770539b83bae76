#include "dialogue/dialogue_backlog.hpp"

#include "core/gb2312_bytes.hpp"
#include "ports/panel_texts.hpp"

namespace pal4 {

namespace {

std::string_view cutToLimit(std::string_view line) {
    std::size_t end = 0;
    while (end < line.size()) {
        const std::size_t next = nextCharacter(line, end);
        if (next > BACKLOG_LINE_BYTES) {
            break;
        }
        end = next;
    }
    return line.substr(0, end);
}

} // namespace

void DialogueBacklog::showGameText(const std::string& subtitle) {
    gameText_ = subtitle;
    if (!step_) {
        overlay_.setLabelText(gameText_);
    }
}

void DialogueBacklog::stepBack() {
    if (!state_.overlayShown) {
        return;
    }
    if (step_) {
        step_ = *step_ == 0 ? 0 : *step_ - 1;
    } else if (lines_.size() > linesOnScreen()) {
        step_ = lines_.size() - 1 - linesOnScreen();
    } else {
        return; // nothing before the line on screen
    }
    lastStepMs_ = clock_.milliseconds();
    showStep();
}

void DialogueBacklog::stepForward() {
    if (!step_) {
        return;
    }
    if (*step_ + 1 + linesOnScreen() >= lines_.size()) {
        backToGame();
        return;
    }
    ++*step_;
    lastStepMs_ = clock_.milliseconds();
    showStep();
}

void DialogueBacklog::onTick() {
    if (step_ && clock_.milliseconds() - lastStepMs_ >= BACKLOG_STEP_TIMEOUT_MS) {
        backToGame();
    }
}

void DialogueBacklog::onOverlayClosed() {
    step_.reset();
    gameText_.clear();
}

void DialogueBacklog::onNewLine(std::string_view line) {
    lines_.emplace_back(cutToLimit(line));
    if (lines_.size() > BACKLOG_LINES) {
        lines_.pop_front();
    }
    if (step_) {
        backToGame();
    }
}

void DialogueBacklog::showStep() {
    // The game may have blanked its line or shown it again since the stepping began.
    const std::size_t behind = lines_.size() - *step_ - linesOnScreen();
    overlay_.setLabelText(lines_[*step_] + std::string(BACKLOG_COUNT_PREFIX) +
                          std::to_string(behind == 0 ? 1 : behind) +
                          std::string(BACKLOG_COUNT_SUFFIX));
}

void DialogueBacklog::backToGame() {
    step_.reset();
    overlay_.setLabelText(gameText_);
}

} // namespace pal4
