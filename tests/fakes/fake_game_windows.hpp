#pragma once

#include "ports/game_window_port.hpp"

namespace pal4::testing {

// The game's main window in memory, as the test opens, moves or makes it anew; every other
// window of the desktop is one foreground and top window that is not the game's. A game without
// a window (the default) has none.
class FakeGameWindows final : public GameWindowPort {
public:
    static constexpr WindowId OTHER_WINDOW = 1;
    // Where the system parks a minimised window.
    static constexpr WindowPlace PARKED{-32000, -32000, 160, 24};

    WindowId findMainWindow(ProcessId) override {
        ++looks_;
        return show_ == WindowShow::Shown || show_ == WindowShow::Minimised ? window_ : 0;
    }
    std::optional<WindowPlace> placeOf(WindowId window) override {
        ++looks_;
        if (window != 0 && window == hidden_) {
            return hiddenPlace_;
        }
        if (window == 0 || window != window_ || show_ == WindowShow::Gone) {
            return std::nullopt;
        }
        return show_ == WindowShow::Minimised ? PARKED : place_;
    }
    WindowShow showOf(WindowId window) override {
        ++looks_;
        if (window != 0 && window == hidden_) {
            return WindowShow::Hidden;
        }
        return window != 0 && window == window_ ? show_ : WindowShow::Gone;
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

    // What the game and the player do.
    void open(WindowPlace place) {
        window_ += 100;
        place_ = place;
        show_ = WindowShow::Shown;
        foreground_ = top_ = window_;
    }
    void hide() { show_ = WindowShow::Hidden; }
    // A new window shown while the one there now stays, hidden.
    void showAnother(WindowPlace place) {
        hidden_ = window_;
        hiddenPlace_ = place_;
        open(place);
    }
    void moveTo(std::int32_t left, std::int32_t top) {
        place_.left = left;
        place_.top = top;
    }

    WindowId window() const { return show_ == WindowShow::Gone ? 0 : window_; }
    bool watching() const { return watching_; }
    // Queries so far: under Wine each is a round trip to its server.
    int looks() const { return looks_; }

private:
    WindowId window_ = 1000;
    WindowPlace place_{};
    WindowShow show_ = WindowShow::Gone;
    WindowId hidden_ = 0;
    WindowPlace hiddenPlace_{};
    WindowId foreground_ = OTHER_WINDOW;
    WindowId top_ = OTHER_WINDOW;
    bool watching_ = false;
    int looks_ = 0;
};

} // namespace pal4::testing
