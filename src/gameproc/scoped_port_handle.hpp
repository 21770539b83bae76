#pragma once

#include "ports/game_process_port.hpp"

#include <utility>

namespace pal4 {

// Owns one handle given out by a GameProcessPort and closes it when it goes out of scope, so
// no path out of a primitive (a return, an exception) can leave a process or snapshot open.
// kNoHandle, the platform's "could not", is never closed.
class ScopedPortHandle {
public:
    ScopedPortHandle(GameProcessPort& port, PortHandle handle) : port_(&port), handle_(handle) {}
    ScopedPortHandle(const ScopedPortHandle&) = delete;
    ScopedPortHandle& operator=(const ScopedPortHandle&) = delete;
    ScopedPortHandle(ScopedPortHandle&& other) noexcept
        : port_(other.port_), handle_(std::exchange(other.handle_, kNoHandle)) {}
    ScopedPortHandle& operator=(ScopedPortHandle&& other) noexcept {
        if (this != &other) {
            close();
            port_ = other.port_;
            handle_ = std::exchange(other.handle_, kNoHandle);
        }
        return *this;
    }
    ~ScopedPortHandle() { close(); }

    PortHandle get() const { return handle_; }
    bool valid() const { return handle_ != kNoHandle; }

private:
    void close() {
        if (handle_ != kNoHandle) {
            port_->closeHandle(std::exchange(handle_, kNoHandle));
        }
    }

    GameProcessPort* port_;
    PortHandle handle_;
};

} // namespace pal4
