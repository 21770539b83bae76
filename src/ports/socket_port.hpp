#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace pal4 {

// One connection the port accepted; 0 is none.
using SocketId = std::uint32_t;
inline constexpr SocketId NO_SOCKET = 0;

// What became ready on a connection (or on the listening socket, for Accept).
enum class SocketEvent { Accept, Read, Write, Close };

using Sha1Digest = std::array<std::uint8_t, 20>;

// A listening socket on the loopback interface and the connections it accepts, all
// non-blocking: every call returns at once, and readiness comes back later as an event through
// the program's one message loop, so no client can hold up a subtitle tick. Also the system's
// SHA-1, which the WebSocket handshake needs and which the tool does not write itself.
class SocketPort {
public:
    SocketPort() = default;
    SocketPort(const SocketPort&) = delete;
    SocketPort& operator=(const SocketPort&) = delete;
    virtual ~SocketPort() = default;

    // Listens on 127.0.0.1 at `port`, on no other interface, and no other program may bind the
    // port beside it. False when the platform refuses (another program holds the port, or there
    // is no network stack); it may be asked again.
    [[nodiscard]] virtual bool listen(std::uint16_t port) = 0;
    // A connection waiting on the listening socket, or NO_SOCKET when there is none.
    virtual SocketId accept() = 0;
    // Up to `buffer.size()` bytes that have arrived: 0 when none are there yet, nothing when the
    // peer has ended or the connection failed. The one word on whether a peer has ended: a
    // Close event only says to ask.
    virtual std::optional<std::size_t> receive(SocketId socket, std::span<char> buffer) = 0;
    // How many leading bytes of `bytes` the system took; nothing when the connection failed.
    // A Write event comes only after a call that took none (Winsock's rule): after a short
    // send, send the rest at once.
    virtual std::optional<std::size_t> send(SocketId socket, std::string_view bytes) = 0;
    // Closes the connection at once; no event about it follows. Unless the peer has ended
    // (receive said so), with a reset: the side that ends a connection first keeps its port in
    // TIME_WAIT, which would keep the next start of the tool from listening there.
    virtual void close(SocketId socket) = 0;

    // One periodic timer for the connections' deadlines: 0 stops it.
    virtual void setTimer(std::uint32_t milliseconds) = 0;
    // A monotonic clock, in milliseconds.
    virtual std::uint64_t milliseconds() const = 0;

    virtual Sha1Digest sha1(std::string_view bytes) const = 0;
};

// The events the socket port delivers, one at a time, from the message loop.
class SocketEvents {
public:
    virtual void onSocketEvent(SocketId socket, SocketEvent event) = 0;
    virtual void onSocketTimer() = 0;

protected:
    ~SocketEvents() = default;
};

} // namespace pal4
