#include "dialogue/dialogue_outputs.hpp"

#include "dialogue/clean_dialogue_text.hpp"
#include "ports/panel_texts.hpp"
#include "text/text_encoding.hpp"

#include <algorithm>
#include <cstdio>

namespace pal4 {

namespace {

// The names in UTF-8, so the paths do not depend on the system's code page (the edit box's
// GB2312 names are LOG_FILE_NAME and LIVE_FILE_NAME).
constexpr const char8_t* LOG_FILE = u8"对白记录.txt";
constexpr const char8_t* LIVE_FILE = u8"当前对白.txt";

// Notepad and streaming software take a file with it for UTF-8 whatever the system's code page.
constexpr std::string_view UTF8_BOM = "\xEF\xBB\xBF";

// A line the clipboard refused is tried again on this many ticks, then given up: a reading aid
// wants the line now, and the next one comes soon.
constexpr int CLIPBOARD_RETRIES = 3;

std::string timestamp(const LocalTime& time) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d ", time.year, time.month,
                  time.day, time.hour, time.minute, time.second);
    return text;
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
        // Behind lines that wait, a new line waits too, for the tick that tries them all.
        const bool behindOthers = !waitingLog_.empty();
        queueForLog(lastLine_);
        if (!behindOthers) {
            appendWaitingLines();
        }
    }
    if (state_.clipboardOn) {
        toClip_ = encodeUtf16(decodeGb2312(lastLine_, decoder_));
        clipRetries_ = 0;
        putOnClipboard();
    }
}

void DialogueOutputs::queueForLog(const std::string& line) {
    if (waitingLog_.size() >= MAX_WAITING_LOG_LINES) {
        ++droppedLogLines_;
        return;
    }
    // The time the line was shown, not the time the file finally took it.
    std::string entry = timestamp(clock_.localTime());
    std::string text = encodeUtf8(decodeGb2312(line, decoder_));
    // A break inside the game's text would make two entries of one.
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    entry += text + "\r\n";
    waitingLog_.push_back(std::move(entry));
}

void DialogueOutputs::appendWaitingLines() {
    if (waitingLog_.empty()) {
        return;
    }
    const std::filesystem::path log = beside(LOG_FILE);
    // A log that is new, or was emptied by hand, starts with its byte-order mark.
    const std::optional<std::uintmax_t> size = files_.fileSize(log);
    const bool fresh = size ? *size == 0 : !files_.exists(log);
    // The oldest line alone first: a file that still refuses costs one short write a tick,
    // however many lines wait; once it takes that line, the rest follow in one write.
    std::string bytes = fresh ? std::string(UTF8_BOM) : std::string();
    bytes += waitingLog_.front();
    if (!files_.appendFile(log, bytes)) {
        reportFailure(LOG_FILE_NAME);
        return;
    }
    waitingLog_.pop_front();
    bytes.clear();
    for (const std::string& entry : waitingLog_) {
        bytes += entry;
    }
    if (bytes.empty() || files_.appendFile(log, bytes)) {
        waitingLog_.clear();
        droppedLogLines_ = 0;
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
    const std::string bytes = std::string(UTF8_BOM) + encodeUtf8(decodeGb2312(wanted, decoder_));
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
    appendWaitingLines();
}

void DialogueOutputs::onOverlayClosed() {
    toClip_.reset();
    show({});
    appendWaitingLines();
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
    appendWaitingLines();
    if (!liveFile_) {
        syncLive();
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
    if (droppedLogLines_ > 0) {
        text += std::string(LOG_LINES_DROPPED_PREFIX) + std::to_string(droppedLogLines_) +
                std::string(LOG_LINES_DROPPED_SUFFIX);
    }
    return text;
}

std::string DialogueOutputs::editBoxText(const std::string& raw) const {
    const bool catchingUp = !waitingLog_.empty() || !liveFile_;
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
