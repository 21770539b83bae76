#pragma once

#include "capture/game_memory_map.hpp"
#include "capture/overlay_lifecycle.hpp"
#include "capture/subtitle_poller.hpp"
#include "fakes/fake_file_store.hpp"
#include "fakes/fake_overlay.hpp"
#include "fakes/fake_panel.hpp"
#include "fakes/fake_shell.hpp"
#include "game_world.hpp"
#include "overlay/subtitle_appearance.hpp"
#include "settings/settings_file.hpp"
#include "ui/control_panel.hpp"
#include "ui/panel_lifecycle.hpp"

#include <vector>

namespace pal4::testing {

// The tool with fake windows and a simulated game: the capture classes and the control
// panel's handlers, each event bound to its handler as the program binds them.
class CaptureTool final : public PanelEvents, public OverlayEvents {
public:
    static constexpr const char* INI_PATH = "/opt/pal4-subtitles/Pal4_Corvel.ini";

    CaptureTool() {
        panel.bind(*this);
        overlay.bind(*this);
        panel.create();
        state.fontName = "黑体";
        state.fontSize = 36;
        state.textColor = 0x00336699;
        state.shadowStyle = 3;
        state.overlayLeft = 12;
        state.overlayTop = 640;
        state.overlayWidth = 900;
        state.overlayHeight = 120;
    }

    void onPanelCreated() override { panelLifecycle.onPanelCreated(); }
    void onPanelDestroying() override { panelLifecycle.onPanelDestroying(); }
    void onToggleClicked() override { lifecycle.onToggleClicked(); }
    void onColorChanged() override { controls.onColorChanged(); }
    void onFontSizeChanged() override { controls.onFontSizeChanged(); }
    void onFontChanged() override { controls.onFontChanged(); }
    void onLeftChanged() override { controls.onLeftChanged(); }
    void onTopChanged() override { controls.onTopChanged(); }
    void onWidthChanged() override { controls.onWidthChanged(); }
    void onHeightChanged() override { controls.onHeightChanged(); }
    void onBoldClicked() override { controls.onBoldClicked(); }
    void onItalicClicked() override { controls.onItalicClicked(); }
    void onShadowClicked() override { controls.onShadowClicked(); }
    void onCentreClicked() override { controls.onCentreClicked(); }
    void onDebugClicked() override { controls.onDebugClicked(); }
    void onAuthorLinkPressed() override { controls.onAuthorLinkPressed(); }
    void onClubLinkPressed() override { controls.onClubLinkPressed(); }

    void onOverlayCreated() override { lifecycle.onOverlayCreated(); }
    void onOverlayMoved() override {
        movesWhileSettingUp.push_back(state.overlaySettingUp);
        controls.onOverlayMoved();
    }
    void onOverlayDestroyed() override { lifecycle.onOverlayDestroyed(); }
    void onPollTimer() override { poller.pollTick(); }

    GameWorld world;
    AppState state;
    FakePanel panel;
    FakeOverlay overlay;
    FakeShell shell{"/opt/pal4-subtitles"};
    FakeFileStore files;
    SettingsFile settings{state, files};
    SubtitleAppearance appearance{state, panel, overlay};
    ControlPanel controls{state, panel, overlay, shell, settings, appearance};
    PanelLifecycle panelLifecycle{state, panel, overlay, shell, settings, controls};
    ProcessMemory memory{world.game};
    GameMemoryMap map{state, world.game, memory};
    SubtitlePoller poller{state, map, overlay, panel};
    OverlayLifecycle lifecycle{state, world.game, map, overlay, panel, shell, settings};
    std::vector<bool> movesWhileSettingUp; // for each move event: overlaySettingUp at the time
};

} // namespace pal4::testing
