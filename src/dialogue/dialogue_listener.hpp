#pragma once

#include <string_view>

namespace pal4 {

// Someone besides the files and the clipboard who follows the dialogue (the web feeds).
// Texts are GB2312.
class DialogueListener {
public:
    // A new speaker's line, "speaker：text" as the clipboard gets it; a line repeated after a
    // blank is not new.
    virtual void onNewLine(std::string_view line) = 0;
    // The subtitle the overlay shows now changed; empty while the game blanks it or the
    // overlay is closed.
    virtual void onShownSubtitle(std::string_view subtitle) = 0;

protected:
    ~DialogueListener() = default;
};

} // namespace pal4
