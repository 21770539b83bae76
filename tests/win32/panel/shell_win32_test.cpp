// The shell adapter against the real system: the program's folder comes from the exe, not from
// the current directory, and a program that cannot be started is reported as a failure.
#include "win32/shell_win32.hpp"

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>

namespace {

TEST(ShellWin32, ProgramDirectoryIsTheExesFolderWhateverTheCurrentDirectory) {
    pal4::win32::ShellWin32 shell;
    wchar_t exe[MAX_PATH] = {};
    ASSERT_GT(GetModuleFileNameW(nullptr, exe, MAX_PATH), 0u);
    const std::filesystem::path expected = std::filesystem::path(exe).parent_path();

    wchar_t previous[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, previous);
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    ASSERT_TRUE(SetCurrentDirectoryW(temp));
    const std::filesystem::path directory = shell.programDirectory();
    SetCurrentDirectoryW(previous);

    EXPECT_EQ(directory, expected);
    EXPECT_TRUE(std::filesystem::exists(directory / std::filesystem::path(exe).filename()));
}

TEST(ShellWin32, StartingAProgramThatDoesNotExistReportsFailure) {
    pal4::win32::ShellWin32 shell;
    EXPECT_FALSE(shell.shellExecute("open", "pal4-no-such-program-4711.exe",
                                    "https://example.invalid/", "", pal4::SHOW_NORMAL));
}

} // namespace
