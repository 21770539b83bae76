#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace pal4 {

// Converts a settings value to a number. Total: every text gives a number, none is an error.
// Leading blanks (space, tab, CR, LF, VT, FF) are skipped, then an optional '+' or '-', then the
// decimal digits up to the first other byte. Text without digits gives 0 ("", "abc", "0x1F",
// "-"); a value beyond the 32-bit range saturates at INT32_MIN or INT32_MAX however many
// digits follow.
std::int32_t textToInt32(std::string_view text);

// The decimal text of a number: a leading '-' when negative, no '+', no leading zeros.
std::string int32ToText(std::int32_t value);

} // namespace pal4
