#pragma once

#include "core/app_state.hpp"
#include "dialogue/dialogue_listener.hpp"
#include "dialogue/story_log.hpp"
#include "ports/character_decoder_port.hpp"
#include "ports/clipboard_port.hpp"
#include "ports/clock_port.hpp"
#include "ports/file_store_port.hpp"
#include "ports/panel_port.hpp"
#include "ports/shell_port.hpp"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pal4 {

// Where the subtitle goes besides the overlay. While the switch 记录对白 is on: every new line
// appended to the story log beside the exe, and the text the overlay shows now kept in the
// live line file for streaming software. With the settings' clipboard switch: every new line
// on the clipboard for reading aids.
//
// A file or a clipboard that refuses never stops the subtitles. A log line the file refuses
// waits (StoryLog); a live line the file refuses is written again on the next ticks, the
// overlay open or not, and a few times more as the tool ends; a file that refuses is named in
// the edit box once per opening of the overlay, and the notice stays under each new line until
// the files have caught up. The live line is never left stale: whatever the switch, an
// existing file is emptied when the overlay opens or closes, when the game blanks the line and
// when the switch is turned off.
class DialogueOutputs {
public:
    DialogueOutputs(AppState& state, PanelPort& panel, ShellPort& shell, FileStorePort& files,
                    ClipboardPort& clipboard, const ClockPort& clock,
                    const CharacterDecoderPort& decoder)
        : state_(state), panel_(panel), shell_(shell), files_(files), clipboard_(clipboard),
          clock_(clock), decoder_(decoder), log_(files, shell, clock, decoder) {}

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
    // Every tick, the overlay open or not: what the files or the clipboard refused is tried
    // again.
    void onTick();
    // The tool starts: the log lines an earlier run left go in first. What the edit box says
    // of them, or nothing.
    std::string onToolStarted();
    // The tool is ending: the log lines still waiting get a last chance and are kept for the
    // next start; a live line the file refuses is tried a few times more.
    void onToolClosing();
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
    void catchUpLog();
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

    std::string lastLine_;                // the speaker's line last taken, GB2312
    std::string shown_;                   // the subtitle the overlay shows now, GB2312
    std::optional<std::string> liveFile_; // what the live line file holds, when known
    StoryLog log_;
    std::optional<std::u16string> toClip_; // a line the clipboard has not taken yet
    int clipRetries_ = 0;
    bool failureReported_ = false;
    std::string notice_; // the edit box's notice of a file that refuses, GB2312
    std::vector<DialogueListener*> listeners_;
};

} // namespace pal4
