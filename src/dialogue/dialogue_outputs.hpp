#pragma once

#include "core/app_state.hpp"
#include "dialogue/dialogue_listener.hpp"
#include "ports/character_decoder_port.hpp"
#include "ports/clipboard_port.hpp"
#include "ports/clock_port.hpp"
#include "ports/file_store_port.hpp"
#include "ports/panel_port.hpp"
#include "ports/shell_port.hpp"

#include <cstddef>
#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pal4 {

// A log line that cannot be appended is kept and tried again; this many are kept at most, an
// hour of dialogue at the poller's ceiling of ten new lines a second. Past it new lines are
// dropped and counted, never the ones already waiting, so the log keeps its order.
inline constexpr std::size_t MAX_WAITING_LOG_LINES = 36000;

// Where the subtitle goes besides the overlay. While the switch 记录对白 is on: every new line
// appended to the story log beside the exe, and the text the overlay shows now kept in the
// live line file for streaming software. With the settings' clipboard switch: every new line
// on the clipboard for reading aids.
//
// A file or a clipboard that refuses never stops the subtitles. A log line the file refuses
// waits, in order, and goes in on a later tick together with the lines after it; a live line
// the file refuses is written again on the next ticks; a file that refuses is named in the edit
// box once per opening of the overlay, and the notice stays under each new line until the file
// has caught up. The live line is never left stale: whatever the switch, an existing file is
// emptied when the overlay opens or closes, when the game blanks the line and when the switch
// is turned off.
class DialogueOutputs {
public:
    DialogueOutputs(AppState& state, PanelPort& panel, ShellPort& shell, FileStorePort& files,
                    ClipboardPort& clipboard, const ClockPort& clock,
                    const CharacterDecoderPort& decoder)
        : state_(state), panel_(panel), shell_(shell), files_(files), clipboard_(clipboard),
          clock_(clock), decoder_(decoder) {}

    // The overlay took a new dialogue line (raw, GB2312) whose subtitle it shows now.
    void onDialogueLine(std::string_view raw);
    // The overlay shows nothing: the game blanked the line.
    void onSubtitleBlanked() { show({}); }
    // A live line left by a run that ended while it showed a line is emptied too.
    void onOverlayOpened();
    // The live line is emptied, and a line still waiting for the clipboard is given up: the
    // player may copy something of their own once the subtitles are gone.
    void onOverlayClosed();
    // The switch 记录对白 changed: the live line catches up with the overlay at once, or is
    // emptied when the switch went off.
    void onHistorySwitched();
    // Every poll tick: what the files or the clipboard refused is tried again.
    void onTick();
    // The tool is ending: the log lines still waiting get a last chance.
    void onToolClosing() { appendWaitingLines(); }
    // Opens the story log with the user's program for text files, or says there is none yet.
    void openLog();
    // Told each new line and each change of the shown subtitle, in the order added; none by
    // default.
    void addListener(DialogueListener& listener) { listeners_.push_back(&listener); }

    // What the edit box shows for a raw line: the line, and under it the notice of a file that
    // refuses, for as long as it refuses.
    std::string editBoxText(const std::string& raw) const;

private:
    std::filesystem::path beside(const char8_t* name) const;
    void show(std::string subtitle);
    // Brings the live line file to what it should hold now; false when the file refused.
    bool syncLive();
    void queueForLog(const std::string& line);
    void appendWaitingLines();
    void putOnClipboard();
    void reportFailure(std::string_view fileName);
    std::string noticeText() const;

    AppState& state_;
    PanelPort& panel_;
    ShellPort& shell_;
    FileStorePort& files_;
    ClipboardPort& clipboard_;
    const ClockPort& clock_;
    const CharacterDecoderPort& decoder_;

    std::string lastLine_;                 // the speaker's line last taken, GB2312
    std::string shown_;                    // the subtitle the overlay shows now, GB2312
    std::optional<std::string> liveFile_;  // what the live line file holds, when known
    std::deque<std::string> waitingLog_;   // whole log lines, UTF-8, that the file refused
    std::size_t droppedLogLines_ = 0;      // lines past MAX_WAITING_LOG_LINES
    std::optional<std::u16string> toClip_; // a line the clipboard has not taken yet
    int clipRetries_ = 0;
    bool failureReported_ = false;
    std::string notice_; // the edit box's notice of a file that refuses, GB2312
    std::vector<DialogueListener*> listeners_;
};

} // namespace pal4
