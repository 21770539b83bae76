#pragma once

// Scopes over a device context that must be closed the way they were opened: a paint begun is
// ended, a saved DC state is restored. Like the owners of unique_handle.hpp, they cannot be
// copied, so nothing is ended or restored twice.
#include <windows.h>

namespace pal4::win32 {

// BeginPaint in the constructor, EndPaint in the destructor: the update region is validated
// and the caret shown again even when the painting returns early.
class PaintDc {
public:
    explicit PaintDc(HWND window) noexcept : window_(window), dc_(BeginPaint(window, &paint_)) {}
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;
    ~PaintDc() { EndPaint(window_, &paint_); }

    HDC get() const noexcept { return dc_; }
    explicit operator bool() const noexcept { return dc_ != nullptr; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// SaveDC in the constructor, RestoreDC in the destructor: the clip region, the selected
// objects, colours and modes set in between are put back.
class SavedDcState {
public:
    explicit SavedDcState(HDC dc) noexcept : dc_(dc), saved_(SaveDC(dc)) {}
    SavedDcState(const SavedDcState&) = delete;
    SavedDcState& operator=(const SavedDcState&) = delete;
    ~SavedDcState() {
        if (saved_ != 0) {
            RestoreDC(dc_, saved_);
        }
    }

private:
    HDC dc_;
    int saved_;
};

} // namespace pal4::win32
