#pragma once

#include <windows.h>

namespace pal4::win32 {

// Layout constants are written for 96 DPI and scaled at the edge.
inline constexpr int DESIGN_DPI = 96;

// The DPI the window is shown at: GetDpiForWindow where the system has it (Windows 10 1607 and
// newer), else the screen's.
unsigned dpiOf(HWND window);

// A length in design pixels at the given DPI, rounded like MulDiv.
inline int scaleToDpi(int designPixels, unsigned dpi) {
    return MulDiv(designPixels, static_cast<int>(dpi), DESIGN_DPI);
}

} // namespace pal4::win32
