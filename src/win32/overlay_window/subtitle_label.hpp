#pragma once

#include "overlay/overlay_constants.hpp"
#include "overlay/text_outline.hpp"
#include "ports/overlay_port.hpp"
#include "win32/overlay_window/pixel_buffer.hpp"
#include "win32/platform/unique_handle.hpp"

#include <windows.h>

#include <string>
#include <vector>

namespace pal4::win32 {

// The subtitle label 透明标签1: what it shows and how it draws itself. It knows nothing of the
// window around it; the overlay forwards the port's label calls here and redraws.
//
// Its font size is in typographic points at the window's DPI, the unit of every Windows font
// chooser: 20 points are 27 pixels of character height at 96 DPI.
class SubtitleLabel {
public:
    // The shadow's rule is overlay/overlay_constants.hpp's, which the web page follows too.
    static constexpr COLORREF SHADOW_COLOR = pal4::SHADOW_COLOR;

    SubtitleLabel(std::int32_t width, std::int32_t height) : width_(width), height_(height) {}

    // The shadow's offset in pixels for a font of this character height.
    static int shadowOffset(int characterHeight);

    // Draws the label into any DC of at least `size`: the background in the colour key, then
    // the shadow and the glyphs, with the font made for `dpi`. With the outline on, the glyphs
    // are antialiased inside a whole-pixel ring (overlay/text_outline.hpp), set in from the
    // label's left and top edges by the ring's width so the ring is whole there too.
    void paint(HDC dc, SIZE size, unsigned dpi);

    // Whether a point of the client area lies on the label.
    bool covers(POINT clientPoint) const;

    // The font is made again on the next paint, e.g. for a new DPI.
    void dropFont() { font_.reset(); }

    // Each setter says whether the label changed: a value it already has needs no paint.
    bool setText(const std::string& text);
    bool setFontFace(const std::string& face);
    bool setFontSize(std::int32_t size);
    bool setTextColor(ColorRef color);
    bool setBold(bool bold);
    bool setItalic(bool italic);
    bool setShadow(bool shadowed);
    bool setOutline(bool outlined);
    bool setAlignment(TextAlignment alignment);
    bool setSize(std::int32_t width, std::int32_t height);

private:
    // A laid-out line in UTF-16, where it starts.
    struct PlacedLine {
        std::wstring text;
        int left;
        int top;
    };

    HFONT font(unsigned dpi);
    // Sets a property the font is made from; a change drops the font.
    template <typename Value> bool changeFont(Value& property, const Value& value);
    // The text's lines in the font selected into `dc`, within `width` x `height` from `origin`.
    std::vector<PlacedLine> placeLines(HDC dc, POINT origin, int width, int height,
                                       int lineHeight) const;
    void paintOutlined(HDC dc, SIZE size, unsigned dpi);

    // GB2312, as the layout breaks it on GB2312 characters.
    std::string text_ = " ";
    std::string fontFace_;
    std::int32_t fontSize_ = 20;
    bool bold_ = false;
    bool italic_ = false;
    ColorRef textColor_ = RGB(255, 255, 255);
    bool shadowed_ = false;
    bool outlined_ = false;
    TextAlignment alignment_ = TextAlignment::Left;
    std::int32_t width_;
    std::int32_t height_;
    UniqueFontHandle font_; // made from the fields above on first use after a change
    // The outlined label's picture and working rows, kept between paints.
    PixelBuffer outlineBuffer_;
    OutlineWorkspace outlineWorkspace_;
};

} // namespace pal4::win32
