#pragma once

// Talking to a local web server as a browser or a study tool would: plain HTTP requests and a
// WebSocket client, over blocking Winsock sockets with deadlines. Only 127.0.0.1 is ever dialled.

#include <windows.h>
#include <winsock2.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace e2e {

// Sends `request` to 127.0.0.1:port and returns everything the server sent until it closed or
// the time ran out (empty when nothing could be connected).
std::string httpExchange(std::uint16_t port, std::string_view request, DWORD timeoutMs);

class WebClient {
public:
    WebClient() = default;
    ~WebClient() { close(); }
    WebClient(const WebClient&) = delete;
    WebClient& operator=(const WebClient&) = delete;

    // A TCP connection to 127.0.0.1:port (or another address of this machine, in host order)
    // and nothing more; false when refused.
    bool connect(std::uint16_t port, std::uint32_t address = INADDR_LOOPBACK);
    // Connects and asks for `path` as a WebSocket; true when the server switched protocols.
    bool open(std::uint16_t port, std::string_view path, DWORD timeoutMs = 3000);
    // Bytes as they are, masked or not.
    bool sendRaw(std::string_view bytes);
    bool sendText(std::string_view text); // one masked text frame
    // A send that waits longer fails, and sendTimedOut() says why.
    void setSendTimeout(DWORD timeoutMs);
    bool sendTimedOut() const { return lastSendError_ == WSAETIMEDOUT; }
    // The next text message, answering pings on the way; nothing on a timeout, a close or an
    // error.
    std::optional<std::string> receiveText(DWORD timeoutMs);
    // Whatever has arrived, without waiting; false when the server has closed.
    bool drain();
    // Whether the server ended the connection within the time (reading and dropping bytes).
    bool closedByServer(DWORD timeoutMs);
    void close();
    bool connected() const { return socket_ != INVALID_SOCKET; }

private:
    // Waits for bytes up to the deadline (GetTickCount64); false on a timeout or the end.
    bool receiveMore(ULONGLONG deadline);

    SOCKET socket_ = INVALID_SOCKET;
    std::string buffer_;
    bool ended_ = false;
    int lastSendError_ = 0;
};

} // namespace e2e
