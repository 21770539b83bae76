#include "browser_page.hpp"

#include <cstdio>
#include <stdexcept>

namespace e2e {

namespace {

// The text of a JSON string member `"name": "..."` in `json`, escapes left as they are.
std::string stringMember(const std::string& json, const std::string& name) {
    std::size_t at = json.find("\"" + name + "\"");
    at = at == std::string::npos ? at : json.find('"', json.find(':', at) + 1);
    if (at == std::string::npos) {
        return {};
    }
    std::string value;
    for (++at; at < json.size() && json[at] != '"'; ++at) {
        if (json[at] == '\\' && at + 1 < json.size()) {
            ++at;
        }
        value += json[at];
    }
    return value;
}

std::string jsonQuoted(const std::string& text) {
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            quoted += '\\';
        }
        quoted += c == '\n' ? ' ' : c;
    }
    return quoted + "\"";
}

std::string body(const std::string& answer) {
    const std::size_t end = answer.find("\r\n\r\n");
    return end == std::string::npos ? std::string() : answer.substr(end + 4);
}

} // namespace

BrowserPage::BrowserPage(std::uint16_t debugPort, const std::string& url) : debugPort_(debugPort) {
    const std::string target = body(httpExchange(debugPort,
                                                 "PUT /json/new?" + url +
                                                     " HTTP/1.1\r\nHost: 127.0.0.1\r\n"
                                                     "Connection: close\r\n\r\n",
                                                 5000));
    targetId_ = stringMember(target, "id");
    const std::string socketUrl = stringMember(target, "webSocketDebuggerUrl");
    const std::size_t path = socketUrl.find("/devtools/");
    if (targetId_.empty() || path == std::string::npos ||
        !devtools_.open(debugPort, socketUrl.substr(path), 5000)) {
        throw std::runtime_error("the browser at port " + std::to_string(debugPort) +
                                 " opened no page: " + target);
    }
}

BrowserPage::~BrowserPage() {
    devtools_.close();
    httpExchange(debugPort_,
                 "GET /json/close/" + targetId_ +
                     " HTTP/1.1\r\nHost: 127.0.0.1\r\n"
                     "Connection: close\r\n\r\n",
                 2000);
}

std::string BrowserPage::evaluate(const std::string& expression, DWORD timeoutMs) {
    const int id = nextId_++;
    const std::string request =
        "{\"id\":" + std::to_string(id) +
        ",\"method\":\"Runtime.evaluate\",\"params\":{\"expression\":" + jsonQuoted(expression) +
        ",\"returnByValue\":true}}";
    if (!devtools_.sendText(request)) {
        return {};
    }
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    const std::string mark = "{\"id\":" + std::to_string(id) + ",";
    while (GetTickCount64() < deadline) {
        const auto message = devtools_.receiveText(static_cast<DWORD>(deadline - GetTickCount64()));
        if (!message) {
            return {};
        }
        if (message->starts_with(mark)) {
            return stringMember(*message, "value");
        }
    }
    return {};
}

double unixMilliseconds() {
    FILETIME time{};
    GetSystemTimeAsFileTime(&time);
    const ULONGLONG ticks =
        (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    // 100 ns ticks since 1601; 11644473600 s lie between 1601 and 1970.
    return static_cast<double>(ticks) / 10000.0 - 11644473600000.0;
}

std::string uriComponent(const std::string& utf8) {
    static const std::string KEPT = "-_.!~*'()";
    std::string encoded;
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
            (byte >= '0' && byte <= '9') || KEPT.find(c) != std::string::npos) {
            encoded += c;
        } else {
            char escape[4];
            std::snprintf(escape, sizeof escape, "%%%02X", byte);
            encoded += escape;
        }
    }
    return encoded;
}

} // namespace e2e
