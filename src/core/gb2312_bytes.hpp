#pragma once

#include <cstddef>
#include <string_view>

namespace pal4 {

// How the bytes of code page 936 text (GB2312 and its GBK superset) make up characters. Every
// text of the tool is held in these bytes, so this is the only place that knows them.

// A byte that starts a two-byte character.
constexpr bool isLeadByte(char byte) {
    const auto value = static_cast<unsigned char>(byte);
    return value >= 0x81 && value <= 0xFE;
}

// A byte that may end a two-byte character: 0x40 to 0xFE except 0x7F in code page 936;
// GB2312's own characters use only 0xA1 to 0xFE.
constexpr bool isTrailByte(char byte) {
    const auto value = static_cast<unsigned char>(byte);
    return value >= 0x40 && value <= 0xFE && value != 0x7F;
}

// Where the character that starts at `at` ends, the way Windows' ANSI string functions step:
// a lead byte takes the byte after it, whatever that byte is; a lead byte at the very end
// stands alone. Never beyond text.size().
constexpr std::size_t nextCharacter(std::string_view text, std::size_t at) {
    return (isLeadByte(text[at]) && at + 1 < text.size()) ? at + 2 : at + 1;
}

// As nextCharacter, but a lead byte takes the next byte only when that byte can be a trail
// byte: broken text still advances, and a line break after a stray lead byte is never
// swallowed.
constexpr std::size_t nextWellFormedCharacter(std::string_view text, std::size_t at) {
    return (isLeadByte(text[at]) && at + 1 < text.size() && isTrailByte(text[at + 1])) ? at + 2
                                                                                       : at + 1;
}

} // namespace pal4
