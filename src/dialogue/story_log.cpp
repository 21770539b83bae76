#include "dialogue/story_log.hpp"

#include "ports/panel_texts.hpp"
#include "text/text_encoding.hpp"

#include <algorithm>
#include <cstdio>

namespace pal4 {

namespace {

// In UTF-8, so the paths do not depend on the system's code page (the edit box names the log
// LOG_FILE_NAME).
constexpr const char8_t* LOG_FILE = u8"对白记录.txt";
// The lines still waiting when the tool ended, for the next start to put into the log.
constexpr const char8_t* LEFT_FILE = u8"对白记录.未写入.txt";

// Notepad takes a file with it for UTF-8 whatever the system's code page.
constexpr std::string_view UTF8_BOM = "\xEF\xBB\xBF";

std::string timestamp(const LocalTime& time) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d ", time.year, time.month,
                  time.day, time.hour, time.minute, time.second);
    return text;
}

// The mark a new log starts with, or what the file has not taken of it yet: never a line,
// which ends with its line break.
bool isMark(std::string_view entry) {
    return !entry.empty() && entry.size() <= UTF8_BOM.size() && UTF8_BOM.ends_with(entry);
}

} // namespace

std::filesystem::path StoryLog::beside(const char8_t* name) const {
    return shell_.programDirectory() / std::filesystem::path(name);
}

std::string StoryLog::entry(const LocalTime& time, std::string_view line) const {
    std::string text = gameTextToUtf8(line, decoder_);
    // A break inside the game's text would make two entries of one.
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return timestamp(time) + text + "\r\n";
}

bool StoryLog::full() const {
    const bool mark = !waiting_.empty() && isMark(waiting_.front());
    return waiting_.size() - (mark ? 1 : 0) >= MAX_WAITING_LOG_LINES;
}

void StoryLog::add(std::string_view line) {
    const bool behindOthers = behind();
    markDropped(false);
    if (full()) {
        if (dropped_++ == 0) {
            firstDropped_ = clock_.localTime();
        }
        ++droppedSinceCaughtUp_;
        return;
    }
    // The time the line was shown, not the time the file finally took it.
    waiting_.push_back(entry(clock_.localTime(), line));
    if (!behindOthers) {
        catchUp();
    }
}

void StoryLog::markDropped(bool evenWhenFull) {
    if (dropped_ == 0 || (!evenWhenFull && full())) {
        return;
    }
    const std::string count = std::string(LOG_LINES_DROPPED_PREFIX) + std::to_string(dropped_) +
                              std::string(LOG_LINES_DROPPED_SUFFIX);
    waiting_.push_back(entry(firstDropped_, count));
    dropped_ = 0;
}

bool StoryLog::catchUp() {
    for (;;) {
        markDropped(false);
        if (waiting_.empty()) {
            droppedSinceCaughtUp_ = 0;
            if (leftFileStays_) {
                forgetLeftFile();
            }
            return true;
        }
        if (!writeWaiting()) {
            return false;
        }
    }
}

bool StoryLog::writeWaiting() {
    const std::filesystem::path log = beside(LOG_FILE);
    const std::optional<std::uintmax_t> size = files_.fileSize(log);
    // A log that is new, or was emptied by hand, starts with its byte-order mark.
    const bool fresh = size ? *size == 0 : !files_.exists(log);
    if (fresh && !isMark(waiting_.front())) {
        waiting_.emplace_front(UTF8_BOM);
    }
    const std::optional<std::uintmax_t> before = fresh ? std::optional<std::uintmax_t>(0) : size;
    if (!append(log, before, isMark(waiting_.front()) ? 2 : 1)) {
        return false;
    }
    return waiting_.empty() || append(log, files_.fileSize(log), waiting_.size());
}

bool StoryLog::append(const std::filesystem::path& log, std::optional<std::uintmax_t> before,
                      std::size_t entries) {
    std::string bytes;
    for (std::size_t i = 0; i < entries && i < waiting_.size(); ++i) {
        bytes += waiting_[i];
    }
    if (files_.appendFile(log, bytes)) {
        consume(bytes.size());
        return true;
    }
    // A disk that filled up midway may have taken the first bytes: they stay, and the rest
    // goes after them. A log whose size cannot be told is taken to hold none of them.
    const std::optional<std::uintmax_t> after = files_.fileSize(log);
    if (before && after && *after > *before) {
        consume(static_cast<std::size_t>(std::min<std::uintmax_t>(*after - *before, bytes.size())));
    }
    return false;
}

void StoryLog::consume(std::size_t bytes) {
    while (bytes > 0 && !waiting_.empty()) {
        std::string& front = waiting_.front();
        if (bytes < front.size()) {
            front.erase(0, bytes);
            return;
        }
        bytes -= front.size();
        const bool line = !isMark(front);
        waiting_.pop_front();
        if (line && leftLines_ > 0 && --leftLines_ == 0) {
            leftLinesWritten_ = leftLinesTaken_;
            forgetLeftFile();
        }
    }
}

void StoryLog::forgetLeftFile() {
    const std::filesystem::path left = beside(LEFT_FILE);
    // Emptied when it cannot go: the next start must not put the lines in twice.
    leftFileStays_ = !files_.removeFile(left) && !files_.replaceFile(left, {}, Durability::OnDisk);
}

void StoryLog::takeLeftLines() {
    const std::optional<std::string> left = files_.readFile(beside(LEFT_FILE));
    if (!left) {
        return;
    }
    std::string_view rest = *left;
    if (rest.starts_with(UTF8_BOM)) {
        rest.remove_prefix(UTF8_BOM.size()); // the log's own mark, written before a refusal
    }
    std::deque<std::string> lines;
    while (!rest.empty()) {
        const std::size_t end = std::min(rest.find('\n'), rest.size() - 1) + 1;
        lines.emplace_back(rest.substr(0, end));
        rest.remove_prefix(end);
    }
    leftLines_ = leftLinesTaken_ = lines.size();
    waiting_.insert(waiting_.begin(), lines.begin(), lines.end());
    leftFileStays_ = lines.empty();
    catchUp();
}

void StoryLog::close() {
    if (catchUp()) {
        return;
    }
    markDropped(true);
    std::string bytes;
    for (const std::string& waiting : waiting_) {
        bytes += isMark(waiting) ? std::string() : waiting;
    }
    // Written over the file an earlier run left: its lines are still among those that wait.
    if (files_.replaceFile(beside(LEFT_FILE), bytes, Durability::OnDisk)) {
        leftFileStays_ = false;
    }
}

} // namespace pal4
