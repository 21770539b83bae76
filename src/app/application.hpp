#pragma once

#include "app/app_state.hpp"
#include "platform/overlay_port.hpp"
#include "platform/panel_port.hpp"

namespace pal4 {

class GameProcessPort;
class ShellPort;
class FileStorePort;

// The ports the program runs on: the real Win32 ones in the exe, fakes in the tests.
struct Ports {
    PanelPort& panel;
    OverlayPort& overlay;
    GameProcessPort& game;
    ShellPort& shell;
    FileStorePort& files;
};

// The composition root: owns the shared state and the handler classes, and delivers each
// event of the two windows to its handler.
class Application final : public PanelEvents, public OverlayEvents {
public:
    explicit Application(Ports ports);
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    AppState& state() { return state_; }

    // PanelEvents
    void onPanelCreated() override;
    void onPanelDestroying() override;
    void onToggleClicked() override;
    void onColorChanged() override;
    void onFontSizeChanged() override;
    void onFontChanged() override;
    void onLeftChanged() override;
    void onTopChanged() override;
    void onWidthChanged() override;
    void onHeightChanged() override;
    void onBoldClicked() override;
    void onItalicClicked() override;
    void onShadowClicked() override;
    void onCentreClicked() override;
    void onDebugClicked() override;
    void onAuthorLinkPressed() override;
    void onClubLinkPressed() override;

    // OverlayEvents
    void onOverlayCreated() override;
    void onOverlayMoved() override;
    void onOverlayDestroyed() override;
    void onPollTimer() override;

private:
    Ports ports_;
    AppState state_;
};

} // namespace pal4
