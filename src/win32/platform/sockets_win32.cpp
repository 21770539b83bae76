#include "win32/platform/sockets_win32.hpp"

#include "win32/platform/due_timers.hpp"
#include "win32/platform/system_library.hpp"

#include <bcrypt.h>
#include <ws2tcpip.h>

#include <algorithm>
#include <climits>

namespace pal4::win32 {

namespace {

constexpr UINT WM_SOCKET = WM_APP + 1;
constexpr UINT_PTR DEADLINE_TIMER = 1;
constexpr const wchar_t* CLASS_NAME = L"Pal4SubtitlesSockets";
constexpr long CONNECTION_EVENTS = FD_READ | FD_WRITE | FD_CLOSE;
constexpr int MAX_ACCEPT_ATTEMPTS = 16;
// Connections the system holds for the tool, as many as it serves: a loop of connections that
// close at once then waits on the system, not in a queue between the tool and a flooder.
constexpr int PENDING_CONNECTIONS = 16;

// The CNG calls, from bcrypt.dll on first use, like the other system libraries the tool needs
// only sometimes.
struct Cng {
    decltype(&BCryptOpenAlgorithmProvider) openAlgorithm =
        systemFunction<decltype(&BCryptOpenAlgorithmProvider)>(L"bcrypt.dll",
                                                               "BCryptOpenAlgorithmProvider");
    decltype(&BCryptCreateHash) createHash =
        systemFunction<decltype(&BCryptCreateHash)>(L"bcrypt.dll", "BCryptCreateHash");
    decltype(&BCryptHashData) hashData =
        systemFunction<decltype(&BCryptHashData)>(L"bcrypt.dll", "BCryptHashData");
    decltype(&BCryptFinishHash) finishHash =
        systemFunction<decltype(&BCryptFinishHash)>(L"bcrypt.dll", "BCryptFinishHash");
    decltype(&BCryptDestroyHash) destroyHash =
        systemFunction<decltype(&BCryptDestroyHash)>(L"bcrypt.dll", "BCryptDestroyHash");
    BCRYPT_ALG_HANDLE sha1 = nullptr;

    Cng() {
        if (openAlgorithm && createHash && hashData && finishHash && destroyHash &&
            !BCRYPT_SUCCESS(openAlgorithm(&sha1, BCRYPT_SHA1_ALGORITHM, nullptr, 0))) {
            sha1 = nullptr;
        }
    }
};

} // namespace

SocketsWin32::~SocketsWin32() {
    while (!sockets_.empty()) {
        close(sockets_.begin()->first);
    }
    if (listener_ != INVALID_SOCKET) {
        closesocket(listener_);
    }
    if (window_) {
        setDueTimer(window_, DEADLINE_TIMER, 0);
        DestroyWindow(window_);
    }
    if (winsockStarted_) {
        WSACleanup();
    }
}

bool SocketsWin32::makeWindow() {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = &SocketsWin32::procedure;
    windowClass.hInstance = instance_;
    windowClass.lpszClassName = CLASS_NAME;
    if (RegisterClassExW(&windowClass) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        return false;
    }
    // A message-only window: never shown, never enumerated, only a mailbox for the loop.
    window_ =
        CreateWindowExW(0, CLASS_NAME, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance_, this);
    return window_ != nullptr;
}

LRESULT CALLBACK SocketsWin32::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
    }
    auto* self = reinterpret_cast<SocketsWin32*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self != nullptr && self->events_ != nullptr) {
        if (message == WM_SOCKET) {
            self->onSocketMessage(static_cast<SOCKET>(wParam), WSAGETSELECTEVENT(lParam));
            return 0;
        }
        if (message == WM_TIMER && wParam == DEADLINE_TIMER) {
            self->events_->onSocketTimer();
            return 0;
        }
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void SocketsWin32::onSocketMessage(SOCKET socket, WORD event) {
    if (socket == listener_) {
        if (event == FD_ACCEPT) {
            lastAcceptError_ = 0;
            events_->onSocketEvent(NO_SOCKET, SocketEvent::Accept);
            // Asked again, Winsock posts the next notice at once if connections still wait. Under
            // Wine the listener otherwise fell silent for good after a burst of short-lived
            // connections, with more waiting in its queue. Not after a failure other than "none
            // waiting", which would come straight back and spin the loop.
            if (lastAcceptError_ == 0 || lastAcceptError_ == WSAEWOULDBLOCK) {
                WSAAsyncSelect(listener_, window_, WM_SOCKET, FD_ACCEPT);
            }
        }
        return;
    }
    const auto found = ids_.find(socket);
    if (found == ids_.end()) {
        return; // posted before its socket was closed
    }
    const SocketId id = found->second;
    switch (event) {
    case FD_READ:
        events_->onSocketEvent(id, SocketEvent::Read);
        return;
    case FD_WRITE:
        events_->onSocketEvent(id, SocketEvent::Write);
        return;
    case FD_CLOSE: {
        // Only a read says whether the peer has ended: the notice may be a closed socket's whose
        // value Winsock reused, error or not. While bytes are read, the notice comes back.
        receivedBytes_ = false;
        events_->onSocketEvent(id, SocketEvent::Close);
        if (receivedBytes_ && sockets_.contains(id)) {
            PostMessageW(window_, WM_SOCKET, socket, WSAMAKESELECTREPLY(FD_CLOSE, 0));
        }
        return;
    }
    default:
        return;
    }
}

bool SocketsWin32::listen(std::uint16_t port) {
    if (!winsockStarted_) {
        WSADATA data{};
        winsockStarted_ = WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }
    if (!winsockStarted_ || (!window_ && !makeWindow())) {
        return false;
    }
    listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (listener_ == INVALID_SOCKET) {
        return false;
    }
    // No other program may bind the port beside the tool's and take its clients.
    BOOL exclusive = TRUE;
    setsockopt(listener_, SOL_SOCKET, SO_EXCLUSIVEADDRUSE,
               reinterpret_cast<const char*>(&exclusive), sizeof exclusive);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK); // the loopback interface, and no other
    if (::bind(listener_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listener_, PENDING_CONNECTIONS) != 0 ||
        WSAAsyncSelect(listener_, window_, WM_SOCKET, FD_ACCEPT) != 0) {
        closesocket(listener_);
        listener_ = INVALID_SOCKET;
        return false;
    }
    return true;
}

