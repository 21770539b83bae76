#pragma once

#include <string_view>

namespace pal4 {

// Executable names are compared whole, with only the ASCII letters A-Z folded to lower case:
// the bytes of double-byte characters, digits and punctuation must be identical.
bool processNamesMatch(std::string_view searched, std::string_view listed);

} // namespace pal4
