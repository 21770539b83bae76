#pragma once

// Hostile clients of a local web port, each on a thread of its own, sending as fast as loopback
// allows until stopped: what a careless or malicious program could do to the tool's feeds.

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <vector>

namespace e2e {

enum class FloodKind {
    MaskedFrames,   // a feed opened, then masked binary frames without end
    BodyAfterError, // a request for a path that is not there, then a body without end
    ConnectAndClose // connections opened and closed at once, in a loop
};

class WebFlood {
public:
    // Starts `clients` flooders of each kind.
    WebFlood(std::uint16_t port, int clients);
    ~WebFlood() { stop(); }
    WebFlood(const WebFlood&) = delete;
    WebFlood& operator=(const WebFlood&) = delete;

    void stop();

    // Of the connections that sent without end: how many the server ended, and the longest time
    // from a connection's first byte to its end, in ms. One still open at the stop is not
    // counted, but its age at the stop counts as a time to its end.
    struct Figures {
        int ended = 0;
        double slowestEndMs = 0;
        int loops = 0; // connections opened and closed by the third kind
    };
    Figures figures() const;

private:
    struct Flooder {
        WebFlood* owner = nullptr;
        FloodKind kind = FloodKind::MaskedFrames;
        HANDLE thread = nullptr;
        Figures figures; // written by its thread until it ends
    };
    static DWORD WINAPI run(void* flooder);
    void flood(Flooder& flooder) const;

    std::uint16_t port_;
    std::atomic<bool> stopping_{false};
    std::atomic<ULONGLONG> stoppedAt_{0};
    std::vector<Flooder> flooders_;
};

} // namespace e2e
