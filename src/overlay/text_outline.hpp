#pragma once

#include "core/game_address.hpp"

#include <cstdint>
#include <vector>

namespace pal4 {

// The ring drawn around every glyph when the outline is on, so the subtitle stays legible over
// any scene: the text colour meets only the ring, and the ring's colour is chosen against the
// text colour, never against the scene.

inline constexpr ColorRef OUTLINE_BLACK = 0x000000;
inline constexpr ColorRef OUTLINE_WHITE = 0xFFFFFF;
// The outline grows with the font, like the shadow; below this it would break up at small
// sizes.
inline constexpr int MIN_OUTLINE_WIDTH = 2;

// WCAG's relative luminance of a COLORREF (0 for black, 1 for white) and the contrast ratio of
// two colours (1 to 21).
double relativeLuminance(ColorRef color);
double contrastRatio(ColorRef first, ColorRef second);

// Black or white, whichever contrasts more with the text: at least 4.5:1 for every colour.
ColorRef outlineColorFor(ColorRef textColor);

// The ring's width in pixels for a font of this character height: a sixteenth of it, at least
// MIN_OUTLINE_WIDTH.
int outlineWidth(int characterHeight);

// What the outlined label is made of, besides the glyphs' coverage.
struct OutlineStyle {
    ColorRef textColor = 0;
    ColorRef outlineColor = 0;
    int width = MIN_OUTLINE_WIDTH;
    bool shadowed = false;
    int shadowOffset = 0;
    ColorRef shadowColor = 0;
    ColorRef keyColor = 0; // the see-through background
};

// A picture of `width` x `height` pixels, row by row from the top, each 0x00RRGGBB as a 32-bit
// DIB stores them.
struct LabelPixels {
    std::uint32_t* pixels = nullptr;
    int width = 0;
    int height = 0;
};

// The bit rows the composition works in. The caller keeps them between paints, so a paint of
// the same size allocates nothing; what they hold between calls never matters.
struct OutlineWorkspace {
    std::vector<std::uint32_t> widened;
    std::vector<std::uint32_t> solid;
};

// `label` holds the glyphs drawn antialiased in white on black, so each pixel's brightness is
// how much of it they cover; this turns it, in place, into the outlined label:
// - a pixel the glyphs touch blends the text colour over the outline colour by its coverage, so
//   glyph edges are smooth between two opaque colours;
// - every other pixel within `width` of a glyph pixel (a disc, so corners stay round) is the
//   outline colour: the ring is whole-pixel, and only its outer edge meets the key;
// - with the shadow on, the glyphs and the ring together, moved down and right by the offset,
//   show in the shadow colour where nothing else is drawn;
// - everything else is the key.
// No pixel ever blends with the key. Only the glyphs' bounding box and its margin cost more than
// a fill.
void composeOutlinedLabel(LabelPixels label, const OutlineStyle& style,
                          OutlineWorkspace& workspace);

} // namespace pal4
