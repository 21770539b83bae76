#include "dialogue/dialogue_outputs.hpp"

#include "dialogue/clean_dialogue_text.hpp"
#include "ports/panel_texts.hpp"
#include "text/text_encoding.hpp"

#include <string>

namespace pal4 {

namespace {

// The name in UTF-8, so the path does not depend on the system's code page (the edit box's
// GB2312 name is LIVE_FILE_NAME); the story log names its own files.
constexpr const char8_t* LOG_FILE = u8"对白记录.txt";
constexpr const char8_t* LIVE_FILE = u8"当前对白.txt";

// Streaming software takes a file with it for UTF-8 whatever the system's code page.
constexpr std::string_view UTF8_BOM = "\xEF\xBB\xBF";

// A line the clipboard refused is tried again on this many ticks, then given up: a reading aid
// wants the line now, and the next one comes soon.
constexpr int CLIPBOARD_RETRIES = 3;

// The tool's last tries of a live line the file refuses, this far apart: a reader holds the
// file for a moment at a time.
constexpr int LIVE_TRIES_AT_EXIT = 5;
constexpr unsigned LIVE_TRY_PAUSE_MS = 40;

std::string leftLinesText(std::size_t lines) {
    return std::string(LEFT_LOG_LINES_PREFIX) + std::to_string(lines) +
           std::string(LEFT_LOG_LINES_SUFFIX);
}

} // namespace

std::filesystem::path DialogueOutputs::beside(const char8_t* name) const {
    return shell_.programDirectory() / std::filesystem::path(name);
}

void DialogueOutputs::onDialogueLine(std::string_view raw) {
    const std::optional<std::string> subtitle = cleanDialogueText(raw);
    if (!subtitle) {
        return;
    }
    show(*subtitle);
    if (subtitle->empty()) {
        return;
    }
    const std::string speaker = cleanSpeakerName(raw).value_or(std::string());
    std::string line =
        speaker.empty() ? *subtitle : speaker + std::string(SPEAKER_SEPARATOR) + *subtitle;
    // A blank flag that hides and shows the line again brings no new line.
    if (line == lastLine_) {
        return;
    }
    lastLine_ = std::move(line);
    for (DialogueListener* listener : listeners_) {
        listener->onNewLine(lastLine_);
    }
    if (panel_.isChecked(CheckBox::History)) {
        log_.add(lastLine_);
        if (log_.behind()) {
            reportFailure(LOG_FILE_NAME);
        }
    }
    if (state_.clipboardOn) {
        toClip_ = gameTextToUtf16(lastLine_, decoder_);
        clipRetries_ = 0;
        putOnClipboard();
    }
}

void DialogueOutputs::catchUpLog() {
    if (!log_.catchUp()) {
        reportFailure(LOG_FILE_NAME);
    }
    if (const std::size_t left = log_.leftLinesWritten(); left > 0) {
        panel_.setEditText(leftLinesText(left));
    }
}

void DialogueOutputs::show(std::string subtitle) {
    if (subtitle != shown_) {
        for (DialogueListener* listener : listeners_) {
            listener->onShownSubtitle(subtitle);
        }
    }
    shown_ = std::move(subtitle);
    if (!syncLive()) {
        reportFailure(LIVE_FILE_NAME);
    }
}

bool DialogueOutputs::syncLive() {
    const bool on = panel_.isChecked(CheckBox::History);
    const std::string wanted = on ? shown_ : std::string();
    if (liveFile_ == wanted) {
        return true;
    }
    const std::filesystem::path live = beside(LIVE_FILE);
    // With the switch off the file is only ever emptied, never made.
    if (!on && !files_.exists(live)) {
        liveFile_ = wanted;
        return true;
    }
    // No line end: a text layer that reads the file would show an empty second line.
    const std::string bytes = std::string(UTF8_BOM) + gameTextToUtf8(wanted, decoder_);
    if (files_.replaceFile(live, bytes, Durability::Cached)) {
        liveFile_ = wanted;
        return true;
    }
    liveFile_.reset();
    return false;
}

void DialogueOutputs::onOverlayOpened() {
    failureReported_ = false;
    // Whatever a past run or the time the overlay was closed left in the file is unknown.
    liveFile_.reset();
    show({});
    catchUpLog();
}

void DialogueOutputs::onOverlayClosed() {
    toClip_.reset();
    show({});
    catchUpLog();
}

void DialogueOutputs::onHistorySwitched() {
    // The file may have been left from another run, or changed while the switch was off.
    liveFile_.reset();
    show(shown_);
}

void DialogueOutputs::onTick() {
    if (toClip_) {
        putOnClipboard();
    }
    catchUpLog();
    if (!liveFile_) {
        syncLive();
    }
}

std::string DialogueOutputs::onToolStarted() {
    log_.takeLeftLines();
    if (const std::size_t left = log_.leftLinesWritten(); left > 0) {
        return leftLinesText(left);
    }
    if (!log_.behind()) {
        return {};
    }
    // Said among the start's notices, which a later report would replace.
    failureReported_ = true;
    notice_ = std::string(OUTPUT_FAILED_PREFIX) + std::string(LOG_FILE_NAME);
    return noticeText();
}

void DialogueOutputs::onToolClosing() {
    log_.close();
    for (int tries = 1; !syncLive() && tries < LIVE_TRIES_AT_EXIT; ++tries) {
        clock_.pause(LIVE_TRY_PAUSE_MS);
    }
}

void DialogueOutputs::putOnClipboard() {
    if (clipboard_.putText(*toClip_) || ++clipRetries_ > CLIPBOARD_RETRIES) {
        toClip_.reset();
    }
}

void DialogueOutputs::reportFailure(std::string_view fileName) {
    if (failureReported_) {
        return;
    }
    failureReported_ = true;
    notice_ = std::string(OUTPUT_FAILED_PREFIX) + std::string(fileName);
    panel_.setEditText(noticeText());
}

std::string DialogueOutputs::noticeText() const {
    std::string text = notice_;
    if (const std::size_t dropped = log_.droppedLines(); dropped > 0) {
        text += std::string(LOG_LINES_DROPPED_PREFIX) + std::to_string(dropped) +
                std::string(LOG_LINES_DROPPED_SUFFIX);
    }
    return text;
}

std::string DialogueOutputs::editBoxText(const std::string& raw) const {
    const bool catchingUp = log_.behind() || !liveFile_;
    if (notice_.empty() || !catchingUp) {
        return raw;
    }
    return raw + "\r\n" + noticeText();
}

void DialogueOutputs::openLog() {
    const std::filesystem::path log = beside(LOG_FILE);
    if (!files_.exists(log)) {
        panel_.setEditText(std::string(NO_LOG_YET_TEXT));
        return;
    }
    shell_.openFile(log);
}

} // namespace pal4
