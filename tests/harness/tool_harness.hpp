#pragma once

// The tool wired as WinMain wires it, for the tests: the Application over the fake panel and
// overlay, the machine's shell and file store, and the game process port the test chooses (the
// simulated game in memory in the unit tests, the real Win32 port over a running simulated
// game in the Win32 tests). Every step a test takes goes through the application's own
// handlers; the harness only watches the overlay's events on their way to it.

#include "app/application.hpp"
#include "fakes/fake_dialogue_ports.hpp"
#include "fakes/fake_file_store.hpp"
#include "fakes/fake_game_windows.hpp"
#include "fakes/fake_overlay.hpp"
#include "fakes/fake_panel.hpp"
#include "fakes/fake_shell.hpp"
#include "fakes/fake_sockets.hpp"
#include "settings/ini_document.hpp"
#include "settings/setting_keys.hpp"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pal4::testing {

// Where the overlay stood, and whether the opening was still placing it, at one move event.
struct SeenMove {
    bool settingUp;
    std::int32_t left;
    std::int32_t top;
    std::int32_t width;
    std::int32_t height;
};

class ToolHarness : public OverlayEvents {
public:
    // The shell and the file store belong to the machine and outlive the tool, so a test can
    // end the tool and start it again over the same settings file.
    ToolHarness(GameProcessPort& game, FakeShell& shell, FakeFileStore& files)
        : shell_(shell),
          files_(files), app{Ports{panel, overlay, game, gameWindows, gameWindows, shell, files,
                                   clipboard, clock, decoder, sockets}} {
        panel.bind(app);
        overlay.bind(*this);
    }
    virtual ~ToolHarness() = default;
    ToolHarness(const ToolHarness&) = delete;
    ToolHarness& operator=(const ToolHarness&) = delete;

    // The settings file beside the exe.
    std::filesystem::path iniPath() const { return shell_.programDirectory() / INI_FILE_NAME; }
    void givenSettingsFile(std::string bytes) { files_.putFile(iniPath(), std::move(bytes)); }
    std::optional<std::string> fileBytes() const { return files_.file(iniPath()); }
    std::optional<std::string> saved(std::string_view key) const {
        const auto bytes = fileBytes();
        return bytes ? IniDocument(*bytes).value(SETTINGS_SECTION, key) : std::nullopt;
    }

    // OverlayEvents: seen, then handed to the application.
    void onOverlayCreated() override { app.onOverlayCreated(); }
    void onOverlayMoved() override {
        moves.push_back({state.overlaySettingUp, overlay.windowLeft(), overlay.windowTop(),
                         overlay.windowWidth(), overlay.windowHeight()});
        app.onOverlayMoved();
    }
    void onOverlayDestroyed() override {
        ++overlayDestroyedRuns;
        panelOpenWhileOverlayDestroyed = state.panelOpen;
        app.onOverlayDestroyed();
    }
    void onPollTimer() override { app.onPollTimer(); }

private:
    FakeShell& shell_;
    FakeFileStore& files_;

public:
    FakePanel panel;
    FakeOverlay overlay;
    FakeGameWindows gameWindows;
    FakeClipboard clipboard;
    FakeClock clock;
    FakeCharacterDecoder decoder;
    FakeSockets sockets;
    Application app;
    AppState& state = app.state();

    std::vector<SeenMove> moves;
    int overlayDestroyedRuns = 0;
    bool panelOpenWhileOverlayDestroyed = true;
};

} // namespace pal4::testing
