// The shell adapter against the real system: the program's folder comes from the exe, not from
// the current directory; a program is started through shell32, loaded only then, and one that
// cannot be started is reported as a failure.
#include "win32/platform/shell_win32.hpp"
#include "win32/platform/system_library.hpp"

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

TEST(ShellWin32, StartingAProgramThatExistsReportsSuccess) {
    pal4::win32::ShellWin32 shell;
    wchar_t exe[MAX_PATH] = {};
    ASSERT_GT(GetModuleFileNameW(nullptr, exe, MAX_PATH), 0u);
    // This test exe itself, which lists its tests and ends.
    EXPECT_TRUE(shell.shellExecute("open", std::filesystem::path(exe).string(),
                                   "--gtest_list_tests", "", 0));
}

struct SystemProcedureCase {
    const wchar_t* library;
    const char* name;
    bool found;
};

class SystemProcedureTest : public ::testing::TestWithParam<SystemProcedureCase> {};

TEST_P(SystemProcedureTest, FindsFunctionsOfSystemLibrariesOnly) {
    const SystemProcedureCase& c = GetParam();
    EXPECT_EQ(pal4::win32::systemProcedure(c.library, c.name) != nullptr, c.found);
}

INSTANTIATE_TEST_SUITE_P(
    Libraries, SystemProcedureTest,
    ::testing::Values(SystemProcedureCase{L"comdlg32.dll", "ChooseColorW", true},
                      SystemProcedureCase{L"shell32.dll", "ShellExecuteW", true},
                      SystemProcedureCase{L"shell32.dll", "pal4NoSuchFunction", false},
                      SystemProcedureCase{L"pal4-no-such-library.dll", "ChooseColorW", false}));

} // namespace
