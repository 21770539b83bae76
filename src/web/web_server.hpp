#pragma once

#include "ports/socket_port.hpp"
#include "web/http_request.hpp"
#include "web/websocket_frame.hpp"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pal4 {

// A slow or hostile client costs the tool at most this much: past these it is refused or
// dropped, never waited for.
inline constexpr std::size_t MAX_WEB_CLIENTS = 16;
inline constexpr std::size_t MAX_UNSENT_BYTES = 64 * 1024;
inline constexpr std::uint64_t HANDSHAKE_TIMEOUT_MS = 5000;
// What a feed client may send: a close and pings need far less, and nothing it says is used.
// Past it, the feed closes with 1008.
inline constexpr std::size_t FEED_CLIENT_BUDGET = 64 * 1024;
inline constexpr std::size_t FEED_CLIENT_BYTES_PER_SECOND = 1024;
// Read after an answer that ends the connection, to see the client's end; past it, dropped.
inline constexpr std::size_t AFTER_ANSWER_BUDGET = 4 * 1024;
// How often the deadlines are looked at while a client has one (every socket event looks too).
inline constexpr std::uint32_t DEADLINE_CHECK_MS = 250;
// How often a port another program holds is tried again.
inline constexpr std::uint64_t LISTEN_RETRY_MS = 3000;

// The two WebSocket feeds: each new line as plain text at "/" (what study tools listen to),
// and the subtitle with its style as JSON at "/subtitle" (what the page draws). GET "/" without
// an upgrade is the page itself; every other path is 404.
inline constexpr std::string_view LINE_FEED_PATH = "/";
inline constexpr std::string_view SUBTITLE_FEED_PATH = "/subtitle";

// The tool's web server on the loopback interface. It only speaks: a client can open a feed,
// ping and close, and nothing it sends changes anything in the tool. Every call returns at
// once; the socket port's events drive it from the one message loop. The tool never ends a
// connection first in the ordinary way (see SocketPort::close): after its last answer it waits
// for the client's end, which HTTP's "Connection: close" and a WebSocket close ask for.
class WebServer final : public SocketEvents {
public:
    explicit WebServer(SocketPort& sockets) : sockets_(sockets) {}
    WebServer(const WebServer&) = delete;
    WebServer& operator=(const WebServer&) = delete;

    // Listens on 127.0.0.1 at `port`; false when the platform refuses, and then it tries again
    // every LISTEN_RETRY_MS until it may.
    [[nodiscard]] bool start(std::uint16_t port);
    bool enabled() const { return port_ != 0; }
    bool serving() const { return serving_; }
    std::size_t clientCount() const { return clients_.size(); }

    // A new line, in UTF-8, to every client of the line feed.
    void sendLine(std::string_view utf8);
    // The subtitle's state, to every client of the subtitle feed now, and to each one as it
    // joins.
    void setSubtitleState(std::string json);

    void onSocketEvent(SocketId socket, SocketEvent event) override;
    void onSocketTimer() override;

private:
    enum class Stage { Request, LineFeed, SubtitleFeed, Closing };
    struct Client {
        SocketId id = NO_SOCKET;
        Stage stage = Stage::Request;
        std::uint64_t since = 0;    // when it entered its stage
        std::uint64_t deadline = 0; // for Request and Closing
        std::size_t received = 0;   // bytes it sent in its stage
        RequestHeadReader head;
        FrameReader frames;
        std::string unsent;
        bool peerEnded = false;
        bool gone = false;
    };

    void listenNow();
    Client* find(SocketId socket);
    void acceptWaiting();
    void receive(Client& client);
    bool withinBudget(const Client& client) const;
    void enter(Client& client, Stage stage);
    // web_requests.cpp: what a client asks, and the frames it sends.
    void answer(Client& client);
    void upgrade(Client& client, Stage feed);
    void readFrames(Client& client, std::string_view bytes);
    // Sends what it can now and keeps the rest; a client whose backlog would pass
    // MAX_UNSENT_BYTES is dropped instead.
    void queue(Client& client, std::string_view bytes);
    std::optional<std::size_t> sendSome(Client& client, std::string_view bytes);
    void flush(Client& client);
    // Sends the last bytes; the connection ends once they are out and the client has ended.
    void finishWith(Client& client, std::string_view bytes);
    void closeIfDone(Client& client);
    void peerEnded(Client& client);
    void drop(Client& client);
    void expireDeadlines();
    void keepTimer();
    void sweep();

    SocketPort& sockets_;
    std::uint16_t port_ = 0;
    bool serving_ = false;
    std::uint64_t nextListen_ = 0;
    bool timerRunning_ = false;
    std::string pageResponse_;
    std::string subtitleState_ = "{}";
    std::vector<Client> clients_;
    std::vector<char> readBuffer_;
};

} // namespace pal4
