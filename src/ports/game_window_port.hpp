#pragma once

#include "core/game_address.hpp"

#include <cstdint>
#include <optional>

namespace pal4 {

// A top-level window of another process, as the system names it; 0 names none.
using WindowId = std::uint64_t;

// Where a window stands on the screen, in screen pixels.
struct WindowPlace {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    bool operator==(const WindowPlace&) const = default;
};

// Whether a window can be seen. A minimised window still exists, but its place then is the
// system's parking place off the screen.
enum class WindowShow { Shown, Minimised, Hidden, Gone };

// The game's windows, as the overlay that lives above them needs them. Each query is one look
// at the system: under Wine each costs a round trip to its server, so callers ask only what
// they need.
class GameWindowPort {
public:
    GameWindowPort() = default;
    GameWindowPort(const GameWindowPort&) = delete;
    GameWindowPort& operator=(const GameWindowPort&) = delete;
    virtual ~GameWindowPort() = default;

    // The largest visible top-level window of the process (a minimised one counts as visible);
    // 0 when it has none. Walks every top-level window: the costly query.
    virtual WindowId findMainWindow(ProcessId process) = 0;
    // Where the window stands; nothing when it no longer exists.
    virtual std::optional<WindowPlace> placeOf(WindowId window) = 0;
    virtual WindowShow showOf(WindowId window) = 0;
    // The window's client area, in screen pixels; nothing when the window no longer exists.
    virtual std::optional<WindowPlace> clientOf(WindowId window) = 0;
    // The window the user works in now, and the window at the top of the z-order.
    virtual WindowId foregroundWindow() = 0;
    virtual WindowId topWindow() = 0;

    // Asks the system to report changes to the process's windows (to the front, moved, minimised,
    // restored, shown, hidden, made, gone) as GameWindowEvents::onGameWindowChanged, as soon as
    // they happen, where the system can. Watching another process replaces the first.
    virtual void watch(ProcessId process) = 0;
    virtual void stopWatching() = 0;
};

// What the game's windows report.
class GameWindowEvents {
public:
    virtual void onGameWindowChanged() = 0;

protected:
    ~GameWindowEvents() = default;
};

} // namespace pal4
