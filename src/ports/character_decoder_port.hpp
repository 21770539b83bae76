#pragma once

#include <optional>
#include <string_view>

namespace pal4 {

// What one character of code page 936 text stands for in Unicode. The system's own table
// decides, so the tool agrees with what the panel's controls show for the same bytes.
class CharacterDecoderPort {
public:
    CharacterDecoderPort() = default;
    CharacterDecoderPort(const CharacterDecoderPort&) = delete;
    CharacterDecoderPort& operator=(const CharacterDecoderPort&) = delete;
    virtual ~CharacterDecoderPort() = default;

    // The code point of one character of one or two bytes; nothing when the bytes are no
    // character of the code page.
    virtual std::optional<char32_t> decode(std::string_view character) const = 0;
};

} // namespace pal4
