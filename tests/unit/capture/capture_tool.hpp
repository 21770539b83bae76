#pragma once

#include "app/application.hpp"
#include "fakes/fake_file_store.hpp"
#include "fakes/fake_overlay.hpp"
#include "fakes/fake_panel.hpp"
#include "fakes/fake_shell.hpp"
#include "game_world.hpp"

#include <vector>

namespace pal4::testing {

// The tool as the program composes it, with fake windows and a simulated game. The overlay's
// events pass through here on their way to the application, so a test can see what
// overlaySettingUp was at each move.
class CaptureTool final : public OverlayEvents {
public:
    static constexpr const char* INI_PATH = "/opt/pal4-subtitles/Pal4_Corvel.ini";

    CaptureTool() {
        panel.bind(app);
        overlay.bind(*this);
        panel.create();
        state.fontName = "黑体";
        state.fontSize = 36;
        state.textColor = 0x00336699;
        state.shadowOn = true;
        state.overlayLeft = 12;
        state.overlayTop = 640;
        state.overlayWidth = 900;
        state.overlayHeight = 120;
    }

    void onOverlayCreated() override { app.onOverlayCreated(); }
    void onOverlayMoved() override {
        movesWhileSettingUp.push_back(state.overlaySettingUp);
        app.onOverlayMoved();
    }
    void onOverlayDestroyed() override { app.onOverlayDestroyed(); }
    void onPollTimer() override { app.onPollTimer(); }

    GameWorld world;
    FakePanel panel;
    FakeOverlay overlay;
    FakeShell shell{"/opt/pal4-subtitles"};
    FakeFileStore files;
    Application app{Ports{panel, overlay, world.game, shell, files}};
    AppState& state = app.state();
    std::vector<bool> movesWhileSettingUp; // for each move event: overlaySettingUp at the time
};

} // namespace pal4::testing
