#pragma once

#include "ports/full_screen_port.hpp"
#include "ports/game_window_port.hpp"

namespace pal4::testing {

// The game's main window in memory, as the test opens, moves or makes it anew; every other
// window of the desktop is one foreground and top window that is not the game's. A game without
// a window (the default) has none. A window opens with a caption and a frame (31 pixels above
// its client area, 8 on the other sides) on one 1920x1080 monitor; full screen changes its
// frame, and the black window is one place, shown or not.
class FakeGameWindows final : public GameWindowPort, public FullScreenPort {
public:
    static constexpr WindowId OTHER_WINDOW = 1;
    static constexpr ProcessId GAME_PROCESS = 4242;
    // Where the system parks a minimised window.
    static constexpr WindowPlace PARKED{-32000, -32000, 160, 24};
    static constexpr std::uint32_t FRAMED_STYLE = 0x14CF0000; // visible, clipped, overlapped
    static constexpr std::uint32_t FRAMED_EXSTYLE = 0x00000100;

    WindowId findMainWindow(ProcessId) override {
        ++looks_;
        return show_ == WindowShow::Shown || show_ == WindowShow::Minimised ? window_ : 0;
    }
    std::optional<WindowPlace> placeOf(WindowId window) override {
        ++looks_;
        if (window != 0 && window == hidden_) {
            return hiddenPlace_;
        }
        if (!exists(window)) {
            return std::nullopt;
        }
        return show_ == WindowShow::Minimised ? PARKED : frame_.place;
    }
    WindowShow showOf(WindowId window) override {
        ++looks_;
        if (window != 0 && window == hidden_) {
            return WindowShow::Hidden;
        }
        return window != 0 && window == window_ ? show_ : WindowShow::Gone;
    }
    std::optional<WindowPlace> clientOf(WindowId window) override {
        ++looks_;
        return exists(window) ? std::optional(client()) : std::nullopt;
    }
    WindowId foregroundWindow() override {
        ++looks_;
        return foreground_;
    }
    WindowId topWindow() override {
        ++looks_;
        return top_;
    }
    void watch(ProcessId) override { watching_ = true; }
    void stopWatching() override { watching_ = false; }

    // FullScreenPort
    std::optional<WindowFrame> frameOf(WindowId window) override {
        return exists(window) ? std::optional(frame_) : std::nullopt;
    }
    bool setFrame(WindowId window, const WindowFrame& frame) override {
        if (!exists(window)) {
            return false;
        }
        frame_ = frame;
        ++frameChanges_;
        return true;
    }
    ProcessId processOf(WindowId window) override { return exists(window) ? process_ : 0; }
    WindowPlace monitorOf(WindowId) override { return monitor_; }
    void showBackdrop(const WindowPlace& monitor, WindowId window) override {
        backdrop_ = monitor;
        backdropBelow_ = window;
    }
    void hideBackdrop() override { backdrop_.reset(); }
    void keepBackdropBelow() override {}
    void markFullScreen(WindowId, bool fullScreen) override { markedFullScreen_ = fullScreen; }

    // What the game and the player do.
    void open(WindowPlace place) {
        window_ += 100;
        frame_ = {FRAMED_STYLE, FRAMED_EXSTYLE, place};
        show_ = WindowShow::Shown;
        foreground_ = top_ = window_;
    }
    void hide() { show_ = WindowShow::Hidden; }
    // A new window shown while the one there now stays, hidden.
    void showAnother(WindowPlace place) {
        hidden_ = window_;
        hiddenPlace_ = frame_.place;
        open(place);
    }
    void moveTo(std::int32_t left, std::int32_t top) {
        frame_.place.left = left;
        frame_.place.top = top;
    }
    void resizeTo(std::int32_t width, std::int32_t height) {
        frame_.place.width = width;
        frame_.place.height = height;
    }
    void close() { show_ = WindowShow::Gone; }
    // Another program's window now has the handle the game's window had.
    void handOverTo(ProcessId process) { process_ = process; }
    void monitorIs(WindowPlace monitor) { monitor_ = monitor; }

    WindowId window() const { return show_ == WindowShow::Gone ? 0 : window_; }
    const WindowFrame& frame() const { return frame_; }
    WindowPlace client() const {
        const WindowPlace& place = frame_.place;
        if ((frame_.style & WINDOW_STYLE_FRAME) == 0) {
            return place;
        }
        return {place.left + 8, place.top + 31, place.width - 16, place.height - 39};
    }
    const std::optional<WindowPlace>& backdrop() const { return backdrop_; }
    WindowId backdropBelow() const { return backdropBelow_; }
    bool markedFullScreen() const { return markedFullScreen_; }
    int frameChanges() const { return frameChanges_; }
    bool watching() const { return watching_; }
    // Queries so far: under Wine each is a round trip to its server.
    int looks() const { return looks_; }

private:
    bool exists(WindowId window) const {
        return window != 0 && window == window_ && show_ != WindowShow::Gone;
    }

    WindowId window_ = 1000;
    WindowFrame frame_{};
    WindowShow show_ = WindowShow::Gone;
    WindowId hidden_ = 0;
    WindowPlace hiddenPlace_{};
    ProcessId process_ = GAME_PROCESS;
    WindowPlace monitor_{0, 0, 1920, 1080};
    std::optional<WindowPlace> backdrop_;
    WindowId backdropBelow_ = 0;
    bool markedFullScreen_ = false;
    int frameChanges_ = 0;
    WindowId foreground_ = OTHER_WINDOW;
    WindowId top_ = OTHER_WINDOW;
    bool watching_ = false;
    int looks_ = 0;
};

} // namespace pal4::testing
