#include "overlay/text_outline.hpp"

#include <algorithm>
#include <cmath>

namespace pal4 {

namespace {

double channelLuminance(int channel) {
    const double value = channel / 255.0;
    return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
}

int red(ColorRef color) {
    return static_cast<int>(color & 0xFF);
}
int green(ColorRef color) {
    return static_cast<int>((color >> 8) & 0xFF);
}
int blue(ColorRef color) {
    return static_cast<int>((color >> 16) & 0xFF);
}

// Where pixel (x, y) of a picture `stride` pixels wide lies in its row-by-row array.
std::size_t cell(int x, int y, int stride) {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(stride) +
           static_cast<std::size_t>(x);
}

std::size_t areaOf(int width, int height) {
    return static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
}

// A COLORREF (0x00BBGGRR) as a 32-bit DIB pixel (0x00RRGGBB).
std::uint32_t pixelOf(ColorRef color) {
    return static_cast<std::uint32_t>(red(color)) << 16 |
           static_cast<std::uint32_t>(green(color)) << 8 | static_cast<std::uint32_t>(blue(color));
}

// `over` laid over `under` with `coverage` of 255, rounded to the nearest value.
std::uint32_t blendPixel(ColorRef over, ColorRef under, int coverage) {
    const auto mix = [coverage](int top, int bottom) {
        return static_cast<std::uint32_t>(
            bottom + ((top - bottom) * coverage + (top > bottom ? 127 : -127)) / 255);
    };
    return mix(red(over), red(under)) << 16 | mix(green(over), green(under)) << 8 |
           mix(blue(over), blue(under));
}

// A rectangle of pixels, inclusive; empty when right < left.
struct Box {
    int left = 0;
    int top = 0;
    int right = -1;
    int bottom = -1;
    bool empty() const { return right < left; }
};

// How much of a pixel of the white-on-black picture the glyphs cover.
std::uint8_t coverageOf(std::uint32_t pixel) {
    return static_cast<std::uint8_t>(
        std::max({pixel & 0xFF, (pixel >> 8) & 0xFF, (pixel >> 16) & 0xFF}));
}

Box glyphBox(const LabelPixels& label) {
    Box box{label.width, label.height, -1, -1};
    for (int y = 0; y < label.height; ++y) {
        const std::uint32_t* row = label.pixels + cell(0, y, label.width);
        int first = 0;
        while (first < label.width && (row[first] & 0xFFFFFF) == 0) {
            ++first;
        }
        if (first == label.width) {
            continue;
        }
        int last = label.width - 1;
        while ((row[last] & 0xFFFFFF) == 0) {
            --last;
        }
        box.left = std::min(box.left, first);
        box.right = std::max(box.right, last);
        box.top = std::min(box.top, y);
        box.bottom = y;
    }
    return box;
}

} // namespace

double relativeLuminance(ColorRef color) {
    return 0.2126 * channelLuminance(red(color)) + 0.7152 * channelLuminance(green(color)) +
           0.0722 * channelLuminance(blue(color));
}

double contrastRatio(ColorRef first, ColorRef second) {
    const double a = relativeLuminance(first);
    const double b = relativeLuminance(second);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

ColorRef outlineColorFor(ColorRef textColor) {
    return contrastRatio(textColor, OUTLINE_BLACK) >= contrastRatio(textColor, OUTLINE_WHITE)
               ? OUTLINE_BLACK
               : OUTLINE_WHITE;
}

int outlineWidth(int characterHeight) {
    return std::max(MIN_OUTLINE_WIDTH, characterHeight / 16);
}

void composeOutlinedLabel(LabelPixels label, const OutlineStyle& style,
                          OutlineWorkspace& workspace) {
    const int width = label.width;
    const int height = label.height;
    const std::uint32_t key = pixelOf(style.keyColor);
    const Box ink = glyphBox(label);
    if (ink.empty()) {
        std::fill(label.pixels, label.pixels + areaOf(width, height), key);
        return;
    }
    const int reach = std::max(0, style.width);
    // The ring can only lie within `reach` of the glyphs.
    const Box area{std::max(0, ink.left - reach), std::max(0, ink.top - reach),
                   std::min(width - 1, ink.right + reach),
                   std::min(height - 1, ink.bottom + reach)};
    const int columns = area.right - area.left + 1;
    const int rows = area.bottom - area.top + 1;
    const int glyphRows = ink.bottom - ink.top + 1;
    const auto words = static_cast<std::size_t>((columns + 31) / 32);

    // Rows as bits, 32 pixels a word, so the ring costs a few word operations per 32 pixels:
    // widened[c][row] holds every pixel within c of a glyph pixel in the same row.
    const auto rowOf = [&](std::vector<std::uint32_t>& bits, int c, int row) {
        return &bits[(static_cast<std::size_t>(c) * static_cast<std::size_t>(glyphRows) +
                      static_cast<std::size_t>(row)) *
                     words];
    };
    std::vector<std::uint32_t>& widened = workspace.widened;
    widened.assign(
        static_cast<std::size_t>(reach + 1) * static_cast<std::size_t>(glyphRows) * words, 0u);
    for (int row = 0; row < glyphRows; ++row) {
        const std::uint32_t* source = label.pixels + cell(area.left, ink.top + row, width);
        std::uint32_t* glyph = rowOf(widened, 0, row);
        for (int x = 0; x < columns; ++x) {
            if ((source[x] & 0xFFFFFF) != 0) {
                glyph[x / 32] |= 1u << (x % 32);
            }
        }
        for (int c = 1; c <= reach; ++c) {
            const std::uint32_t* in = rowOf(widened, c - 1, row);
            std::uint32_t* out = rowOf(widened, c, row);
            for (std::size_t w = 0; w < words; ++w) {
                const std::uint32_t right = in[w] << 1 | (w > 0 ? in[w - 1] >> 31 : 0);
                const std::uint32_t left = in[w] >> 1 | (w + 1 < words ? in[w + 1] << 31 : 0);
                out[w] = in[w] | left | right;
            }
        }
    }
    // The glyphs and their ring, every pixel within the disc of a glyph pixel: each row of the
    // disc is a glyph row widened by its half chord.
    std::vector<std::uint32_t>& solid = workspace.solid;
    solid.assign(static_cast<std::size_t>(rows) * words, 0u);
    for (int y = 0; y < rows; ++y) {
        std::uint32_t* mask = &solid[static_cast<std::size_t>(y) * words];
        const int absolute = y + area.top;
        for (int gy = std::max(ink.top, absolute - reach);
             gy <= std::min(ink.bottom, absolute + reach); ++gy) {
            const int dy = gy - absolute;
            const int chord = static_cast<int>(std::floor(std::sqrt(reach * reach - dy * dy)));
            const std::uint32_t* bits = rowOf(widened, chord, gy - ink.top);
            for (std::size_t w = 0; w < words; ++w) {
                mask[w] |= bits[w];
            }
        }
    }
    const auto solidAt = [&](int x, int y) {
        return x >= 0 && x < columns && y >= 0 && y < rows &&
               (solid[static_cast<std::size_t>(y) * words + static_cast<std::size_t>(x / 32)] >>
                    (x % 32) &
                1u) != 0;
    };

    const std::uint32_t ring = pixelOf(style.outlineColor);
    const std::uint32_t text = pixelOf(style.textColor);
    for (int y = 0; y < height; ++y) {
        std::uint32_t* row = label.pixels + cell(0, y, width);
        if (y < area.top || y > area.bottom) {
            std::fill(row, row + width, key);
            continue;
        }
        std::fill(row, row + area.left, key);
        std::fill(row + area.right + 1, row + width, key);
        std::uint32_t* out = row + area.left;
        const std::uint32_t* mask = &solid[static_cast<std::size_t>(y - area.top) * words];
        for (int x = 0; x < columns; ++x) {
            const std::uint32_t bits = mask[x / 32];
            if (bits == 0) { // nothing within reach of these 32 pixels
                const int end = std::min(columns, (x / 32 + 1) * 32);
                std::fill(out + x, out + end, key);
                x = end - 1;
                continue;
            }
            const std::uint32_t glyph = out[x] & 0xFFFFFF;
            if ((bits >> (x % 32) & 1u) == 0) {
                out[x] = key;
            } else if (glyph == 0) {
                out[x] = ring;
            } else if (glyph == 0xFFFFFF) {
                out[x] = text;
            } else {
                const std::uint32_t blend =
                    blendPixel(style.textColor, style.outlineColor, coverageOf(glyph));
                // A blend that happens to land on the key would be a hole in the glyph.
                out[x] = blend == key ? ring : blend;
            }
        }
    }
    if (style.shadowed && style.shadowOffset > 0) {
        const std::uint32_t shadow = pixelOf(style.shadowColor);
        const int offset = style.shadowOffset;
        for (int y = 0; y < rows && y + area.top + offset < height; ++y) {
            for (int x = 0; x < columns && x + area.left + offset < width; ++x) {
                if (solidAt(x, y) && !solidAt(x + offset, y + offset)) {
                    label.pixels[cell(x + area.left + offset, y + area.top + offset, width)] =
                        shadow;
                }
            }
        }
    }
}

} // namespace pal4
