// The exe's entry point: builds the Win32 ports, hands them to the application and runs the
// message loop until the control panel is closed.
#include "app/application.hpp"
#include "ports/panel_texts.hpp"
#include "settings/disk_file_store.hpp"
#include "win32/overlay_window/overlay_window.hpp"
#include "win32/panel_window/panel_window.hpp"
#include "win32/platform/dialogue_ports_win32.hpp"
#include "win32/platform/full_screen_win32.hpp"
#include "win32/platform/game_process_win32.hpp"
#include "win32/platform/game_window_win32.hpp"
#include "win32/platform/shell_win32.hpp"
#include "win32/platform/single_instance.hpp"
#include "win32/platform/sockets_win32.hpp"

#include <windows.h>

#include <commctrl.h>

namespace {

// One tool per session, wherever its exe lies.
constexpr const wchar_t* RUNNING_TOOL_MARK = L"Local\\Pal4Subtitles.RunningTool";
// A tool started a moment ago may not have shown its panel yet.
constexpr DWORD WAIT_FOR_RUNNING_PANEL_MS = 3000;

int runMessageLoop(HWND panel) {
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        // Tab and the arrow keys move between the panel's controls, as in a dialog.
        if (panel && IsWindow(panel) && IsDialogMessageW(panel, &message)) {
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    // A second start shows the running tool and ends at once, before it reads or writes a file.
    const pal4::win32::RunningToolMark mark(RUNNING_TOOL_MARK);
    if (!mark.first()) {
        pal4::win32::bringRunningToolForward(pal4::win32::PanelWindow::CLASS_NAME,
                                             WAIT_FOR_RUNNING_PANEL_MS);
        return 0;
    }

    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX),
                                  ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);

    pal4::win32::PanelWindow panel(instance, std::string(pal4::HELP_TEXT));
    // Not owned by the panel: an owned window would be destroyed before the panel's own
    // destruction handler runs, and that handler is the one that closes the overlay.
    pal4::win32::OverlayWindow overlay(instance);
    pal4::win32::GameProcessWin32 game;
    pal4::win32::GameWindowWin32 gameWindows;
    pal4::win32::FullScreenWin32 fullScreen(instance);
    pal4::win32::ShellWin32 shell;
    pal4::DiskFileStore files;
    pal4::win32::ClipboardWin32 clipboard;
    const pal4::win32::LocalClockWin32 clock;
    const pal4::win32::CharacterDecoderWin32 decoder;
    pal4::win32::SocketsWin32 sockets(instance);

    // AppState lives in the application, zeroed, before the first window exists.
    pal4::Application application(pal4::Ports{panel, overlay, game, gameWindows, fullScreen, shell,
                                              files, clipboard, clock, decoder, sockets});
    panel.bind(application);
    overlay.bind(application);
    gameWindows.bind(application);
    sockets.bind(application);

    if (!panel.create(showCommand)) {
        return 1;
    }
    // The refusal's box belongs to the panel, which waits while it is up.
    shell.setMessageOwner(panel.handle());
    clipboard.setOwner(panel.handle());
    return runMessageLoop(panel.handle());
}
