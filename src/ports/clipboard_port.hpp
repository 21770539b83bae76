#pragma once

#include <string>

namespace pal4 {

// The system's clipboard, as a reading aid that watches it sees it.
class ClipboardPort {
public:
    ClipboardPort() = default;
    ClipboardPort(const ClipboardPort&) = delete;
    ClipboardPort& operator=(const ClipboardPort&) = delete;
    virtual ~ClipboardPort() = default;

    // Replaces the clipboard's content with the text as Unicode text. False when another
    // program holds the clipboard open; the call never waits for it.
    virtual bool putText(const std::u16string& text) = 0;
};

} // namespace pal4