SocketId SocketsWin32::accept() {
    if (listener_ == INVALID_SOCKET) {
        return NO_SOCKET;
    }
    SOCKET socket = INVALID_SOCKET;
    // A connection reset while it waited in the queue fails alone; the next may be fine.
    for (int attempt = 0; attempt < MAX_ACCEPT_ATTEMPTS && socket == INVALID_SOCKET; ++attempt) {
        socket = ::accept(listener_, nullptr, nullptr);
        lastAcceptError_ = socket == INVALID_SOCKET ? WSAGetLastError() : 0;
        if (lastAcceptError_ != WSAECONNABORTED && lastAcceptError_ != WSAECONNRESET) {
            break;
        }
    }
    if (socket == INVALID_SOCKET) {
        return NO_SOCKET;
    }
    // Lines are small and wanted at once: no waiting to fill a segment.
    BOOL noDelay = TRUE;
    setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&noDelay),
               sizeof noDelay);
    if (WSAAsyncSelect(socket, window_, WM_SOCKET, CONNECTION_EVENTS) != 0) {
        closesocket(socket);
        return NO_SOCKET;
    }
    const SocketId id = nextId_++;
    if (nextId_ == NO_SOCKET) {
        nextId_ = 1;
    }
    sockets_[id] = socket;
    ids_[socket] = id;
    return id;
}

SOCKET SocketsWin32::handleOf(SocketId socket) const {
    const auto found = sockets_.find(socket);
    return found == sockets_.end() ? INVALID_SOCKET : found->second;
}

std::optional<std::size_t> SocketsWin32::receive(SocketId socket, std::span<char> buffer) {
    const SOCKET handle = handleOf(socket);
    if (handle == INVALID_SOCKET) {
        return std::nullopt;
    }
    const int length = static_cast<int>(std::min<std::size_t>(buffer.size(), INT_MAX));
    const int got = recv(handle, buffer.data(), length, 0);
    if (got > 0) {
        receivedBytes_ = true;
        return static_cast<std::size_t>(got);
    }
    if (got == SOCKET_ERROR && WSAGetLastError() == WSAEWOULDBLOCK) {
        return 0;
    }
    ended_.insert(socket); // 0: the peer closed; else the connection failed
    return std::nullopt;
}

std::optional<std::size_t> SocketsWin32::send(SocketId socket, std::string_view bytes) {
    const SOCKET handle = handleOf(socket);
    if (handle == INVALID_SOCKET) {
        return std::nullopt;
    }
    const int length = static_cast<int>(std::min<std::size_t>(bytes.size(), INT_MAX));
    const int sent = ::send(handle, bytes.data(), length, 0);
    if (sent >= 0) {
        return static_cast<std::size_t>(sent);
    }
    if (WSAGetLastError() == WSAEWOULDBLOCK) {
        return 0;
    }
    return std::nullopt;
}

void SocketsWin32::close(SocketId socket) {
    const SOCKET handle = handleOf(socket);
    if (handle == INVALID_SOCKET) {
        return;
    }
    if (!ended_.contains(socket)) {
        // A reset: the side that sends the first FIN keeps the connection in TIME_WAIT for
        // minutes, and no listener with SO_EXCLUSIVEADDRUSE can bind while any is left.
        const linger abort{1, 0};
        setsockopt(handle, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&abort),
                   sizeof abort);
    }
    closesocket(handle);
    sockets_.erase(socket);
    ids_.erase(handle);
    ended_.erase(socket);
}

void SocketsWin32::setTimer(std::uint32_t milliseconds) {
    if (!window_) {
        return;
    }
    // Due, not plain: the deadlines that end a flooding client must not starve behind its
    // own socket notices.
    setDueTimer(window_, DEADLINE_TIMER, milliseconds);
}

std::uint64_t SocketsWin32::milliseconds() const {
    return GetTickCount64();
}

Sha1Digest SocketsWin32::sha1(std::string_view bytes) const {
    static const Cng cng;
    Sha1Digest digest{};
    BCRYPT_HASH_HANDLE hash = nullptr;
    if (cng.sha1 == nullptr ||
        !BCRYPT_SUCCESS(cng.createHash(cng.sha1, &hash, nullptr, 0, nullptr, 0, 0))) {
        return digest;
    }
    // An all-zero digest never matches a client's expectation: it refuses the handshake.
    if (!BCRYPT_SUCCESS(cng.hashData(hash,
                                     reinterpret_cast<PUCHAR>(const_cast<char*>(bytes.data())),
                                     static_cast<ULONG>(bytes.size()), 0)) ||
        !BCRYPT_SUCCESS(
            cng.finishHash(hash, digest.data(), static_cast<ULONG>(digest.size()), 0))) {
        digest.fill(0);
    }
    cng.destroyHash(hash);
    return digest;
}

} // namespace pal4::win32
