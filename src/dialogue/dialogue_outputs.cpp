#include "dialogue/dialogue_outputs.hpp"

#include "dialogue/clean_dialogue_text.hpp"
#include "text/text_encoding.hpp"
#include "ports/panel_texts.hpp"

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
    showLive(*subtitle);
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
    if (listener_ != nullptr) {
        listener_->onNewLine(lastLine_);
    }
    if (panel_.isChecked(CheckBox::History)) {
        appendToLog(lastLine_);
    }
    if (state_.clipboardOn) {
        toClip_ = encodeUtf16(decodeGb2312(lastLine_, decoder_));
        clipRetries_ = 0;
        putOnClipboard();
    }
}

void DialogueOutputs::appendToLog(const std::string& line) {
    const std::filesystem::path log = beside(LOG_FILE);
    std::string bytes = files_.exists(log) ? std::string() : std::string(UTF8_BOM);
    bytes += timestamp(clock_.localTime());
    std::string oneLine = encodeUtf8(decodeGb2312(line, decoder_));
    // A break inside the game's text would make two entries of one.
    std::replace_if(
        oneLine.begin(), oneLine.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    bytes += oneLine + "\r\n";
    if (!files_.appendFile(log, bytes)) {
        reportFailure(LOG_FILE_NAME);
    }
}

void DialogueOutputs::showLive(std::string subtitle) {
    if (!writeLive(std::move(subtitle))) {
        reportFailure(LIVE_FILE_NAME);
    }
}

bool DialogueOutputs::writeLive(std::string subtitle) {
    if (listener_ != nullptr && subtitle != shown_) {
        listener_->onShownSubtitle(subtitle);
    }
    shown_ = std::move(subtitle);
    if (!panel_.isChecked(CheckBox::History) || liveFile_ == shown_) {
        return true;
    }
    // No line end: a text layer that reads the file would show an empty second line.
    const std::string bytes = std::string(UTF8_BOM) + encodeUtf8(decodeGb2312(shown_, decoder_));
    if (files_.replaceFile(beside(LIVE_FILE), bytes)) {
        liveFile_ = shown_;
        return true;
    }
    liveFile_.reset();
    return false;
}

void DialogueOutputs::onOverlayOpened() {
    failureReported_ = false;
    writeLive({});
}

void DialogueOutputs::onHistorySwitched() {
    // The file may have been left from another run, or changed while the switch was off.
    liveFile_.reset();
    showLive(shown_);
}

void DialogueOutputs::onTick() {
    if (toClip_) {
        putOnClipboard();
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
    panel_.setEditText(std::string(OUTPUT_FAILED_PREFIX) + std::string(fileName));
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
