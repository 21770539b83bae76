// The exe's entry point: builds the Win32 ports, hands them to the application and runs the
// message loop until the control panel is closed.
#include "app/application.hpp"
#include "platform/overlay_port.hpp"
#include "platform/win32/game_process_win32.hpp"
#include "platform/win32/panel_window.hpp"
#include "platform/win32/shell_win32.hpp"
#include "settings/disk_file_store.hpp"
#include "ui/panel_texts.hpp"

#include <windows.h>

#include <commctrl.h>

namespace {

// ---- Stand-in until the Win32 overlay window is wired in. -------------------------------
// STAND-IN: an overlay that never appears; its events never fire.
class NoOverlay final : public pal4::OverlayPort {
public:
    void create() override {}
    void destroy() override {}
    void makeColorKeyed(pal4::ColorRef) override {}
    std::int32_t windowLeft() const override { return 0; }
    std::int32_t windowTop() const override { return 0; }
    void setWindowSize(std::int32_t, std::int32_t) override {}
    void setWindowPosition(std::int32_t, std::int32_t) override {}
    void setWindowBounds(std::int32_t, std::int32_t, std::int32_t, std::int32_t) override {}
    void setTimerInterval(std::uint32_t) override {}
    void setLabelText(const std::string&) override {}
    void setLabelFontFace(const std::string&) override {}
    void setLabelFontSize(std::int32_t) override {}
    void setLabelTextColor(pal4::ColorRef) override {}
    void setLabelBold(bool) override {}
    void setLabelItalic(bool) override {}
    void setLabelShadowStyle(std::int32_t) override {}
    void setLabelAlignment(std::int32_t) override {}
    void setLabelSize(std::int32_t, std::int32_t) override {}
};
// ---- End of stand-in. ---------------------------------------------------------------------

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
    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX),
                                  ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);

    pal4::win32::PanelWindow panel(instance, std::string(pal4::HELP_TEXT));
    NoOverlay overlay;
    pal4::win32::GameProcessWin32 game;
    pal4::win32::ShellWin32 shell;
    pal4::DiskFileStore files;

    // AppState lives in the application, zeroed, before the first window exists.
    pal4::Application application(pal4::Ports{panel, overlay, game, shell, files});
    panel.bind(application);

    if (!panel.create(showCommand)) {
        return 1;
    }
    return runMessageLoop(panel.handle());
}
