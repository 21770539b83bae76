#include "web/web_answers.hpp"

#include "core/ascii_case.hpp"
#include "web/subtitle_page.hpp"

#include <algorithm>

namespace pal4 {

namespace {

constexpr std::size_t KEY_LENGTH = 24;
constexpr std::string_view HEAD_END = "\r\n\r\n";
constexpr std::string_view HTTP_SCHEME = "http://";

} // namespace

std::string plainResponse(std::string_view status, std::string_view extraHeaders) {
    std::string response = "HTTP/1.1 ";
    response += status;
    response += "\r\nContent-Type: text/plain; charset=utf-8\r\nContent-Length: ";
    response += std::to_string(status.size() + 1);
    response += "\r\nConnection: close\r\n";
    response += extraHeaders;
    response += "\r\n";
    response += status;
    response += "\n";
    return response;
}

std::string pageResponse(std::uint16_t port) {
    const std::string number = std::to_string(port);
    std::string response = "HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=utf-8\r\n"
                           "Content-Length: " +
                           std::to_string(SUBTITLE_PAGE.size()) +
                           "\r\nCache-Control: no-store\r\nX-Content-Type-Options: nosniff\r\n"
                           // The page loads nothing from anywhere; it talks only to its feed.
                           "Content-Security-Policy: default-src 'none'; style-src "
                           "'unsafe-inline'; script-src 'unsafe-inline'; connect-src "
                           "ws://127.0.0.1:" +
                           number + " ws://localhost:" + number + "\r\nConnection: close\r\n\r\n";
    response += SUBTITLE_PAGE;
    return response;
}

std::string switchingResponse(std::string_view acceptKey) {
    return "HTTP/1.1 101 Switching Protocols\r\nUpgrade: websocket\r\n"
           "Connection: Upgrade\r\nSec-WebSocket-Accept: " +
           std::string(acceptKey) + "\r\n\r\n";
}

std::string_view headOf(std::string_view response) {
    return response.substr(0, response.find(HEAD_END) + HEAD_END.size());
}

bool isBase64Key(std::string_view key) {
    return key.size() == KEY_LENGTH && key.ends_with("==") &&
           std::all_of(key.begin(), key.end() - 2, [](char c) {
               return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                      c == '+' || c == '/';
           });
}

bool isThisHost(std::string_view authority, std::uint16_t port) {
    const std::size_t colon = authority.rfind(':');
    if (colon == std::string_view::npos || authority.substr(colon + 1) != std::to_string(port)) {
        return false;
    }
    const std::string_view name = authority.substr(0, colon);
    return name == "127.0.0.1" || equalsIgnoringAsciiCase(name, "localhost");
}

std::optional<std::string_view> targetPath(std::string_view target, std::uint16_t port) {
    if (equalsIgnoringAsciiCase(target.substr(0, HTTP_SCHEME.size()), HTTP_SCHEME)) {
        target.remove_prefix(HTTP_SCHEME.size());
        const std::size_t slash = std::min(target.find('/'), target.find('?'));
        if (!isThisHost(target.substr(0, slash), port)) {
            return std::nullopt;
        }
        target = slash == std::string_view::npos ? "/" : target.substr(slash);
    }
    if (!target.starts_with('/')) {
        return std::nullopt;
    }
    return target.substr(0, target.find('?'));
}

} // namespace pal4
