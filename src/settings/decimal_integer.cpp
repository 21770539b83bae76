#include "settings/decimal_integer.hpp"

#include <limits>

namespace pal4 {

namespace {
bool isLeadingBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}
} // namespace

std::int32_t textToInt32(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size() && isLeadingBlank(text[pos])) {
        ++pos;
    }
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    // Accumulates the magnitude in 64 bits and stops growing once it is past any 32-bit value,
    // so arbitrarily long digit runs cannot overflow.
    constexpr std::int64_t cap = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    std::int64_t magnitude = 0;
    for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos) {
        if (magnitude < cap) {
            magnitude = magnitude * 10 + (text[pos] - '0');
        }
    }
    if (negative) {
        return magnitude >= cap ? std::numeric_limits<std::int32_t>::min()
                                : static_cast<std::int32_t>(-magnitude);
    }
    return magnitude >= cap ? std::numeric_limits<std::int32_t>::max()
                            : static_cast<std::int32_t>(magnitude);
}

std::string int32ToText(std::int32_t value) {
    return std::to_string(value);
}

} // namespace pal4
