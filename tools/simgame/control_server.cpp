#include "control_server.hpp"

#include "control_handler.hpp"
#include "control_protocol.hpp"

#include <windows.h>

#include <string_view>

namespace pal4sim {
namespace {

constexpr DWORD PIPE_BUFFER_SIZE = 64 * 1024;

// One whole message, however many reads it takes; empty on a broken connection or a message
// larger than any valid request.
std::string readMessage(HANDLE pipe) {
    std::string message;
    char chunk[16 * 1024];
    for (;;) {
        DWORD got = 0;
        const BOOL done = ReadFile(pipe, chunk, sizeof chunk, &got, nullptr);
        message.append(chunk, got);
        if (message.size() > control::MAX_REQUEST_SIZE) {
            return {};
        }
        if (done) {
            return message;
        }
        if (GetLastError() != ERROR_MORE_DATA) {
            return {};
        }
    }
}

void writeMessage(HANDLE pipe, std::string_view reply) {
    DWORD written = 0;
    WriteFile(pipe, reply.data(), static_cast<DWORD>(reply.size()), &written, nullptr);
}

// Disconnecting before the client has read the reply would discard it, so wait for the client
// to close its end: the read then fails.
void awaitClientClose(HANDLE pipe) {
    char ignored[256];
    DWORD got = 0;
    while (ReadFile(pipe, ignored, sizeof ignored, &got, nullptr) ||
           GetLastError() == ERROR_MORE_DATA) {
    }
}

DWORD WINAPI serverThread(LPVOID server) {
    static_cast<ControlServer*>(server)->serve();
    return 0;
}

} // namespace

ControlServer::ControlServer(GameState& game, const std::wstring& name,
                             std::function<void()> onQuit)
    : game_(game), pipeName_(std::wstring(control::PIPE_PREFIX) + name),
      onQuit_(std::move(onQuit)) {}

ControlServer::~ControlServer() {
    // The thread blocks in the pipe calls; the process ends right after this, so it is left to
    // the process's end rather than joined.
    if (thread_ != nullptr) {
        CloseHandle(thread_);
    }
}

bool ControlServer::start() {
    HANDLE pipe =
        CreateNamedPipeW(pipeName_.c_str(), PIPE_ACCESS_DUPLEX | FILE_FLAG_FIRST_PIPE_INSTANCE,
                         PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_WAIT, 1, PIPE_BUFFER_SIZE,
                         PIPE_BUFFER_SIZE, 0, nullptr);
    if (pipe == INVALID_HANDLE_VALUE) {
        return false;
    }
    pipe_ = pipe;
    thread_ = CreateThread(nullptr, 0, &serverThread, this, 0, nullptr);
    return thread_ != nullptr;
}

void ControlServer::serve() {
    HANDLE pipe = pipe_;
    for (;;) {
        if (!ConnectNamedPipe(pipe, nullptr) && GetLastError() != ERROR_PIPE_CONNECTED) {
            // Typically a client that came and went before the connect: start afresh.
            DisconnectNamedPipe(pipe);
            Sleep(1);
            continue;
        }
        bool quit = false;
        const std::string request = readMessage(pipe);
        const SceneWindow* scene = scene_;
        const std::string reply =
            handleControlRequest(game_, scene ? scene->handle() : nullptr, request, quit);
        writeMessage(pipe, reply);
        awaitClientClose(pipe);
        DisconnectNamedPipe(pipe);
        if (quit) {
            onQuit_();
            return;
        }
    }
}

} // namespace pal4sim
