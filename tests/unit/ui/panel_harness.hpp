#pragma once

// The tool as the program composes it, with fake windows, an in-memory settings file and a
// game in progress, seen from the control panel. The overlay's events pass through here on
// their way to the application, so tests can see how its destruction ran.

#include "app/application.hpp"
#include "fakes/fake_file_store.hpp"
#include "fakes/fake_overlay.hpp"
#include "fakes/fake_panel.hpp"
#include "fakes/fake_shell.hpp"
#include "settings/ini_document.hpp"
#include "unit/capture/game_world.hpp"

#include <optional>
#include <string>

namespace pal4::testing {

class PanelHarness final : public OverlayEvents {
public:
    PanelHarness() {
        panel.bind(app);
        overlay.bind(*this);
    }

    std::filesystem::path iniPath() const { return shell.programDirectory() / "Pal4_Corvel.ini"; }
    void givenSettingsFile(std::string bytes) { files.putFile(iniPath(), std::move(bytes)); }
    std::optional<std::string> fileBytes() const { return files.file(iniPath()); }
    std::optional<std::string> saved(std::string_view key) const {
        const auto bytes = fileBytes();
        return bytes ? IniDocument(*bytes).value("config", key) : std::nullopt;
    }

    void onOverlayCreated() override { app.onOverlayCreated(); }
    void onOverlayMoved() override { app.onOverlayMoved(); }
    void onOverlayDestroyed() override {
        ++overlayDestroyedRuns;
        panelOpenWhileOverlayDestroyed = state.panelOpen;
        app.onOverlayDestroyed();
    }
    void onPollTimer() override { app.onPollTimer(); }

    GameWorld world;
    FakePanel panel;
    FakeOverlay overlay;
    FakeShell shell;
    FakeFileStore files;
    Application app{Ports{panel, overlay, world.game, shell, files}};
    AppState& state = app.state();
    int overlayDestroyedRuns = 0;
    bool panelOpenWhileOverlayDestroyed = true;
};

} // namespace pal4::testing
