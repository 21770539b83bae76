#pragma once

#include "core/app_state.hpp"
#include "dialogue/dialogue_listener.hpp"
#include "ports/character_decoder_port.hpp"
#include "ports/panel_port.hpp"
#include "ports/socket_port.hpp"
#include "settings/settings_file.hpp"
#include "web/web_server.hpp"

#include <string>
#include <string_view>

namespace pal4 {

// The edit box's lines when the web feeds stay off against the user's wish.
std::string webPortUnusableText(std::string_view value);
std::string webPortHeldText(std::uint16_t port);

// The subtitle's state as the page draws it, one JSON object: the text and the style
// of the panel, with the outline's and the shadow's colours and widths worked out by the
// overlay's own rules, for the font's em height in pixels at 96 DPI (the overlay measures the
// character cell, a pixel or so taller in fonts with internal leading; the page has no cell).
std::string subtitleStateJson(const AppState& state, const PanelPort& panel,
                              std::string_view textUtf8, std::string_view fontUtf8);

// What the tool tells the web: each new line to the study tools' feed, and the subtitle shown
// now with its style to the page's feed, whenever either changes.
class SubtitleFeed final : public DialogueListener {
public:
    SubtitleFeed(const AppState& state, PanelPort& panel, SocketPort& sockets,
                 const CharacterDecoderPort& decoder)
        : state_(state), panel_(panel), decoder_(decoder), server_(sockets) {}

    // Reads `webport` once, on start-up, and serves where it asks. A value it cannot use leaves
    // the tool without the feeds; a port another program holds is tried again every few seconds.
    // The line returned says either (empty when all is well), for the edit box with the other
    // start-up notices.
    std::string start(SettingsFile& settings);
    // A style control changed: the page redraws at once.
    void onStyleChanged();

    void onNewLine(std::string_view line) override;
    void onShownSubtitle(std::string_view subtitle) override;

    SocketEvents& socketEvents() { return server_; }

private:
    std::string utf8(std::string_view gb2312) const;
    void publishState();

    const AppState& state_;
    PanelPort& panel_;
    const CharacterDecoderPort& decoder_;
    WebServer server_;
    std::string shownUtf8_;
};

} // namespace pal4
