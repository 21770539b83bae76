#pragma once

// How many GDI objects a process can still create, and what Windows says it holds.
#include <windows.h>

namespace pal4::win32::testing {

// Creates brushes until GDI refuses one (or `cap` are made), deletes them all again and returns
// how many there were. The per-process GDI table has a fixed size (about 65,500 entries under
// Wine, 10,000 by default on Windows), so the difference of two probes is the number of
// objects created and not deleted in between; it needs no GetGuiResources, which Wine lacks.
int gdiHeadroom(int cap = 200000);

// GetGuiResources for this process. Zero where it is not implemented (Wine).
struct GuiResourceCounts {
    DWORD gdi = 0;
    DWORD user = 0;

    bool answered() const { return gdi != 0 && user != 0; }
    static GuiResourceCounts now();
};

} // namespace pal4::win32::testing
