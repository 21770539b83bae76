// The device context scopes end what they began, also when the code between returns early.
// What EndPaint undoes (the caret hidden, the cached DC taken) shows neither in Wine's
// GetGUIThreadInfo nor in its handle limits, so PaintDc is checked by review alone.
#include "win32/platform/dc_scopes.hpp"
#include "win32/platform/unique_handle.hpp"

#include <gtest/gtest.h>

#include <windows.h>

#include <type_traits>

namespace pal4::win32 {
namespace {

static_assert(!std::is_copy_constructible_v<PaintDc>);
static_assert(!std::is_copy_constructible_v<SavedDcState>);

TEST(SavedDcState, PutsColoursAndClippingBack) {
    const MemoryDc dc(nullptr);
    const UniqueBitmapHandle bitmap(CreateCompatibleBitmap(dc.get(), 64, 64));
    const SelectedObject selected(dc.get(), bitmap.get());
    SetTextColor(dc.get(), RGB(255, 0, 0));
    {
        const SavedDcState saved(dc.get());
        SetTextColor(dc.get(), RGB(0, 0, 255));
        IntersectClipRect(dc.get(), 0, 0, 8, 8);
    }
    EXPECT_EQ(GetTextColor(dc.get()), RGB(255, 0, 0));
    RECT clip{};
    GetClipBox(dc.get(), &clip);
    EXPECT_EQ(clip.right, 64);
    EXPECT_EQ(clip.bottom, 64);
}

} // namespace
} // namespace pal4::win32
