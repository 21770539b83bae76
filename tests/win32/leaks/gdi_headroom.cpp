#include "gdi_headroom.hpp"

#include <vector>

namespace pal4::win32::testing {

int gdiHeadroom(int cap) {
    std::vector<HBRUSH> brushes;
    brushes.reserve(static_cast<std::size_t>(cap));
    while (static_cast<int>(brushes.size()) < cap) {
        const HBRUSH brush = CreateSolidBrush(RGB(brushes.size() & 0xFF, 0, 0));
        if (brush == nullptr) {
            break;
        }
        brushes.push_back(brush);
    }
    for (const HBRUSH brush : brushes) {
        DeleteObject(brush);
    }
    return static_cast<int>(brushes.size());
}

GuiResourceCounts GuiResourceCounts::now() {
    return {GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS),
            GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS)};
}

} // namespace pal4::win32::testing
