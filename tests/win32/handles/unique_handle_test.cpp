// The Win32 owners close what they own exactly once, never their type's invalid value, and hand
// ownership over on a move.
#include "win32/platform/unique_handle.hpp"

#include <gtest/gtest.h>

#include <windows.h>

#include <tlhelp32.h>

#include <type_traits>
#include <utility>

namespace pal4::win32 {
namespace {

static_assert(!std::is_copy_constructible_v<UniqueProcessHandle>);
static_assert(!std::is_copy_assignable_v<UniqueSnapshotHandle>);
static_assert(!std::is_copy_constructible_v<UniqueFontHandle>);
static_assert(!std::is_copy_constructible_v<WindowDc>);
static_assert(!std::is_copy_constructible_v<SelectedObject>);
static_assert(std::is_nothrow_move_constructible_v<UniqueProcessHandle>);

bool isOpen(HANDLE handle) {
    DWORD flags = 0;
    return GetHandleInformation(handle, &flags) != FALSE;
}

HANDLE openSelf() {
    return OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, GetCurrentProcessId());
}

TEST(UniqueKernelHandle, ClosesOnceWhenItsOwnerEnds) {
    HANDLE raw = nullptr;
    {
        UniqueProcessHandle process(openSelf());
        raw = process.get();
        ASSERT_TRUE(process.valid());
        EXPECT_TRUE(isOpen(raw));
    }
    EXPECT_FALSE(isOpen(raw));
}

TEST(UniqueKernelHandle, MoveHandsOverOwnership) {
    UniqueProcessHandle first(openSelf());
    const HANDLE raw = first.get();
    UniqueProcessHandle second(std::move(first));
    EXPECT_FALSE(first.valid()); // NOLINT(bugprone-use-after-move): the moved-from state
    EXPECT_EQ(second.get(), raw);
    UniqueProcessHandle third;
    third = std::move(second);
    EXPECT_EQ(third.get(), raw);
    EXPECT_TRUE(isOpen(raw));
    third.reset();
    EXPECT_FALSE(isOpen(raw));
}

TEST(UniqueKernelHandle, MoveAssignmentClosesTheHandleItReplaces) {
    UniqueProcessHandle kept(openSelf());
    UniqueProcessHandle replaced(openSelf());
    const HANDLE old = replaced.get();
    replaced = std::move(kept);
    EXPECT_FALSE(isOpen(old));
    EXPECT_TRUE(isOpen(replaced.get()));
}

TEST(UniqueKernelHandle, ReleaseGivesUpWithoutClosing) {
    UniqueProcessHandle process(openSelf());
    const HANDLE raw = process.release();
    EXPECT_FALSE(process.valid());
    EXPECT_TRUE(isOpen(raw));
    CloseHandle(raw);
}

TEST(UniqueSnapshotHandle, InvalidHandleValueIsNoHandle) {
    UniqueSnapshotHandle none(INVALID_HANDLE_VALUE);
    EXPECT_FALSE(none.valid());
    UniqueSnapshotHandle empty;
    EXPECT_EQ(empty.get(), INVALID_HANDLE_VALUE);
    UniqueSnapshotHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    ASSERT_TRUE(snapshot.valid());
    const HANDLE raw = snapshot.get();
    snapshot.reset();
    EXPECT_FALSE(isOpen(raw));
    // NULL is the other family's failure value; a snapshot owner must not take it for "none".
    EXPECT_TRUE(UniqueSnapshotHandle(nullptr).valid());
    EXPECT_FALSE(UniqueProcessHandle(nullptr).valid());
}

TEST(UniqueGdiHandle, DeletesTheFontAndTheBrushOnce) {
    HFONT rawFont = nullptr;
    HBRUSH rawBrush = nullptr;
    {
        UniqueFontHandle font(CreateFontW(20, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                          DEFAULT_CHARSET, 0, 0, 0, 0, L"Arial"));
        UniqueBrushHandle brush(CreateSolidBrush(RGB(1, 0, 0)));
        rawFont = font.get();
        rawBrush = brush.get();
        EXPECT_EQ(GetObjectType(rawFont), static_cast<DWORD>(OBJ_FONT));
        EXPECT_EQ(GetObjectType(rawBrush), static_cast<DWORD>(OBJ_BRUSH));
        UniqueFontHandle moved(std::move(font));
        EXPECT_FALSE(font); // NOLINT(bugprone-use-after-move)
    }
    EXPECT_EQ(GetObjectType(rawFont), 0u);
    EXPECT_EQ(GetObjectType(rawBrush), 0u);
}

TEST(SelectedObject, PutsThePreviousObjectBack) {
    const HDC dc = CreateCompatibleDC(nullptr);
    ASSERT_NE(dc, nullptr);
    const HGDIOBJ original = GetCurrentObject(dc, OBJ_FONT);
    UniqueFontHandle font(CreateFontW(20, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0,
                                      0, 0, 0, L"Arial"));
    {
        SelectedObject selection(dc, font.get());
        EXPECT_TRUE(selection.selected());
        EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), font.get());
        SelectedObject moved(std::move(selection)); // only the new owner restores
    }
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), original);
    DeleteDC(dc);
}

TEST(WindowDc, ReleasesTheScreenDc) {
    WindowDc screen(nullptr);
    if (!screen) {
        GTEST_SKIP() << "no display for GetDC";
    }
    EXPECT_EQ(GetObjectType(screen.get()), static_cast<DWORD>(OBJ_DC));
}

} // namespace
} // namespace pal4::win32
