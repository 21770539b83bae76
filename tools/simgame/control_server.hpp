#pragma once

#include "game_state.hpp"
#include "scene_window.hpp"

#include <windows.h>

#include <atomic>
#include <functional>
#include <string>

namespace pal4sim {

// Serves the control channel on a thread of its own: one pipe instance, reused for each
// connection, one request and one reply per connection.
class ControlServer {
public:
    // `onQuit` runs on the server's thread after the quit request has been answered.
    ControlServer(GameState& game, const std::wstring& name, std::function<void()> onQuit);
    ~ControlServer();
    ControlServer(const ControlServer&) = delete;
    ControlServer& operator=(const ControlServer&) = delete;

    // False when the pipe could not be created (for example, the name is taken).
    bool start();
    // The server thread's body: answers requests until the quit request.
    void serve();
    // The game's window, for the window requests; it may be made anew meanwhile.
    void setScene(const SceneWindow* scene) { scene_ = scene; }

private:
    GameState& game_;
    std::wstring pipeName_;
    std::function<void()> onQuit_;
    std::atomic<const SceneWindow*> scene_{nullptr};
    void* pipe_ = nullptr;
    void* thread_ = nullptr;
};

} // namespace pal4sim
