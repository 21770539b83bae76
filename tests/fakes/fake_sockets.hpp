#pragma once

#include "ports/socket_port.hpp"

#include <algorithm>
#include <deque>
#include <map>
#include <string>
#include <utility>

namespace pal4::testing {

// Connections in memory: a test connects clients, gives them bytes to send, limits how much
// the "system" takes from the tool, and reads what the tool sent and whether it closed.
class FakeSockets final : public SocketPort {
public:
    struct Connection {
        std::string inbound;         // sent by the client, not yet received by the tool
        std::string outbound;        // what the tool sent
        std::size_t room = SIZE_MAX; // bytes the system still takes from the tool
        bool peerGone = false;
        bool wouldBlock = false; // a send took nothing: a Write event follows more room
        bool endSeen = false;    // receive told the tool the peer had ended
        bool closed = false;
        bool reset = false; // closed before the peer's end: the tool holds no TIME_WAIT
    };

    bool listen(std::uint16_t port) override {
        if (refuseListen) {
            return false;
        }
        listening = port;
        return true;
    }
    SocketId accept() override {
        if (waiting_.empty()) {
            return NO_SOCKET;
        }
        const SocketId id = waiting_.front();
        waiting_.pop_front();
        return id;
    }
    std::optional<std::size_t> receive(SocketId id, std::span<char> buffer) override {
        Connection& c = connections.at(id);
        if (c.inbound.empty()) {
            c.endSeen = c.peerGone;
            return c.peerGone ? std::nullopt : std::optional<std::size_t>(0);
        }
        const std::size_t n = std::min(buffer.size(), c.inbound.size());
        std::copy_n(c.inbound.begin(), n, buffer.begin());
        c.inbound.erase(0, n);
        return n;
    }
    std::optional<std::size_t> send(SocketId id, std::string_view bytes) override {
        Connection& c = connections.at(id);
        const std::size_t n = std::min(bytes.size(), c.room);
        c.outbound.append(bytes.substr(0, n));
        c.room -= n;
        c.wouldBlock = c.wouldBlock || (n == 0 && !bytes.empty());
        return n;
    }
    void close(SocketId id) override {
        Connection& c = connections.at(id);
        c.closed = true;
        c.reset = !c.endSeen;
    }
    void setTimer(std::uint32_t milliseconds) override { timerMs = milliseconds; }
    std::uint64_t milliseconds() const override { return now; }
    // Knows the one digest the tests need: RFC 6455's example key with the GUID appended.
    Sha1Digest sha1(std::string_view bytes) const override {
        if (bytes != "dGhlIHNhbXBsZSBub25jZQ==258EAFA5-E914-47DA-95CA-C5AB0DC85B11") {
            return {};
        }
        return {0xb3, 0x7a, 0x4f, 0x2c, 0xc0, 0x62, 0x4f, 0x16, 0x90, 0xf6,
                0x46, 0x06, 0xcf, 0x38, 0x59, 0x45, 0xb2, 0xbe, 0xc4, 0xea};
    }

    // A client connects and, when given, sends its first bytes; the tool hears of both.
    SocketId connect(SocketEvents& server, std::string bytes = {}) {
        const SocketId id = nextId_++;
        connections[id].inbound = std::move(bytes);
        waiting_.push_back(id);
        server.onSocketEvent(NO_SOCKET, SocketEvent::Accept);
        deliver(server, id, SocketEvent::Read);
        return id;
    }
    // Sends bytes from the client and lets the tool read until it has them all.
    void clientSends(SocketEvents& server, SocketId id, std::string bytes) {
        connections.at(id).inbound += bytes;
        deliver(server, id, SocketEvent::Read);
    }
    // The system takes all the tool sends from now on; as Winsock does, it says so only when a
    // send took nothing before.
    void makeRoom(SocketEvents& server, SocketId id) {
        Connection& c = connections.at(id);
        c.room = SIZE_MAX;
        if (std::exchange(c.wouldBlock, false)) {
            deliver(server, id, SocketEvent::Write);
        }
    }
    void deliver(SocketEvents& server, SocketId id, SocketEvent event) {
        do {
            server.onSocketEvent(id, event);
        } while (event == SocketEvent::Read && !connections.at(id).closed &&
                 !connections.at(id).inbound.empty());
    }

    bool refuseListen = false;
    std::uint16_t listening = 0;
    std::uint32_t timerMs = 0;
    std::uint64_t now = 1000;
    std::map<SocketId, Connection> connections;

private:
    std::deque<SocketId> waiting_;
    SocketId nextId_ = 1;
};

} // namespace pal4::testing
