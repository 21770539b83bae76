#include "web/web_server.hpp"

#include "web/subtitle_page.hpp"

#include <algorithm>
#include <array>

namespace pal4 {

namespace {

// One read at a time per readiness event: the next event comes while bytes remain, so a client
// that floods the tool shares the message loop with the subtitle's timer instead of taking it.
constexpr std::size_t READ_CHUNK = 4096;
// Connections taken per accept event; more waiting ones raise the event again.
constexpr int ACCEPTS_PER_EVENT = 32;
// A key is 16 random bytes in base64 (RFC 6455, 4.1).
constexpr std::size_t KEY_LENGTH = 24;

std::string plainResponse(std::string_view status, std::string_view extraHeaders = {}) {
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
    const std::string origin = "127.0.0.1:" + std::to_string(port);
    std::string response = "HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=utf-8\r\n"
                           "Content-Length: " +
                           std::to_string(SUBTITLE_PAGE.size()) +
                           "\r\nCache-Control: no-store\r\nX-Content-Type-Options: nosniff\r\n"
                           // The page loads nothing from anywhere; it talks only to its feed.
                           "Content-Security-Policy: default-src 'none'; style-src "
                           "'unsafe-inline'; script-src 'unsafe-inline'; connect-src ws://" +
                           origin + " ws://localhost:" + std::to_string(port) +
                           "\r\nConnection: close\r\n\r\n";
    response += SUBTITLE_PAGE;
    return response;
}

bool isBase64Key(std::string_view key) {
    return key.size() == KEY_LENGTH && key.ends_with("==") &&
           std::all_of(key.begin(), key.end() - 2, [](char c) {
               return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                      c == '+' || c == '/';
           });
}

} // namespace

bool WebServer::start(std::uint16_t port) {
    serving_ = sockets_.listen(port);
    if (serving_) {
        pageResponse_ = pageResponse(port);
    }
    return serving_;
}

void WebServer::sendLine(std::string_view utf8) {
    const std::string frame = encodeFrame(Opcode::Text, utf8);
    for (Client& client : clients_) {
        if (client.stage == Stage::LineFeed) {
            queue(client, frame);
        }
    }
    sweep();
}

void WebServer::setSubtitleState(std::string json) {
    subtitleState_ = std::move(json);
    const std::string frame = encodeFrame(Opcode::Text, subtitleState_);
    for (Client& client : clients_) {
        if (client.stage == Stage::SubtitleFeed) {
            queue(client, frame);
        }
    }
    sweep();
}

void WebServer::onSocketEvent(SocketId socket, SocketEvent event) {
    if (event == SocketEvent::Accept) {
        acceptWaiting();
    } else if (Client* client = find(socket)) {
        switch (event) {
        case SocketEvent::Read:
            receive(*client);
            break;
        case SocketEvent::Write:
            flush(*client);
            break;
        case SocketEvent::Close:
        case SocketEvent::Accept:
            peerEnded(*client);
            break;
        }
    }
    sweep();
}

void WebServer::onSocketTimer() {
    const std::uint64_t now = sockets_.milliseconds();
    bool waiting = false;
    for (Client& client : clients_) {
        if (client.stage != Stage::Request && client.stage != Stage::Closing) {
            continue;
        }
        if (now >= client.deadline) {
            drop(client);
        } else {
            waiting = true;
        }
    }
    if (!waiting && timerRunning_) {
        sockets_.setTimer(0);
        timerRunning_ = false;
    }
    sweep();
}

WebServer::Client* WebServer::find(SocketId socket) {
    const auto found = std::find_if(clients_.begin(), clients_.end(), [socket](const Client& c) {
        return c.id == socket && !c.gone;
    });
    return found == clients_.end() ? nullptr : &*found;
}

void WebServer::acceptWaiting() {
    for (int taken = 0; taken < ACCEPTS_PER_EVENT; ++taken) {
        const SocketId socket = sockets_.accept();
        if (socket == NO_SOCKET) {
            return;
        }
        if (clients_.size() >= MAX_WEB_CLIENTS) {
            // Told once, if the system takes it at once, and closed: a full house waits for no one.
            (void)sockets_.send(socket, plainResponse("503 Service Unavailable"));
            sockets_.close(socket);
            continue;
        }
        Client& client = clients_.emplace_back();
        client.id = socket;
        watchDeadline(client);
    }
}

void WebServer::receive(Client& client) {
    std::array<char, READ_CHUNK> buffer{};
    const std::optional<std::size_t> got = sockets_.receive(client.id, buffer);
    if (!got) {
        peerEnded(client);
        return;
    }
    const std::string_view bytes(buffer.data(), *got);
    if (bytes.empty()) {
        return;
    }
    switch (client.stage) {
    case Stage::Request:
        switch (client.head.feed(bytes)) {
        case HeadStatus::Incomplete:
            return;
        case HeadStatus::TooLarge:
            finishWith(client, plainResponse("431 Request Header Fields Too Large"));
            return;
        case HeadStatus::Malformed:
            finishWith(client, plainResponse("400 Bad Request"));
            return;
        case HeadStatus::Complete:
            answer(client);
            return;
        }
        return;
    case Stage::LineFeed:
    case Stage::SubtitleFeed:
        readFrames(client, bytes);
        return;
    case Stage::Closing:
        return; // read only so the peer's close is seen
    }
}

void WebServer::answer(Client& client) {
    const HttpRequest& request = client.head.request();
    const std::string_view target = request.target;
    // A browser source may add a query to defeat caches; the path alone decides.
    const std::string_view path = target.substr(0, target.find('?'));
    const std::optional<std::string_view> upgradeHeader = request.header("upgrade");
    const bool wantsSocket = upgradeHeader && headerHasToken(*upgradeHeader, "websocket");
    if (request.method != "GET") {
        finishWith(client, plainResponse("405 Method Not Allowed", "Allow: GET\r\n"));
    } else if (path != LINE_FEED_PATH && path != SUBTITLE_FEED_PATH) {
        finishWith(client, plainResponse("404 Not Found"));
    } else if (!wantsSocket) {
        if (path == LINE_FEED_PATH) {
            finishWith(client, pageResponse_);
        } else {
            finishWith(client, plainResponse("426 Upgrade Required", "Upgrade: websocket\r\n"));
        }
    } else {
        upgrade(client, path == LINE_FEED_PATH ? Stage::LineFeed : Stage::SubtitleFeed);
    }
}

void WebServer::upgrade(Client& client, Stage feed) {
    const HttpRequest& request = client.head.request();
    const std::string_view key = request.header("sec-websocket-key").value_or("");
    const std::optional<std::string_view> connection = request.header("connection");
    if (request.header("sec-websocket-version") != "13") {
        finishWith(client, plainResponse("426 Upgrade Required", "Sec-WebSocket-Version: 13\r\n"));
        return;
    }
    if (!connection || !headerHasToken(*connection, "upgrade") || !isBase64Key(key)) {
        finishWith(client, plainResponse("400 Bad Request"));
        return;
    }
    const Sha1Digest digest = sockets_.sha1(std::string(key) + std::string(WEBSOCKET_GUID));
    const std::string accept =
        base64(std::string_view(reinterpret_cast<const char*>(digest.data()), digest.size()));
    const std::string early = client.head.rest();
    client.head = RequestHeadReader{};
    client.stage = feed;
    queue(client, "HTTP/1.1 101 Switching Protocols\r\nUpgrade: websocket\r\n"
                  "Connection: Upgrade\r\nSec-WebSocket-Accept: " +
                      accept + "\r\n\r\n");
    if (feed == Stage::SubtitleFeed) {
        queue(client, encodeFrame(Opcode::Text, subtitleState_));
    }
    if (!early.empty()) {
        readFrames(client, early);
    }
}

void WebServer::readFrames(Client& client, std::string_view bytes) {
    client.frames.append(bytes);
    ClientFrame frame;
    while (!client.gone && client.stage != Stage::Closing) {
        switch (client.frames.next(frame)) {
        case FrameStatus::Incomplete:
            return;
        case FrameStatus::ProtocolError:
            finishWith(client, encodeCloseFrame(CLOSE_PROTOCOL_ERROR));
            return;
        case FrameStatus::TooBig:
            finishWith(client, encodeCloseFrame(CLOSE_TOO_BIG));
            return;
        case FrameStatus::Frame:
            if (frame.opcode == Opcode::Ping) {
                queue(client, encodeFrame(Opcode::Pong, frame.payload));
            } else if (frame.opcode == Opcode::Close) {
                finishWith(client, encodeCloseFrame(CLOSE_NORMAL));
            }
            // Text, binary and pongs are read and forgotten: nothing a client says changes
            // anything.
            break;
        }
    }
}

void WebServer::queue(Client& client, std::string_view bytes) {
    if (client.gone || client.sendingShut) {
        return;
    }
    if (client.unsent.empty()) {
        const std::optional<std::size_t> sent = sockets_.send(client.id, bytes);
        if (!sent) {
            drop(client);
            return;
        }
        bytes.remove_prefix(std::min(*sent, bytes.size()));
    }
    if (client.unsent.size() + bytes.size() > MAX_UNSENT_BYTES) {
        drop(client);
        return;
    }
    client.unsent.append(bytes);
}

void WebServer::flush(Client& client) {
    if (!client.unsent.empty()) {
        const std::optional<std::size_t> sent = sockets_.send(client.id, client.unsent);
        if (!sent) {
            drop(client);
            return;
        }
        client.unsent.erase(0, std::min(*sent, client.unsent.size()));
    }
    closeIfDone(client);
}

void WebServer::finishWith(Client& client, std::string_view bytes) {
    queue(client, bytes);
    client.stage = Stage::Closing;
    watchDeadline(client);
    closeIfDone(client);
}

void WebServer::closeIfDone(Client& client) {
    if (client.gone || client.stage != Stage::Closing || !client.unsent.empty() ||
        client.sendingShut) {
        return;
    }
    // The peer reads to the end and closes; closing first, with its bytes unread, would reset
    // the connection and could lose the answer. The deadline ends a peer that never closes.
    sockets_.shutdownSending(client.id);
    client.sendingShut = true;
}

void WebServer::peerEnded(Client& client) {
    // A client that shut its sending side after the request still reads: its answer goes out
    // whole before the connection ends, or the deadline ends it.
    if (client.stage == Stage::Closing && !client.unsent.empty()) {
        return;
    }
    drop(client);
}

void WebServer::drop(Client& client) {
    if (!client.gone) {
        sockets_.close(client.id);
        client.gone = true;
    }
}

void WebServer::watchDeadline(Client& client) {
    client.deadline = sockets_.milliseconds() + HANDSHAKE_TIMEOUT_MS;
    if (!timerRunning_) {
        sockets_.setTimer(DEADLINE_CHECK_MS);
        timerRunning_ = true;
    }
}

void WebServer::sweep() {
    std::erase_if(clients_, [](const Client& client) { return client.gone; });
}

} // namespace pal4
