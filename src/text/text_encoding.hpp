#pragma once

#include "ports/character_decoder_port.hpp"

#include <string>
#include <string_view>

namespace pal4 {

// What a reader shows for bytes that stand for no character.
inline constexpr char32_t REPLACEMENT_CHARACTER = 0xFFFD;

// The characters of GB2312 (code page 936) text. A byte that starts no well-formed character,
// and a pair the code page does not define, each become one U+FFFD, so a broken buffer from
// the game still gives the whole line around the damage.
std::u32string decodeGb2312(std::string_view text, const CharacterDecoderPort& decoder);

std::string encodeUtf8(std::u32string_view text);
std::u16string encodeUtf16(std::u32string_view text);

// The game's bytes (GB2312) as every output takes them: files and the page in UTF-8, the
// clipboard and the windows in UTF-16, all decoded by the one rule above.
std::string gameTextToUtf8(std::string_view text, const CharacterDecoderPort& decoder);
std::u16string gameTextToUtf16(std::string_view text, const CharacterDecoderPort& decoder);

} // namespace pal4
