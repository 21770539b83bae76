#include "web_client.hpp"

#include <ws2tcpip.h>

#include <algorithm>

namespace e2e {

namespace {

bool winsockReady() {
    static const bool ready = [] {
        WSADATA data{};
        return WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    return ready;
}

SOCKET connectTo(std::uint16_t port, std::uint32_t host = INADDR_LOOPBACK) {
    if (!winsockReady()) {
        return INVALID_SOCKET;
    }
    const SOCKET socket = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (socket == INVALID_SOCKET) {
        return socket;
    }
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(host);
    if (::connect(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        closesocket(socket);
        return INVALID_SOCKET;
    }
    BOOL noDelay = TRUE;
    setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&noDelay),
               sizeof noDelay);
    return socket;
}

// Readable within the time (or at once with 0).
bool readable(SOCKET socket, DWORD timeoutMs) {
    fd_set set;
    FD_ZERO(&set);
    FD_SET(socket, &set);
    timeval wait{static_cast<long>(timeoutMs / 1000), static_cast<long>(timeoutMs % 1000) * 1000};
    return select(0, &set, nullptr, nullptr, &wait) == 1;
}

bool sendAll(SOCKET socket, std::string_view bytes) {
    while (!bytes.empty()) {
        const int sent = ::send(socket, bytes.data(), static_cast<int>(bytes.size()), 0);
        if (sent <= 0) {
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(sent));
    }
    return true;
}

DWORD remaining(ULONGLONG deadline) {
    const ULONGLONG now = GetTickCount64();
    return now >= deadline ? 0 : static_cast<DWORD>(deadline - now);
}

std::string maskedFrame(unsigned char opcode, std::string_view payload) {
    std::string frame(1, static_cast<char>(0x80 | opcode));
    const std::size_t size = payload.size();
    if (size < 126) {
        frame.push_back(static_cast<char>(0x80 | size));
    } else {
        frame.push_back(static_cast<char>(0x80 | 126));
        frame.push_back(static_cast<char>((size >> 8) & 0xFF));
        frame.push_back(static_cast<char>(size & 0xFF));
    }
    const char mask[4] = {0x5A, 0x13, 0x7C, 0x21};
    frame.append(mask, 4);
    for (std::size_t i = 0; i < size; ++i) {
        frame.push_back(static_cast<char>(payload[i] ^ mask[i % 4]));
    }
    return frame;
}

// A head and as many bytes as its Content-Length says.
bool wholeAnswer(const std::string& answer) {
    const std::size_t end = answer.find("\r\n\r\n");
    const std::size_t length = answer.find("\r\nContent-Length: ");
    return end != std::string::npos && length < end &&
           answer.size() - end - 4 >= std::stoul(answer.substr(length + 18));
}

} // namespace

std::string httpExchange(std::uint16_t port, std::string_view request, DWORD timeoutMs) {
    const SOCKET socket = connectTo(port);
    if (socket == INVALID_SOCKET) {
        return {};
    }
    std::string answer;
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    if (sendAll(socket, request)) {
        char chunk[4096];
        // Until the whole answer is in: the server waits for its client to end the connection.
        while (!wholeAnswer(answer) && readable(socket, remaining(deadline))) {
            const int got = recv(socket, chunk, sizeof chunk, 0);
            if (got <= 0) {
                break;
            }
            answer.append(chunk, static_cast<std::size_t>(got));
        }
    }
    closesocket(socket);
    return answer;
}

bool WebClient::connect(std::uint16_t port, std::uint32_t address) {
    close();
    socket_ = connectTo(port, address);
    return connected();
}

bool WebClient::open(std::uint16_t port, std::string_view path, DWORD timeoutMs) {
    if (!connect(port)) {
        return false;
    }
    const std::string request = "GET " + std::string(path) +
                                " HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(port) +
                                "\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n"
                                "Sec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\n"
                                "Sec-WebSocket-Version: 13\r\n\r\n";
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    if (!sendRaw(request)) {
        return false;
    }
    while (buffer_.find("\r\n\r\n") == std::string::npos) {
        if (!receiveMore(deadline)) {
            close();
            return false;
        }
    }
    const std::size_t end = buffer_.find("\r\n\r\n") + 4;
    const bool switched =
        buffer_.starts_with("HTTP/1.1 101 ") &&
        buffer_.find("Sec-WebSocket-Accept: s3pPLMBiTxaQ9kYGzzhZRbK+xOo=\r\n") < end;
    buffer_.erase(0, end);
    if (!switched) {
        close();
    }
    return switched;
}

bool WebClient::sendRaw(std::string_view bytes) {
    lastSendError_ = 0;
    if (!connected()) {
        return false;
    }
    const bool sent = sendAll(socket_, bytes);
    lastSendError_ = sent ? 0 : WSAGetLastError();
    return sent;
}

void WebClient::setSendTimeout(DWORD timeoutMs) {
    setsockopt(socket_, SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<const char*>(&timeoutMs),
               sizeof timeoutMs);
}

bool WebClient::sendText(std::string_view text) {
    return sendRaw(maskedFrame(0x1, text));
}

bool WebClient::receiveMore(ULONGLONG deadline) {
    if (!connected() || ended_ || !readable(socket_, remaining(deadline))) {
        return false;
    }
    char chunk[16384];
    const int got = recv(socket_, chunk, sizeof chunk, 0);
    if (got <= 0) {
        ended_ = true;
        return false;
    }
    buffer_.append(chunk, static_cast<std::size_t>(got));
    return true;
}

std::optional<std::string> WebClient::receiveText(DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        if (buffer_.size() >= 2) {
            const auto byte = [&](std::size_t at) {
                return static_cast<unsigned char>(buffer_[at]);
            };
            std::uint64_t size = byte(1) & 0x7Fu;
            std::size_t header = 2;
            if (size >= 126) {
                header = size == 126 ? 4 : 10;
                size = 0;
                for (std::size_t i = 2; i < header && i < buffer_.size(); ++i) {
                    size = size << 8 | byte(i);
                }
            }
            if (buffer_.size() >= header && buffer_.size() - header >= size) {
                const unsigned opcode = byte(0) & 0x0Fu;
                std::string payload = buffer_.substr(header, static_cast<std::size_t>(size));
                buffer_.erase(0, header + static_cast<std::size_t>(size));
                if (opcode == 0x1) {
                    return payload;
                }
                if (opcode == 0x8) {
                    return std::nullopt;
                }
                if (opcode == 0x9) {
                    sendRaw(maskedFrame(0xA, payload));
                }
                continue;
            }
        }
        if (!receiveMore(deadline)) {
            return std::nullopt;
        }
    }
}

bool WebClient::drain() {
    while (connected() && !ended_ && readable(socket_, 0)) {
        receiveMore(GetTickCount64());
        buffer_.clear();
    }
    return connected() && !ended_;
}

bool WebClient::closedByServer(DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    while (receiveMore(deadline)) {
        buffer_.clear();
    }
    return ended_;
}

void WebClient::close() {
    if (socket_ != INVALID_SOCKET) {
        closesocket(socket_);
        socket_ = INVALID_SOCKET;
    }
    buffer_.clear();
    ended_ = false;
}

} // namespace e2e
