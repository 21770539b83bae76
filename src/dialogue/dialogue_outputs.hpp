#pragma once

#include "core/app_state.hpp"
#include "dialogue/dialogue_listener.hpp"
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

namespace pal4 {

// Where the subtitle goes besides the overlay. While the switch 记录对白 is on: every new line
// appended to the story log beside the exe, and the text the overlay shows now kept in the
// live line file for streaming software. With the settings' clipboard switch: every new line
// on the clipboard for reading aids. A file or a clipboard that refuses never stops the
// subtitles; a file that refuses is named in the edit box once per opening of the overlay.
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
    void onSubtitleBlanked() { showLive({}); }
    // A live line left by a run that ended while it showed a line is emptied too; a file that
    // refuses is named with the first line, which the edit box then keeps.
    void onOverlayOpened();
    void onOverlayClosed() { showLive({}); }
    // The switch 记录对白 changed: the live line catches up with the overlay at once.
    void onHistorySwitched();
    // Every poll tick: a line the clipboard refused is tried again.
    void onTick();
    // Opens the story log with the user's program for text files, or says there is none yet.
    void openLog();
    // Told each new line and each change of the shown subtitle; none by default.
    void setListener(DialogueListener* listener) { listener_ = listener; }

private:
    std::filesystem::path beside(const char8_t* name) const;
    void showLive(std::string subtitle);
    // False when the live line file refused the text.
    bool writeLive(std::string subtitle);
    void appendToLog(const std::string& line);
    void putOnClipboard();
    void reportFailure(std::string_view fileName);

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
    std::optional<std::u16string> toClip_; // a line the clipboard has not taken yet
    int clipRetries_ = 0;
    bool failureReported_ = false;
    DialogueListener* listener_ = nullptr;
};

} // namespace pal4
