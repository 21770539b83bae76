#pragma once

#include "ports/socket_port.hpp"

#include <windows.h>
#include <winsock2.h>

#include <map>
#include <set>

namespace pal4::win32 {

// The socket port over Winsock. Every socket is non-blocking, and WSAAsyncSelect posts its
// readiness to a message-only window of the one thread, so connections are served between the
// panel's and the overlay's messages by the same loop and never make it wait. The deadline
// timer is a timer of the same window. SHA-1 is the system's (CNG, bcrypt.dll, loaded the first
// time a client asks for a WebSocket).
class SocketsWin32 final : public SocketPort {
public:
    explicit SocketsWin32(HINSTANCE instance) : instance_(instance) {}
    ~SocketsWin32() override;

    void bind(SocketEvents& events) { events_ = &events; }

    bool listen(std::uint16_t port) override;
    SocketId accept() override;
    std::optional<std::size_t> receive(SocketId socket, std::span<char> buffer) override;
    std::optional<std::size_t> send(SocketId socket, std::string_view bytes) override;
    void close(SocketId socket) override;
    void setTimer(std::uint32_t milliseconds) override;
    std::uint64_t milliseconds() const override;
    Sha1Digest sha1(std::string_view bytes) const override;

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void onSocketMessage(SOCKET socket, WORD event);
    bool makeWindow();
    SOCKET handleOf(SocketId socket) const;

    HINSTANCE instance_;
    HWND window_ = nullptr;
    SocketEvents* events_ = nullptr;
    bool winsockStarted_ = false;
    SOCKET listener_ = INVALID_SOCKET;
    int lastAcceptError_ = 0; // of the last accept: 0, or the Winsock error
    // The port's ids are the adapter's own: a SOCKET is pointer-sized, and Winsock may give a
    // closed socket's value to the next one, whose events must not reach the old client.
    std::map<SocketId, SOCKET> sockets_;
    std::map<SOCKET, SocketId> ids_;
    std::set<SocketId> ended_;   // whose peer has ended, as a read said
    bool receivedBytes_ = false; // by a read during the notice being handled
    SocketId nextId_ = 1;
};

} // namespace pal4::win32
