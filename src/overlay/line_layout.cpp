#include "overlay/line_layout.hpp"

#include "core/gb2312_bytes.hpp"

#include <cstddef>

namespace pal4 {

namespace {

bool isLineBreak(char byte) {
    return byte == '\r' || byte == '\n';
}

// Byte offsets of every character boundary of a paragraph, 0 and its size included.
std::vector<std::size_t> characterBoundaries(std::string_view paragraph) {
    std::vector<std::size_t> boundaries{0};
    for (std::size_t at = 0; at < paragraph.size(); at = boundaries.back()) {
        boundaries.push_back(nextWellFormedCharacter(paragraph, at));
    }
    return boundaries;
}

// The boundary index where the line starting at boundary `first` ends: the most characters
// that fit the width, and at least one.
std::size_t lineEnd(std::string_view paragraph, const std::vector<std::size_t>& boundaries,
                    std::size_t first, std::int32_t width, const TextMeasure& measure) {
    const std::size_t last = boundaries.size() - 1;
    const auto fits = [&](std::size_t end) {
        const std::size_t from = boundaries[first];
        return measure(paragraph.substr(from, boundaries[end] - from)) <= width;
    };
    std::size_t good = first + 1;
    std::size_t bad = last + 1; // past every boundary: nothing known not to fit yet
    for (std::size_t step = 1; good < last; step *= 2) {
        const std::size_t candidate = good + step < last ? good + step : last;
        if (!fits(candidate)) {
            bad = candidate;
            break;
        }
        good = candidate;
    }
    while (bad <= last && bad - good > 1) {
        const std::size_t middle = good + (bad - good) / 2;
        if (fits(middle)) {
            good = middle;
        } else {
            bad = middle;
        }
    }
    return good;
}

} // namespace

std::vector<std::string_view> layoutLines(std::string_view text, const LineBox& box,
                                          const TextMeasure& measure) {
    std::vector<std::string_view> lines;
    if (box.width <= 0 || box.height <= 0 || box.lineHeight <= 0) {
        return lines;
    }
    // Rounded up: the last line may be cut by the bottom edge.
    const auto visibleLines =
        static_cast<std::size_t>(box.height / box.lineHeight + (box.height % box.lineHeight != 0));

    std::size_t start = 0;
    while (lines.size() < visibleLines) {
        std::size_t stop = start;
        while (stop < text.size() && !isLineBreak(text[stop])) {
            ++stop;
        }
        const std::string_view paragraph = text.substr(start, stop - start);
        if (paragraph.empty()) {
            lines.push_back(paragraph);
        } else {
            const std::vector<std::size_t> boundaries = characterBoundaries(paragraph);
            for (std::size_t first = 0;
                 first + 1 < boundaries.size() && lines.size() < visibleLines;) {
                const std::size_t end = lineEnd(paragraph, boundaries, first, box.width, measure);
                lines.push_back(
                    paragraph.substr(boundaries[first], boundaries[end] - boundaries[first]));
                first = end;
            }
        }
        if (stop == text.size()) {
            break;
        }
        start =
            stop + (text[stop] == '\r' && stop + 1 < text.size() && text[stop + 1] == '\n' ? 2 : 1);
    }
    return lines;
}

std::int32_t lineLeft(TextAlignment alignment, std::int32_t labelWidth, std::int32_t lineWidth) {
    if (alignment != TextAlignment::Centred) {
        return 0;
    }
    return (labelWidth - lineWidth) / 2;
}

} // namespace pal4
