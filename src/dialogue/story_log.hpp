#pragma once

#include "ports/character_decoder_port.hpp"
#include "ports/clock_port.hpp"
#include "ports/file_store_port.hpp"
#include "ports/shell_port.hpp"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace pal4 {

// A log line that cannot be appended is kept and tried again; this many are kept at most, an
// hour of dialogue at the poller's ceiling of ten new lines a second. Past it new lines are
// dropped and counted, never the ones already waiting, so the log keeps its order.
inline constexpr std::size_t MAX_WAITING_LOG_LINES = 36000;

// The story log 对白记录.txt: one line per new line of dialogue, with the time it was shown, in
// UTF-8 with a byte-order mark.
//
// The file holds whole lines only, each once, in order. A line the file refuses waits, with
// the lines after it, until the file takes them. An append that stopped partway (a full disk,
// a quota) is told by the file's size: what went in stays and the rest follows it, never the
// whole line again. Lines dropped past the bound leave one line in their place saying how
// many. What still waits when the tool ends goes to a file beside the log, which the next start
// puts into the log before anything else.
class StoryLog {
public:
    // The log and the file of left lines lie in the program's folder.
    StoryLog(FileStorePort& files, const ShellPort& shell, const ClockPort& clock,
             const CharacterDecoderPort& decoder)
        : files_(files), shell_(shell), clock_(clock), decoder_(decoder) {}

    // A new line (GB2312), stamped with the time now. It joins the lines that wait; it is
    // written at once only when none waits, so a file that refuses costs one write a tick.
    void add(std::string_view line);
    // Tries what waits; true when nothing waits afterwards.
    bool catchUp();
    // The tool starts: the lines an earlier run left wait first, and are tried at once.
    void takeLeftLines();
    // How many left lines went into the log since the last call; 0 until all of them have.
    std::size_t leftLinesWritten() { return std::exchange(leftLinesWritten_, 0); }
    // The tool ends: a last try, and what still waits is kept for the next start.
    void close();

    bool behind() const { return !waiting_.empty() || dropped_ > 0; }
    // Lines dropped since the log was last caught up.
    std::size_t droppedLines() const { return droppedSinceCaughtUp_; }

private:
    // Writes what waits: the oldest line alone first, so a file that still refuses costs one
    // short write; once it takes that line, the rest in one write. True when all went in.
    bool writeWaiting();
    // Appends the first `entries` of what waits to a log that held `before` bytes (nothing
    // when that is unknown); true when the file took them all.
    bool append(const std::filesystem::path& log, std::optional<std::uintmax_t> before,
                std::size_t entries);
    // Takes `bytes` from the front of what waits, as the file took them.
    void consume(std::size_t bytes);
    bool full() const;
    // The line that stands for the dropped ones, once there is room for it.
    void markDropped(bool evenWhenFull);
    // The left lines are in the log: their file goes.
    void forgetLeftFile();
    std::string entry(const LocalTime& time, std::string_view line) const;
    std::filesystem::path beside(const char8_t* name) const;

    FileStorePort& files_;
    const ShellPort& shell_;
    const ClockPort& clock_;
    const CharacterDecoderPort& decoder_;

    // Log lines, UTF-8, each ended by CR LF; the first may be the rest of a line the file took
    // in part, or the byte-order mark a new log starts with.
    std::deque<std::string> waiting_;
    std::size_t dropped_ = 0; // dropped lines not yet marked among those that wait
    LocalTime firstDropped_;
    std::size_t droppedSinceCaughtUp_ = 0;
    std::size_t leftLines_ = 0;        // lines of the left file, in front, not yet in the log
    std::size_t leftLinesTaken_ = 0;   // how many the left file held
    std::size_t leftLinesWritten_ = 0; // to be told
    bool leftFileStays_ = false;       // the left file is there and its lines are in the log
};

} // namespace pal4
