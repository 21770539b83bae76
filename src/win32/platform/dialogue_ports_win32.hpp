#pragma once

#include "ports/character_decoder_port.hpp"
#include "ports/clipboard_port.hpp"
#include "ports/clock_port.hpp"

#include <windows.h>

namespace pal4::win32 {

// The clipboard through the W functions, opened on behalf of the panel's window.
class ClipboardWin32 final : public ClipboardPort {
public:
    void setOwner(HWND owner) { owner_ = owner; }
    // CF_UNICODETEXT; false when OpenClipboard fails (another program has it open) or the
    // text cannot be handed over.
    bool putText(const std::u16string& text) override;

private:
    HWND owner_ = nullptr;
};

class LocalClockWin32 final : public ClockPort {
public:
    LocalTime localTime() const override;
    void pause(unsigned milliseconds) const override;
    std::uint64_t milliseconds() const override { return GetTickCount64(); }
};

// One character at a time through MultiByteToWideChar(936) with MB_ERR_INVALID_CHARS, so an
// undefined pair is reported rather than guessed.
class CharacterDecoderWin32 final : public CharacterDecoderPort {
public:
    std::optional<char32_t> decode(std::string_view character) const override;
};

} // namespace pal4::win32
