#include "web/web_server.hpp"

#include "web/web_answers.hpp"

#include <algorithm>

namespace pal4 {

namespace {

// One read at a time per readiness event: the next event comes while bytes remain, so a client
// that floods the tool shares the message loop with the rest of the tool instead of taking it.
// As large as a feed client's whole budget, so a flooder is ended in two or three events.
constexpr std::size_t READ_CHUNK = 64 * 1024;
// Connections taken per accept event; more waiting ones raise the event again, after the
// messages already queued.
constexpr int ACCEPTS_PER_EVENT = 4;

} // namespace

bool WebServer::start(std::uint16_t port) {
    port_ = port;
    pageResponse_ = pageResponse(port);
    listenNow();
    return serving_;
}

void WebServer::listenNow() {
    serving_ = sockets_.listen(port_);
    nextListen_ = sockets_.milliseconds() + LISTEN_RETRY_MS;
    keepTimer();
}

void WebServer::sendLine(std::string_view utf8) {
    const std::string frame = encodeFrame(Opcode::Text, utf8);
    for (Client& client : clients_) {
        if (client.stage == Stage::LineFeed) {
            queue(client, frame);
        }
    }
    sweep();
}

void WebServer::setSubtitleState(std::string json) {
    subtitleState_ = std::move(json);
    const std::string frame = encodeFrame(Opcode::Text, subtitleState_);
    for (Client& client : clients_) {
        if (client.stage == Stage::SubtitleFeed) {
            queue(client, frame);
        }
    }
    sweep();
}

void WebServer::onSocketEvent(SocketId socket, SocketEvent event) {
    // A client that keeps its socket busy must not outlive its deadline for want of a timer.
    expireDeadlines();
    if (event == SocketEvent::Accept) {
        acceptWaiting();
    } else if (Client* client = find(socket)) {
        if (event == SocketEvent::Write) {
            flush(*client);
        } else {
            receive(*client); // a Close event too: receive says whether the peer has ended
        }
    }
    sweep();
    keepTimer();
}

void WebServer::onSocketTimer() {
    expireDeadlines();
    if (!serving_ && port_ != 0 && sockets_.milliseconds() >= nextListen_) {
        listenNow();
    }
    sweep();
    keepTimer();
}

WebServer::Client* WebServer::find(SocketId socket) {
    const auto found = std::find_if(clients_.begin(), clients_.end(), [socket](const Client& c) {
        return c.id == socket && !c.gone;
    });
    return found == clients_.end() ? nullptr : &*found;
}

void WebServer::acceptWaiting() {
    for (int taken = 0; taken < ACCEPTS_PER_EVENT; ++taken) {
        const SocketId socket = sockets_.accept();
        if (socket == NO_SOCKET) {
            return;
        }
        if (clients_.size() >= MAX_WEB_CLIENTS) {
            // Told once, if the system takes it at once, and closed: a full house waits for no one.
            (void)sockets_.send(socket, plainResponse("503 Service Unavailable"));
            sockets_.close(socket);
            continue;
        }
        Client& client = clients_.emplace_back();
        client.id = socket;
        enter(client, Stage::Request);
    }
}

void WebServer::receive(Client& client) {
    readBuffer_.resize(READ_CHUNK);
    const std::optional<std::size_t> got = sockets_.receive(client.id, readBuffer_);
    if (!got) {
        peerEnded(client);
        return;
    }
    const std::string_view bytes(readBuffer_.data(), *got);
    client.received += bytes.size();
    if (bytes.empty()) {
        return;
    }
    switch (client.stage) {
    case Stage::Request:
        switch (client.head.feed(bytes)) {
        case HeadStatus::Incomplete:
            return;
        case HeadStatus::TooLarge:
            finishWith(client, plainResponse("431 Request Header Fields Too Large"));
            return;
        case HeadStatus::Malformed:
            finishWith(client, plainResponse("400 Bad Request"));
            return;
        case HeadStatus::Complete:
            answer(client);
            return;
        }
        return;
    case Stage::LineFeed:
    case Stage::SubtitleFeed:
        if (!withinBudget(client)) {
            finishWith(client, encodeCloseFrame(CLOSE_POLICY));
        } else {
            readFrames(client, bytes);
        }
        return;
    case Stage::Closing:
        // Read only so the client's end is seen; one that goes on sending is not waited for.
        if (client.received > AFTER_ANSWER_BUDGET) {
            drop(client);
        }
        return;
    }
}

bool WebServer::withinBudget(const Client& client) const {
    const std::uint64_t age = sockets_.milliseconds() - client.since;
    return client.received <= FEED_CLIENT_BUDGET + age * FEED_CLIENT_BYTES_PER_SECOND / 1000;
}

void WebServer::enter(Client& client, Stage stage) {
    client.stage = stage;
    client.since = sockets_.milliseconds();
    client.deadline = client.since + HANDSHAKE_TIMEOUT_MS;
    client.received = 0;
}

void WebServer::queue(Client& client, std::string_view bytes) {
    if (client.gone) {
        return;
    }
    if (client.unsent.empty()) {
        const std::optional<std::size_t> sent = sendSome(client, bytes);
        if (!sent) {
            drop(client);
            return;
        }
        bytes.remove_prefix(*sent);
    }
    if (client.unsent.size() + bytes.size() > MAX_UNSENT_BYTES) {
        drop(client);
        return;
    }
    client.unsent.append(bytes);
}

std::optional<std::size_t> WebServer::sendSome(Client& client, std::string_view bytes) {
    // Until the system takes nothing: only that arms the Write event for the rest.
    std::size_t total = 0;
    while (total < bytes.size()) {
        const std::optional<std::size_t> sent = sockets_.send(client.id, bytes.substr(total));
        if (!sent) {
            return std::nullopt;
        }
        if (*sent == 0) {
            break;
        }
        total += std::min(*sent, bytes.size() - total);
    }
    return total;
}

void WebServer::flush(Client& client) {
    if (!client.unsent.empty()) {
        const std::optional<std::size_t> sent = sendSome(client, client.unsent);
        if (!sent) {
            drop(client);
            return;
        }
        client.unsent.erase(0, *sent);
    }
    closeIfDone(client);
}

void WebServer::finishWith(Client& client, std::string_view bytes) {
    queue(client, bytes);
    enter(client, Stage::Closing);
    closeIfDone(client);
}

void WebServer::closeIfDone(Client& client) {
    if (client.stage == Stage::Closing && client.unsent.empty() && client.peerEnded) {
        drop(client);
    }
}

void WebServer::peerEnded(Client& client) {
    client.peerEnded = true;
    // A client that shut its sending side after the request still reads: its answer goes out
    // whole before the connection ends, or the deadline ends it.
    if (client.stage != Stage::Closing || client.unsent.empty()) {
        drop(client);
    }
}

void WebServer::drop(Client& client) {
    if (!client.gone) {
        sockets_.close(client.id);
        client.gone = true;
    }
}

void WebServer::expireDeadlines() {
    const std::uint64_t now = sockets_.milliseconds();
    for (Client& client : clients_) {
        if ((client.stage == Stage::Request || client.stage == Stage::Closing) &&
            now >= client.deadline) {
            drop(client);
        }
    }
}

void WebServer::keepTimer() {
    const bool wanted = (!serving_ && port_ != 0) ||
                        std::any_of(clients_.begin(), clients_.end(), [](const Client& client) {
                            return !client.gone && (client.stage == Stage::Request ||
                                                    client.stage == Stage::Closing);
                        });
    if (wanted != timerRunning_) {
        sockets_.setTimer(wanted ? DEADLINE_CHECK_MS : 0);
        timerRunning_ = wanted;
    }
}

void WebServer::sweep() {
    std::erase_if(clients_, [](const Client& client) { return client.gone; });
}

} // namespace pal4
