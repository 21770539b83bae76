// What a client asks of the web server: its request, its handshake and its frames.
#include "web/web_answers.hpp"
#include "web/web_server.hpp"

namespace pal4 {

void WebServer::answer(Client& client) {
    const HttpRequest& request = client.head.request();
    const bool head = request.method == "HEAD";
    const std::optional<std::string_view> host = request.header("host");
    // A browser source may add a query to defeat caches; the path alone decides.
    const std::optional<std::string_view> path = targetPath(request.target, port_);
    const std::optional<std::string> upgradeHeader = request.combined("upgrade");
    const bool wantsSocket = !head && upgradeHeader && headerHasToken(*upgradeHeader, "websocket");
    std::string response;
    if (request.count("host") != 1 || !isThisHost(*host, port_) || !path) {
        response = plainResponse("400 Bad Request");
    } else if (request.method != "GET" && !head) {
        response = plainResponse("405 Method Not Allowed", "Allow: GET, HEAD\r\n");
    } else if (*path != LINE_FEED_PATH && *path != SUBTITLE_FEED_PATH) {
        response = plainResponse("404 Not Found");
    } else if (!wantsSocket) {
        response = *path == LINE_FEED_PATH
                       ? pageResponse_
                       : plainResponse("426 Upgrade Required", "Upgrade: websocket\r\n");
    } else {
        upgrade(client, *path == LINE_FEED_PATH ? Stage::LineFeed : Stage::SubtitleFeed);
        return;
    }
    finishWith(client, head ? headOf(response) : response);
}

void WebServer::upgrade(Client& client, Stage feed) {
    const HttpRequest& request = client.head.request();
    const std::string_view key = request.header("sec-websocket-key").value_or("");
    const std::optional<std::string> connection = request.combined("connection");
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
    enter(client, feed);
    queue(client, switchingResponse(accept));
    if (feed == Stage::SubtitleFeed) {
        queue(client, encodeFrame(Opcode::Text, subtitleState_));
    }
    if (!early.empty()) {
        client.received = early.size();
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
        case FrameStatus::BadText:
            finishWith(client, encodeCloseFrame(CLOSE_INVALID_DATA));
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
            // Text, binary and pongs count against the client's budget and say nothing.
            break;
        }
    }
}

} // namespace pal4
