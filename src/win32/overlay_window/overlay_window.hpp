#pragma once

#include "overlay/overlay_constants.hpp"
#include "ports/overlay_port.hpp"
#include "win32/overlay_window/pixel_buffer.hpp"
#include "win32/overlay_window/subtitle_label.hpp"
#include "win32/platform/base_window.hpp"

#include <windows.h>

#include <string>

namespace pal4::win32 {

// The subtitle overlay: a borderless, topmost tool window (no taskbar button) whose whole area
// is the subtitle label 透明标签1. Its creation, moves, timer ticks and destruction become the
// named calls of the bound OverlayEvents; creation and destruction run inside create() and
// destroy(), and a move only when the position really changed, whoever moved it (the program or
// the user dragging the subtitle by its text).
//
// The label (subtitle_label.hpp) draws its lines over the colour-key background into a memory
// DC, and the window puts them on screen with one blit.
class OverlayWindow final : public OverlayPort, public BaseWindow<OverlayWindow, OverlayEvents> {
public:
    static constexpr const wchar_t* CLASS_NAME = L"Pal4SubtitlesOverlay";
    // The id of the poll timer 时钟1, the window's only timer.
    static constexpr UINT_PTR POLL_TIMER_ID = 1;

    // The window has no owner: an owned window would be destroyed by Windows before its owner's
    // destruction handler runs, and the control panel's closing must run first and close the
    // overlay itself.
    explicit OverlayWindow(HINSTANCE instance);
    ~OverlayWindow() override;
    OverlayWindow(const OverlayWindow&) = delete;
    OverlayWindow& operator=(const OverlayWindow&) = delete;

    // Draws the label as the window shows it, into any DC of at least `size`: the background in
    // the colour key, then the shadow and the glyphs. The window's own painting goes through it.
    void paintLabel(HDC dc, SIZE size) { label_.paint(dc, size, dpi_); }

    // OverlayPort
    bool create() override;
    void destroy() override;
    void makeColorKeyed(ColorRef key) override;
    std::int32_t windowLeft() const override;
    std::int32_t windowTop() const override;
    void setWindowSize(std::int32_t width, std::int32_t height) override;
    void setWindowPosition(std::int32_t left, std::int32_t top) override;
    void setWindowBounds(std::int32_t left, std::int32_t top, std::int32_t width,
                         std::int32_t height) override;
    void setShown(bool shown) override;
    void keepAbove() override;
    void setClickThrough(bool clickThrough) override;
    void setTimerInterval(std::uint32_t milliseconds) override;
    void setLabelText(const std::string& text) override;
    void setLabelFontFace(const std::string& face) override;
    void setLabelFontSize(std::int32_t size) override;
    void setLabelTextColor(ColorRef color) override;
    void setLabelBold(bool bold) override;
    void setLabelItalic(bool italic) override;
    void setLabelShadow(bool shadowed) override;
    void setLabelOutline(bool outlined) override;
    void setLabelAlignment(TextAlignment alignment) override;
    void setLabelSize(std::int32_t width, std::int32_t height) override;

private:
    friend class BaseWindow<OverlayWindow, OverlayEvents>;
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // Messages, decoded.
    void onCreate();
    void onDestroy();
    void onPositionChanged(const WINDOWPOS& position);
    void onPollTimerElapsed();
    void onEscapePressed();
    void onWheel(int delta);
    LRESULT onHitTest(POINT screenPoint);
    void onPaint();
    void onPrintClient(HDC dc);
    void onDpiChanged();

    void placeWindow(int left, int top, int width, int height, UINT flags);
    void redrawIf(bool changed);
    void fontChanged();

    // The position last reported, so a move event is raised only for a real change.
    POINT position_{OVERLAY_DESIGN_LEFT, OVERLAY_DESIGN_TOP};
    // Whether the window is to be seen: hidden while the game's window is.
    bool shown_ = true;
    bool clickThrough_ = false;
    int wheelDelta_ = 0; // of a notch not yet stepped
    SubtitleLabel label_;
    // The picture each paint draws the label into before one blit to the screen, kept while
    // the window's size stays.
    PixelBuffer backBuffer_;
};

} // namespace pal4::win32
