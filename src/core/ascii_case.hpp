#pragma once

#include <algorithm>
#include <string_view>

namespace pal4 {

// Case folding of the ASCII letters A-Z alone. Not std::tolower: its result depends on the C
// locale, and a locale that takes a lead byte of a GB2312 character for a letter would fold it.
constexpr char asciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Equal when only the case of ASCII letters differs; the bytes of double-byte characters,
// digits and punctuation must be identical.
constexpr bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return asciiLower(x) == asciiLower(y);
           });
}

// The text without the blanks (spaces and tabs) at either end.
constexpr std::string_view trimmedBlanks(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

} // namespace pal4
