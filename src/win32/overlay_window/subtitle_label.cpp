#include "win32/overlay_window/subtitle_label.hpp"

#include "overlay/line_layout.hpp"
#include "overlay/overlay_constants.hpp"
#include "overlay/text_outline.hpp"
#include "win32/platform/dc_scopes.hpp"
#include "win32/platform/gb2312.hpp"

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

} // namespace

int SubtitleLabel::shadowOffset(int characterHeight) {
    return shadowOffsetFor(characterHeight);
}

bool SubtitleLabel::covers(POINT clientPoint) const {
    const RECT label{0, 0, width_, height_};
    return PtInRect(&label, clientPoint) != FALSE;
}

std::vector<SubtitleLabel::PlacedLine> SubtitleLabel::placeLines(HDC dc, POINT origin, int width,
                                                                 int height, int lineHeight) const {
    const TextMeasure measure = [dc](std::string_view run) {
        return widthOf(dc, widenGb2312(run));
    };
    const LineBox box{width, height, lineHeight};
    std::vector<PlacedLine> lines;
    int top = origin.y;
    for (const std::string_view line : layoutLines(text_, box, measure)) {
        std::wstring text = widenGb2312(line);
        const int left = origin.x + lineLeft(alignment_, width, widthOf(dc, text));
        lines.push_back({std::move(text), left, top});
        top += lineHeight;
    }
    return lines;
}

void SubtitleLabel::paint(HDC dc, SIZE size, unsigned dpi) {
    const RECT all{0, 0, size.cx, size.cy};
    const UniqueBrushHandle background(CreateSolidBrush(OVERLAY_COLOR_KEY));
    FillRect(dc, &all, background.get());
    if (width_ <= 0 || height_ <= 0) {
        return;
    }
    if (outlined_) {
        paintOutlined(dc, size, dpi);
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
        const std::vector<PlacedLine> lines =
            placeLines(dc, {0, 0}, width_, height_, metrics.tmHeight);

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

void SubtitleLabel::paintOutlined(HDC dc, SIZE size, unsigned dpi) {
    const int width = std::min<int>(width_, size.cx);
    const int height = std::min<int>(height_, size.cy);
    if (width <= 0 || height <= 0 || !outlineBuffer_.fit({width, height})) {
        return;
    }
    const HDC memory = outlineBuffer_.dc();
    std::uint32_t* const pixels = outlineBuffer_.pixels();
    const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);

    // The glyphs in white on black: each pixel's brightness is how much of it they cover.
    std::fill(pixels, pixels + count, 0u);
    int characterHeight = 0;
    {
        const SavedDcState saved(memory);
        const SelectedObject selectedFont(memory, font(dpi));
        SetBkMode(memory, TRANSPARENT);
        SetTextAlign(memory, TA_LEFT | TA_TOP | TA_NOUPDATECP);
        SetTextColor(memory, RGB(255, 255, 255));
        TEXTMETRICW metrics{};
        GetTextMetricsW(memory, &metrics);
        characterHeight = metrics.tmHeight;
        const int inset = outlineWidth(characterHeight);
        for (const PlacedLine& line : placeLines(memory, {inset, inset}, width_ - 2 * inset,
                                                 height_ - inset, characterHeight)) {
            ExtTextOutW(memory, line.left, line.top, 0, nullptr, line.text.c_str(),
                        static_cast<UINT>(line.text.size()), nullptr);
        }
    }
    GdiFlush(); // the pixels are read directly next

    const OutlineStyle style{
        textColor_,       outlineColorFor(textColor_),   outlineWidth(characterHeight),
        shadowed_,        shadowOffset(characterHeight), SHADOW_COLOR,
        OVERLAY_COLOR_KEY};
    composeOutlinedLabel({pixels, width, height}, style, outlineWorkspace_);
    BitBlt(dc, 0, 0, width, height, memory, 0, 0, SRCCOPY);
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
        // Antialiased edges over the colour key would blend with it into dark fringes that are
        // not see-through; only inside the outline's opaque ring may the edges be smooth.
        font.lfQuality = outlined_ ? ANTIALIASED_QUALITY : NONANTIALIASED_QUALITY;
        const std::wstring face = widenGb2312(fontFace_);
        face.copy(font.lfFaceName, LF_FACESIZE - 1);
        font_.reset(CreateFontIndirectW(&font));
    }
    return font_.get();
}

namespace {

// Sets a property and tells whether it changed.
template <typename Value> bool change(Value& property, const Value& value) {
    if (property == value) {
        return false;
    }
    property = value;
    return true;
}

} // namespace

template <typename Value> bool SubtitleLabel::changeFont(Value& property, const Value& value) {
    const bool changed = change(property, value);
    if (changed) {
        dropFont();
    }
    return changed;
}

bool SubtitleLabel::setText(const std::string& text) {
    return change(text_, text);
}

bool SubtitleLabel::setTextColor(ColorRef color) {
    return change(textColor_, color);
}

bool SubtitleLabel::setShadow(bool shadowed) {
    return change(shadowed_, shadowed);
}

bool SubtitleLabel::setAlignment(TextAlignment alignment) {
    return change(alignment_, alignment);
}

bool SubtitleLabel::setFontFace(const std::string& face) {
    return changeFont(fontFace_, face);
}

bool SubtitleLabel::setFontSize(std::int32_t size) {
    return changeFont(fontSize_, size);
}

bool SubtitleLabel::setOutline(bool outlined) {
    return changeFont(outlined_, outlined);
}

bool SubtitleLabel::setBold(bool bold) {
    return changeFont(bold_, bold);
}

bool SubtitleLabel::setItalic(bool italic) {
    return changeFont(italic_, italic);
}

bool SubtitleLabel::setSize(std::int32_t width, std::int32_t height) {
    const bool wider = change(width_, width);
    return change(height_, height) || wider;
}

} // namespace pal4::win32
