// The exe as a user starts it: the control panel appears with the tool's name, the icon and its
// design geometry, and closing it ends the process with exit code 0.
#include "started_program.hpp"

#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using pal4::e2e::StartedProgram;

constexpr const wchar_t* PANEL_CLASS = L"Pal4SubtitlesPanel";
constexpr const wchar_t* PANEL_TITLE = L"仙剑4外挂字幕";
constexpr DWORD WINDOW_TIMEOUT_MS = 30000;

int screenDpi() {
    const HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi;
}

std::wstring windowTitle(HWND window) {
    wchar_t title[256] = {};
    GetWindowTextW(window, title, 256);
    return title;
}

class Startup : public ::testing::Test {
protected:
    void SetUp() override {
        exe_ = pal4::e2e::exeFromEnvironment(L"PAL4_EXE");
        ASSERT_FALSE(exe_.empty()) << "PAL4_EXE names the tool's exe";
    }
    std::filesystem::path exe_;
};

TEST_F(Startup, PanelAppearsWithTitleAndDesignGeometryAndClosesWithExitCodeZero) {
    StartedProgram program(exe_);
    ASSERT_TRUE(program.started()) << "could not start " << exe_.string();

    const HWND panel = program.waitForWindow(PANEL_CLASS, WINDOW_TIMEOUT_MS);
    ASSERT_NE(panel, nullptr) << "no visible control panel within the time";
    EXPECT_EQ(windowTitle(panel), PANEL_TITLE);
    EXPECT_EQ(FindWindowW(PANEL_CLASS, PANEL_TITLE), panel);

    RECT client{};
    ASSERT_TRUE(GetClientRect(panel, &client));
    const int dpi = screenDpi();
    EXPECT_EQ(client.right - client.left, MulDiv(434, dpi, 96));
    EXPECT_EQ(client.bottom - client.top, MulDiv(360, dpi, 96));

    RECT frame{};
    ASSERT_TRUE(GetWindowRect(panel, &frame));
    EXPECT_EQ(frame.left, 50);
    EXPECT_EQ(frame.top, 50);

    ASSERT_TRUE(PostMessageW(panel, WM_CLOSE, 0, 0));
    DWORD exitCode = 12345;
    ASSERT_TRUE(program.waitForExit(WINDOW_TIMEOUT_MS, exitCode)) << "still running after close";
    EXPECT_EQ(exitCode, 0u);
}

TEST_F(Startup, FirstRunLeavesTheDefaultSettingsBesideTheExeWhateverTheWorkingFolder) {
    StartedProgram program(exe_);
    ASSERT_TRUE(program.started());
    const HWND panel = program.waitForWindow(PANEL_CLASS, WINDOW_TIMEOUT_MS);
    ASSERT_NE(panel, nullptr);
    ASSERT_TRUE(PostMessageW(panel, WM_CLOSE, 0, 0));
    DWORD exitCode = 12345;
    ASSERT_TRUE(program.waitForExit(WINDOW_TIMEOUT_MS, exitCode));

    // The size is written when the panel opens, the geometry when it closes.
    std::ifstream file(program.folder() / L"Pal4_Corvel.ini", std::ios::binary);
    ASSERT_TRUE(file) << "no settings file beside the exe";
    const std::string bytes((std::istreambuf_iterator<char>(file)),
                            std::istreambuf_iterator<char>());
    EXPECT_EQ(bytes, "[config]\r\nsize=20\r\nleft=10\r\ntop=640\r\nwidth=1024\r\n"
                     "height=160\r\n");
}

TEST_F(Startup, ExeCarriesA48PixelTrueColourIconManifestAndVersion) {
    const HMODULE image = LoadLibraryExW(exe_.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(image, nullptr);

    const auto icon = static_cast<HICON>(
        LoadImageW(image, MAKEINTRESOURCEW(1), IMAGE_ICON, 48, 48, LR_DEFAULTCOLOR));
    ASSERT_NE(icon, nullptr) << "icon 1";
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP colour{};
    ASSERT_NE(GetObjectW(info.hbmColor, sizeof(colour), &colour), 0);
    EXPECT_EQ(colour.bmWidth, 48);
    EXPECT_EQ(colour.bmHeight, 48);
    EXPECT_EQ(colour.bmBitsPixel, 32);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(icon);

    const HRSRC manifestResource = FindResourceW(image, MAKEINTRESOURCEW(1), RT_MANIFEST);
    ASSERT_NE(manifestResource, nullptr) << "manifest";
    const auto* manifestBytes =
        static_cast<const char*>(LockResource(LoadResource(image, manifestResource)));
    const std::string manifest(manifestBytes, SizeofResource(image, manifestResource));
    EXPECT_NE(manifest.find("Microsoft.Windows.Common-Controls"), std::string::npos);
    EXPECT_NE(manifest.find("version=\"6.0.0.0\""), std::string::npos);
    EXPECT_NE(manifest.find("PerMonitorV2"), std::string::npos);
    EXPECT_NE(manifest.find("asInvoker"), std::string::npos);
    FreeLibrary(image);

    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(exe_.c_str(), &ignored);
    ASSERT_GT(size, 0u) << "version information";
    std::vector<char> version(size);
    ASSERT_TRUE(GetFileVersionInfoW(exe_.c_str(), 0, size, version.data()));
    wchar_t* productName = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(version.data(), L"\\StringFileInfo\\080404B0\\ProductName",
                               reinterpret_cast<void**>(&productName), &length));
    EXPECT_EQ(std::wstring(productName), PANEL_TITLE);
}

} // namespace
