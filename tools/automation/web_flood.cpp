#include "web_flood.hpp"

#include "web_client.hpp"

#include <algorithm>
#include <string>

namespace e2e {

namespace {

constexpr DWORD SEND_TIMEOUT_MS = 200; // so a stalled send sees the stop soon
constexpr std::size_t FRAME_PAYLOAD = 1024;

std::string maskedBinaryFrames() {
    std::string frame = "\x82\xFE";
    frame.push_back(static_cast<char>(FRAME_PAYLOAD >> 8));
    frame.push_back(static_cast<char>(FRAME_PAYLOAD & 0xFF));
    frame += "\x11\x22\x33\x44";
    frame += std::string(FRAME_PAYLOAD, 'x');
    std::string frames;
    for (int i = 0; i < 8; ++i) {
        frames += frame;
    }
    return frames;
}

} // namespace

WebFlood::WebFlood(std::uint16_t port, int clients) : port_(port) {
    const FloodKind kinds[] = {FloodKind::MaskedFrames, FloodKind::BodyAfterError,
                               FloodKind::ConnectAndClose};
    flooders_.resize(static_cast<std::size_t>(clients) * 3);
    for (std::size_t i = 0; i < flooders_.size(); ++i) {
        flooders_[i].owner = this;
        flooders_[i].kind = kinds[i % 3];
    }
    for (Flooder& flooder : flooders_) {
        flooder.thread = CreateThread(nullptr, 0, &WebFlood::run, &flooder, 0, nullptr);
    }
}

void WebFlood::stop() {
    if (!stopping_) {
        stoppedAt_ = GetTickCount64();
        stopping_ = true;
    }
    for (Flooder& flooder : flooders_) {
        if (flooder.thread != nullptr) {
            WaitForSingleObject(flooder.thread, INFINITE);
            CloseHandle(flooder.thread);
            flooder.thread = nullptr;
        }
    }
}

WebFlood::Figures WebFlood::figures() const {
    Figures all;
    for (const Flooder& flooder : flooders_) {
        all.ended += flooder.figures.ended;
        all.slowestEndMs = std::max(all.slowestEndMs, flooder.figures.slowestEndMs);
        all.loops += flooder.figures.loops;
    }
    return all;
}

DWORD WINAPI WebFlood::run(void* flooder) {
    auto& self = *static_cast<Flooder*>(flooder);
    self.owner->flood(self);
    return 0;
}

void WebFlood::flood(Flooder& flooder) const {
    const std::string frames = maskedBinaryFrames();
    const std::string body(8192, 'x');
    const std::string missing =
        "GET /missing HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(port_) +
        "\r\nContent-Length: 1000000000\r\n\r\n";
    while (!stopping_) {
        WebClient client;
        if (flooder.kind == FloodKind::ConnectAndClose) {
            flooder.figures.loops += client.connect(port_) ? 1 : 0;
            continue;
        }
        const bool opened = flooder.kind == FloodKind::MaskedFrames ? client.open(port_, "/")
                                                                    : client.connect(port_);
        if (!opened) {
            Sleep(10);
            continue;
        }
        client.setSendTimeout(SEND_TIMEOUT_MS);
        const ULONGLONG start = GetTickCount64();
        bool ended = flooder.kind == FloodKind::BodyAfterError && !client.sendRaw(missing);
        while (!ended && !stopping_) {
            ended = !client.sendRaw(flooder.kind == FloodKind::MaskedFrames ? frames : body) &&
                    !client.sendTimedOut();
        }
        // One still open at the stop counts by its age then: as slow at least.
        flooder.figures.ended += ended ? 1 : 0;
        const ULONGLONG end = ended ? GetTickCount64() : std::max(start, stoppedAt_.load());
        flooder.figures.slowestEndMs =
            std::max(flooder.figures.slowestEndMs, static_cast<double>(end - start));
    }
}

} // namespace e2e
