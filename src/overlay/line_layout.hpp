#pragma once

#include "ports/overlay_port.hpp"

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

namespace pal4 {

// The pixel width of a run of GB2312 bytes, drawn in the label's current font. The run always
// starts and ends on a character boundary.
using TextMeasure = std::function<std::int32_t(std::string_view)>;

// The area the lines are laid out in, in pixels.
struct LineBox {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t lineHeight = 0;
};

// Breaks a GB2312 text into the lines a label of `box` shows, top to bottom.
//
// - A line takes as many characters as fit in the width; the break falls between two characters
//   (Chinese text has no spaces to break at) and never inside a two-byte character. A character
//   wider than the whole width still gets a line of its own, so the text always advances.
// - "\r\n", "\n" and a lone "\r" end a line; the break itself is not part of any line, and two
//   breaks in a row leave an empty line between them.
// - Every line whose top lies inside the height is returned, the last one possibly only partly
//   visible: the caller clips it at the bottom edge, so text that does not fit is visibly cut
//   there. The lines below are never measured, so a long text costs only what is shown.
// - A width, height or line height of 0 or less shows nothing: no lines.
//
// The lines are views into `text`. The measure is called O(log n) times per line: the end of
// a line is found by doubling the run and then halving the gap, which assumes that a longer run
// is never narrower than a shorter one.
std::vector<std::string_view> layoutLines(std::string_view text, const LineBox& box,
                                          const TextMeasure& measure);

// The left edge of a line `lineWidth` wide in a label `labelWidth` wide: 0 when left-aligned, the
// centring offset when centred (negative when the line is wider than the label, so its middle
// still stays in the middle).
std::int32_t lineLeft(TextAlignment alignment, std::int32_t labelWidth, std::int32_t lineWidth);

} // namespace pal4
