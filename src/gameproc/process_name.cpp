#include "gameproc/process_name.hpp"

#include <algorithm>

namespace pal4 {

namespace {

// Not std::tolower: its result depends on the C locale, and a locale that treats a lead byte of
// a GB2312 character as a letter would fold it.
char foldAsciiLetter(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

bool processNamesMatch(std::string_view searched, std::string_view listed) {
    return searched.size() == listed.size() &&
           std::equal(searched.begin(), searched.end(), listed.begin(),
                      [](char a, char b) { return foldAsciiLetter(a) == foldAsciiLetter(b); });
}

} // namespace pal4
