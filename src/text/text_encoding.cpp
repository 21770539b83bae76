#include "text/text_encoding.hpp"

#include "core/gb2312_bytes.hpp"

namespace pal4 {

std::u32string decodeGb2312(std::string_view text, const CharacterDecoderPort& decoder) {
    std::u32string decoded;
    decoded.reserve(text.size());
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t next = nextWellFormedCharacter(text, at);
        const auto byte = static_cast<unsigned char>(text[at]);
        if (byte < 0x80) {
            decoded.push_back(byte); // ASCII is the same in both, and most of a line's markup
        } else {
            decoded.push_back(
                decoder.decode(text.substr(at, next - at)).value_or(REPLACEMENT_CHARACTER));
        }
        at = next;
    }
    return decoded;
}

std::string encodeUtf8(std::u32string_view text) {
    std::string bytes;
    bytes.reserve(text.size() * 3);
    const auto put = [&bytes](char32_t bits) { bytes.push_back(static_cast<char>(bits)); };
    for (char32_t c : text) {
        if (c < 0x80) {
            put(c);
        } else if (c < 0x800) {
            put(0xC0 | (c >> 6));
            put(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            put(0xE0 | (c >> 12));
            put(0x80 | ((c >> 6) & 0x3F));
            put(0x80 | (c & 0x3F));
        } else {
            put(0xF0 | (c >> 18));
            put(0x80 | ((c >> 12) & 0x3F));
            put(0x80 | ((c >> 6) & 0x3F));
            put(0x80 | (c & 0x3F));
        }
    }
    return bytes;
}

std::u16string encodeUtf16(std::u32string_view text) {
    std::u16string units;
    units.reserve(text.size());
    for (char32_t c : text) {
        if (c < 0x10000) {
            units.push_back(static_cast<char16_t>(c));
        } else {
            const char32_t above = c - 0x10000;
            units.push_back(static_cast<char16_t>(0xD800 + (above >> 10)));
            units.push_back(static_cast<char16_t>(0xDC00 + (above & 0x3FF)));
        }
    }
    return units;
}

std::string gameTextToUtf8(std::string_view text, const CharacterDecoderPort& decoder) {
    return encodeUtf8(decodeGb2312(text, decoder));
}

std::u16string gameTextToUtf16(std::string_view text, const CharacterDecoderPort& decoder) {
    return encodeUtf16(decodeGb2312(text, decoder));
}

} // namespace pal4
