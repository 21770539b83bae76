#pragma once

#include "win32/platform/base_window.hpp"

#include <windows.h>

namespace pal4::win32 {

// The black window that covers a monitor around a full-screen picture: a tool window (in
// neither the taskbar nor Alt+Tab) that is never activated. A click on it hands the keyboard
// back to the window it stands below, as if the click had landed on the picture's bars.
class BackdropWindow final {
public:
    static constexpr const wchar_t* CLASS_NAME = L"Pal4SubtitlesBackdrop";
    struct NoEvents {};

    explicit BackdropWindow(HINSTANCE instance) : frame_(instance) {}

    // Covers `monitor` directly below `above` in the z-order, without activating anything; the
    // window is made on first use.
    void show(const RECT& monitor, HWND above);
    void hide();
    // Directly below its window again when it is not, out of the topmost band too.
    void keepBelow();
    // The window itself, for tests; nullptr before the first show.
    HWND handle() const { return frame_.handle(); }

private:
    class Frame final : public BaseWindow<Frame, NoEvents> {
    public:
        static constexpr const wchar_t* CLASS_NAME = BackdropWindow::CLASS_NAME;
        explicit Frame(HINSTANCE instance) : BaseWindow(instance) {}
        ~Frame() { destroyWithoutEvents(); }
        Frame(const Frame&) = delete;
        Frame& operator=(const Frame&) = delete;
        bool create();
        HWND above = nullptr;

    private:
        friend class BaseWindow<Frame, NoEvents>;
        LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    };

    Frame frame_;
    bool shown_ = false;
};

} // namespace pal4::win32
