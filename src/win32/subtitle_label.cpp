#include "win32/subtitle_label.hpp"

#include "overlay/line_layout.hpp"
#include "overlay/overlay_constants.hpp"
#include "win32/dc_scopes.hpp"
#include "win32/gb2312.hpp"

#include <algorithm>
#include <vector>

namespace pal4::win32 {

namespace {

constexpr int POINTS_PER_INCH = 72;

std::int32_t widthOf(HDC dc, const std::wstring& text) {
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
}

// A laid-out line in UTF-16, where it starts.
struct PlacedLine {
    std::wstring text;
    int left;
    int top;
};

} // namespace

int SubtitleLabel::shadowOffset(int characterHeight) {
    return std::max(MIN_SHADOW_OFFSET, characterHeight / 16);
}

bool SubtitleLabel::covers(POINT clientPoint) const {
    const RECT label{0, 0, width_, height_};
    return PtInRect(&label, clientPoint) != FALSE;
}

void SubtitleLabel::paint(HDC dc, SIZE size, unsigned dpi) {
    const RECT all{0, 0, size.cx, size.cy};
    const UniqueBrushHandle background(CreateSolidBrush(OVERLAY_COLOR_KEY));
    FillRect(dc, &all, background.get());
    if (width_ <= 0 || height_ <= 0) {
        return;
    }

    const SavedDcState saved(dc);
    // The label clips its own text: the last line is cut at its bottom edge.
    IntersectClipRect(dc, 0, 0, width_, height_);
    {
        const SelectedObject selectedFont(dc, font(dpi));
        SetBkMode(dc, TRANSPARENT);
        SetTextAlign(dc, TA_LEFT | TA_TOP | TA_NOUPDATECP);
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc, &metrics);

        const TextMeasure measure = [dc](std::string_view run) {
            return widthOf(dc, widenGb2312(run));
        };
        const LineBox box{width_, height_, metrics.tmHeight};
        std::vector<PlacedLine> lines;
        int top = 0;
        for (const std::string_view line : layoutLines(text_, box, measure)) {
            std::wstring text = widenGb2312(line);
            const int left = lineLeft(alignment_, width_, widthOf(dc, text));
            lines.push_back({std::move(text), left, top});
            top += metrics.tmHeight;
        }

        const auto drawAll = [&](int offset, COLORREF color) {
            SetTextColor(dc, color);
            for (const PlacedLine& line : lines) {
                ExtTextOutW(dc, line.left + offset, line.top + offset, 0, nullptr,
                            line.text.c_str(), static_cast<UINT>(line.text.size()), nullptr);
            }
        };
        if (shadowed_) {
            drawAll(shadowOffset(metrics.tmHeight), SHADOW_COLOR);
        }
        drawAll(0, textColor_);
    }
}

HFONT SubtitleLabel::font(unsigned dpi) {
    if (!font_) {
        LOGFONTW font{};
        font.lfHeight = -MulDiv(fontSize_, static_cast<int>(dpi), POINTS_PER_INCH);
        font.lfWeight = bold_ ? FW_BOLD : FW_NORMAL;
        font.lfItalic = italic_ ? TRUE : FALSE;
        font.lfUnderline = FALSE;
        font.lfStrikeOut = FALSE;
        font.lfCharSet = GB2312_CHARSET;
        // Antialiased edges would blend with the colour key into dark fringes that are not
        // see-through; whole pixels are either glyph or background.
        font.lfQuality = NONANTIALIASED_QUALITY;
        const std::wstring face = widenGb2312(fontFace_);
        face.copy(font.lfFaceName, LF_FACESIZE - 1);
        font_.reset(CreateFontIndirectW(&font));
    }
    return font_.get();
}

void SubtitleLabel::setFontFace(const std::string& face) {
    fontFace_ = face;
    dropFont();
}

void SubtitleLabel::setFontSize(std::int32_t size) {
    fontSize_ = size;
    dropFont();
}

void SubtitleLabel::setBold(bool bold) {
    bold_ = bold;
    dropFont();
}

void SubtitleLabel::setItalic(bool italic) {
    italic_ = italic;
    dropFont();
}

void SubtitleLabel::setSize(std::int32_t width, std::int32_t height) {
    width_ = width;
    height_ = height;
}

} // namespace pal4::win32
