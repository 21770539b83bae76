#pragma once

#include "capture/game_full_screen.hpp"
#include "capture/game_memory_map.hpp"
#include "capture/game_window_follower.hpp"
#include "capture/overlay_lifecycle.hpp"
#include "capture/refusal_reason.hpp"
#include "capture/subtitle_poller.hpp"
#include "core/app_state.hpp"
#include "dialogue/dialogue_outputs.hpp"
#include "gameproc/process_memory.hpp"
#include "overlay/subtitle_appearance.hpp"
#include "ports/full_screen_port.hpp"
#include "ports/game_window_port.hpp"
#include "ports/overlay_port.hpp"
#include "ports/panel_port.hpp"
#include "ports/socket_port.hpp"
#include "settings/settings_file.hpp"
#include "ui/control_panel.hpp"
#include "ui/panel_lifecycle.hpp"
#include "web/subtitle_feed.hpp"

#include <string>

namespace pal4 {

class GameProcessPort;
class ShellPort;
class FileStorePort;
class ClipboardPort;
class ClockPort;
class CharacterDecoderPort;

// The ports the program runs on: the real Win32 ones in the exe, fakes in the tests.
struct Ports {
    PanelPort& panel;
    OverlayPort& overlay;
    GameProcessPort& game;
    GameWindowPort& gameWindows;
    FullScreenPort& fullScreen;
    ShellPort& shell;
    FileStorePort& files;
    ClipboardPort& clipboard;
    const ClockPort& clock;
    const CharacterDecoderPort& decoder;
    SocketPort& sockets;
};

// The composition root: owns the shared state and the handler classes, and delivers each
// event of the two windows, of the game's windows and of the web feeds' sockets to its handler.
// The ports must outlive it.
class Application final : public PanelEvents,
                          public OverlayEvents,
                          public GameWindowEvents,
                          public SocketEvents,
                          private OverlayResizeListener {
public:
    explicit Application(Ports ports);
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    AppState& state() { return state_; }
    const AppState& state() const { return state_; }

    // PanelEvents
    // The edit box names, one line each, a window full screen left behind by a crash and
    // everything the tool starts without.
    void onPanelCreated() override {
        std::string notices;
        const auto addNotices = [&](const std::string& lines) {
            if (!lines.empty()) {
                notices += (notices.empty() ? "" : "\r\n") + lines;
            }
        };
        // The settings load knows the file, and changes nothing outside the tool.
        const std::string settingsNotices = panelLifecycle_.onPanelCreated();
        addNotices(fullScreen_.onToolStarted());
        addNotices(settingsNotices);
        addNotices(feed_.start(settings_));
        if (!notices.empty()) {
            panel_.setEditText(notices);
        }
    }
    void onPanelDestroying() override {
        panelLifecycle_.onPanelDestroying();
        outputs_.onToolClosing();
    }
    void onToggleClicked() override { overlayLifecycle_.onToggleClicked(); }
    void onColorChanged() override { restyled(&ControlPanel::onColorChanged); }
    void onFontSizeChanged() override { restyled(&ControlPanel::onFontSizeChanged); }
    void onFontChanged() override { restyled(&ControlPanel::onFontChanged); }
    void onLeftChanged() override { controls_.onLeftChanged(); }
    void onTopChanged() override { controls_.onTopChanged(); }
    void onWidthChanged() override { controls_.onWidthChanged(); }
    void onHeightChanged() override { controls_.onHeightChanged(); }
    void onBoldClicked() override { restyled(&ControlPanel::onBoldClicked); }
    void onItalicClicked() override { restyled(&ControlPanel::onItalicClicked); }
    void onShadowClicked() override { restyled(&ControlPanel::onShadowClicked); }
    void onCentreClicked() override { restyled(&ControlPanel::onCentreClicked); }
    void onOutlineClicked() override { restyled(&ControlPanel::onOutlineClicked); }
    void onDebugClicked() override { controls_.onDebugClicked(); }
    void onAuthorLinkPressed() override { controls_.onAuthorLinkPressed(); }
    void onClubLinkPressed() override { controls_.onClubLinkPressed(); }
    void onHistoryClicked() override {
        controls_.onHistoryClicked();
        outputs_.onHistorySwitched();
    }
    void onOpenLogPressed() override { outputs_.openLog(); }
    void onLockClicked() override { controls_.onLockClicked(); }
    void onLockHotkey() override { controls_.onLockHotkey(); }
    void onFullScreenClicked() override {
        controls_.onFullScreenClicked();
        follower_.onFullScreenSwitched();
    }
    void onFullScreenHotkey() override {
        controls_.onFullScreenHotkey();
        follower_.onFullScreenSwitched();
    }

    // OverlayEvents
    void onOverlayCreated() override { overlayLifecycle_.onOverlayCreated(); }
    void onOverlayMoved() override { controls_.onOverlayMoved(); }
    void onOverlayDestroyed() override { overlayLifecycle_.onOverlayDestroyed(); }
    void onPollTimer() override {
        poller_.pollTick();
        follower_.onPollTick();
    }

    // GameWindowEvents
    void onGameWindowChanged() override { follower_.onGameWindowChanged(); }

    // SocketEvents
    void onSocketEvent(SocketId socket, SocketEvent event) override {
        feed_.socketEvents().onSocketEvent(socket, event);
    }
    void onSocketTimer() override { feed_.socketEvents().onSocketTimer(); }

private:
    // OverlayResizeListener: while the panel is being destroyed its controls are going away.
    void onOverlayResized() override {
        if (state_.panelOpen) {
            controls_.showOverlayGeometry();
        }
    }

    // A style control's handler, then the page is told: it draws the subtitle in that style.
    void restyled(void (ControlPanel::*handler)()) {
        (controls_.*handler)();
        feed_.onStyleChanged();
    }

    PanelPort& panel_;
    AppState state_;
    ProcessMemory memory_;
    GameMemoryMap game_;
    RefusalDiagnoser diagnoser_;
    SettingsFile settings_;
    SubtitleAppearance appearance_;
    ControlPanel controls_;
    DialogueOutputs outputs_;
    GameFullScreen fullScreen_;
    GameWindowFollower follower_;
    PanelLifecycle panelLifecycle_;
    OverlayLifecycle overlayLifecycle_;
    SubtitlePoller poller_;
    SubtitleFeed feed_;
};

} // namespace pal4
