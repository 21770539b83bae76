#include "web/subtitle_feed.hpp"

#include "overlay/overlay_constants.hpp"
#include "overlay/text_outline.hpp"
#include "settings/web_port_setting.hpp"
#include "text/text_encoding.hpp"

#include <cstdio>

namespace pal4 {

namespace {

constexpr std::string_view PORT_PREFIX = "网页字幕端口 ";
constexpr std::string_view UNUSABLE_SUFFIX = " 不可用（应为1024到65535的数字），网页字幕未开启。";
constexpr std::string_view HELD_SUFFIX =
    " 已被其他程序占用，每隔几秒重试一次，空出后网页字幕即开启。";

// The page's CSS sizes the font in points at 96 pixels an inch, as the overlay does at 96 DPI.
constexpr int PAGE_DPI = 96;
constexpr int POINTS_PER_INCH = 72;

void appendJsonString(std::string& json, std::string_view utf8) {
    json += '"';
    for (const char c : utf8) {
        if (c == '"' || c == '\\') {
            json += '\\';
            json += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
            json += escaped;
        } else {
            json += c;
        }
    }
    json += '"';
}

std::string cssColor(ColorRef color) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", static_cast<unsigned>(color & 0xFF),
                  static_cast<unsigned>((color >> 8) & 0xFF),
                  static_cast<unsigned>((color >> 16) & 0xFF));
    return text;
}

void member(std::string& json, std::string_view name, std::string_view rawValue) {
    json += json.size() == 1 ? "\"" : ",\"";
    json += name;
    json += "\":";
    json += rawValue;
}

std::string jsonBool(bool value) {
    return value ? "true" : "false";
}

std::string jsonString(std::string_view utf8) {
    std::string json;
    appendJsonString(json, utf8);
    return json;
}

} // namespace

std::string webPortUnusableText(std::string_view value) {
    return std::string(PORT_PREFIX) + std::string(value) + std::string(UNUSABLE_SUFFIX);
}

std::string webPortHeldText(std::uint16_t port) {
    return std::string(PORT_PREFIX) + std::to_string(port) + std::string(HELD_SUFFIX);
}

std::string subtitleStateJson(const AppState& state, const PanelPort& panel,
                              std::string_view textUtf8, std::string_view fontUtf8) {
    const int pixels = (state.fontSize * PAGE_DPI + POINTS_PER_INCH / 2) / POINTS_PER_INCH;
    std::string json = "{";
    member(json, "text", jsonString(textUtf8));
    member(json, "font", jsonString(fontUtf8));
    member(json, "size", std::to_string(state.fontSize));
    member(json, "color", jsonString(cssColor(state.textColor)));
    member(json, "bold", jsonBool(panel.isChecked(CheckBox::Bold)));
    member(json, "italic", jsonBool(panel.isChecked(CheckBox::Italic)));
    member(json, "centred", jsonBool(panel.isChecked(CheckBox::Centre)));
    member(json, "shadow", jsonBool(state.shadowOn));
    member(json, "shadowColor", jsonString(cssColor(SHADOW_COLOR)));
    member(json, "shadowOffset", std::to_string(shadowOffsetFor(pixels)));
    member(json, "outline", jsonBool(state.outlineOn));
    member(json, "outlineColor", jsonString(cssColor(outlineColorFor(state.textColor))));
    member(json, "outlineWidth", std::to_string(outlineWidth(pixels)));
    json += "}";
    return json;
}

std::string SubtitleFeed::start(SettingsFile& settings) {
    const WebPortSetting setting = readWebPortSetting(settings);
    switch (setting.choice) {
    case WebPortSetting::Choice::Off:
        break;
    case WebPortSetting::Choice::Unusable:
        return webPortUnusableText(setting.value);
    case WebPortSetting::Choice::Port:
        publishState();
        if (!server_.start(setting.port)) {
            return webPortHeldText(setting.port);
        }
        break;
    }
    return {};
}

void SubtitleFeed::onStyleChanged() {
    if (server_.enabled()) {
        publishState();
    }
}

void SubtitleFeed::onNewLine(std::string_view line) {
    if (server_.enabled()) {
        server_.sendLine(utf8(line));
    }
}

void SubtitleFeed::onShownSubtitle(std::string_view subtitle) {
    if (server_.enabled()) {
        shownUtf8_ = utf8(subtitle);
        publishState();
    }
}

std::string SubtitleFeed::utf8(std::string_view gb2312) const {
    return gameTextToUtf8(gb2312, decoder_);
}

void SubtitleFeed::publishState() {
    server_.setSubtitleState(subtitleStateJson(state_, panel_, shownUtf8_, utf8(state_.fontName)));
}

} // namespace pal4
