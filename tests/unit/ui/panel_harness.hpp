#pragma once

// The control panel's handlers wired to the fakes, as the composition root wires them to the
// real windows. The overlay's own creation and destruction handlers belong to the overlay
// lifecycle; stand-ins here do what those handlers do with the panel and the settings.

#include "app/app_state.hpp"
#include "fakes/fake_file_store.hpp"
#include "fakes/fake_overlay.hpp"
#include "fakes/fake_panel.hpp"
#include "fakes/fake_shell.hpp"
#include "overlay/subtitle_appearance.hpp"
#include "settings/ini_document.hpp"
#include "settings/settings_file.hpp"
#include "ui/control_panel.hpp"
#include "ui/panel_lifecycle.hpp"

#include <optional>
#include <string>

namespace pal4::testing {

class PanelHarness final : public PanelEvents, public OverlayEvents {
public:
    PanelHarness() {
        panel.bind(*this);
        overlay.bind(*this);
    }

    std::filesystem::path iniPath() const { return shell.programDirectory() / "Pal4_Corvel.ini"; }
    void givenSettingsFile(std::string bytes) { files.putFile(iniPath(), std::move(bytes)); }
    std::optional<std::string> fileBytes() const { return files.file(iniPath()); }
    std::optional<std::string> saved(std::string_view key) const {
        const auto bytes = fileBytes();
        return bytes ? IniDocument(*bytes).value("config", key) : std::nullopt;
    }

    // PanelEvents
    void onPanelCreated() override { lifecycle.onPanelCreated(); }
    void onPanelDestroying() override { lifecycle.onPanelDestroying(); }
    void onToggleClicked() override {
        if (state.overlayShown) {
            overlay.destroy();
            state.overlayShown = false;
        } else {
            overlay.create();
            state.overlayShown = true;
        }
    }
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

    // OverlayEvents: stand-ins for the overlay lifecycle's handlers.
    void onOverlayCreated() override {
        state.overlaySettingUp = true;
        overlay.setLabelFontFace(state.fontName);
        overlay.setLabelFontSize(state.fontSize);
        overlay.setLabelTextColor(state.textColor);
        overlay.setLabelBold(panel.isChecked(CheckBox::Bold));
        overlay.setLabelItalic(panel.isChecked(CheckBox::Italic));
        overlay.setLabelShadowStyle(state.shadowStyle);
        overlay.setLabelAlignment(panel.isChecked(CheckBox::Centre) ? 1 : 0);
        overlay.setWindowSize(state.overlayWidth, state.overlayHeight);
        overlay.setLabelSize(state.overlayWidth, state.overlayHeight);
        overlay.setWindowPosition(state.overlayLeft, state.overlayTop);
        state.overlaySettingUp = false;
        overlay.setTimerInterval(100);
    }
    void onOverlayMoved() override { controls.onOverlayMoved(); }
    void onOverlayDestroyed() override {
        ++overlayDestroyedRuns;
        panelOpenWhileOverlayDestroyed = state.panelOpen;
        overlay.setTimerInterval(0);
        settings.saveGeometry();
        state.overlayShown = false;
        if (state.panelOpen) {
            panel.setToggleCaption("外挂字幕");
        }
    }
    void onPollTimer() override {}

    FakePanel panel;
    FakeOverlay overlay;
    FakeShell shell;
    FakeFileStore files;
    AppState state;
    SettingsFile settings{state, files};
    SubtitleAppearance appearance{state, panel, overlay};
    ControlPanel controls{state, panel, overlay, shell, settings, appearance};
    PanelLifecycle lifecycle{state, panel, overlay, shell, settings, controls};
    int overlayDestroyedRuns = 0;
    bool panelOpenWhileOverlayDestroyed = true;
};

} // namespace pal4::testing
