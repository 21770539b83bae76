#include "web_phases.hpp"

#include "browser_page.hpp"
#include "latency_phase.hpp"
#include "latency_stats.hpp"
#include "perf_counter.hpp"
#include "phase_marks.hpp"
#include "simgame_client.hpp"
#include "tool_process.hpp"
#include "wait_until.hpp"
#include "web_client.hpp"
#include "web_flood.hpp"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

namespace pal4bench {

namespace {

constexpr DWORD LINE_PERIOD_MS = 100;
constexpr DWORD SETTLE_MS = 500;
constexpr DWORD ARRIVAL_TIMEOUT_MS = 2000;
constexpr int FEED_CLIENTS = 16;
// Numbered apart from the other phases' lines, so none repeats one of theirs.
constexpr int FIRST_LINE = 500000;

void writeSettings(const std::wstring& toolExe, const std::string& lines) {
    std::ofstream(std::filesystem::path(toolExe).parent_path() / L"Pal4_Corvel.ini",
                  std::ios::binary | std::ios::trunc)
        << "[config]\r\n"
        << lines;
}

std::unique_ptr<ToolProcess> startTool(const ScenarioOptions& options) {
    auto tool = std::make_unique<ToolProcess>(options.toolExe);
    if (!tool->waitForPanel(15000)) {
        throw std::runtime_error("the tool's panel did not appear");
    }
    mark("tool-started");
    tool->pressToggle();
    if (!tool->waitForOverlay(true, 5000)) {
        throw std::runtime_error("the overlay did not open");
    }
    Sleep(SETTLE_MS);
    return tool;
}

// Ten new lines a second for `seconds`, the clients reading what comes as a study tool would.
void playFor(pal4sim::SimGame& game, int seconds, int& next,
             std::vector<std::unique_ptr<e2e::WebClient>>& clients) {
    const ULONGLONG start = GetTickCount64();
    for (int i = 0; i < seconds * 10; ++i) {
        game.setText(dialogueLine(next++));
        const ULONGLONG due = start + static_cast<ULONGLONG>(i + 1) * LINE_PERIOD_MS;
        while (GetTickCount64() < due) {
            for (auto& client : clients) {
                client->drain();
            }
            Sleep(10);
        }
    }
}

void markLatencies(const char* name, std::vector<double> values, int missed) {
    char figures[160];
    std::snprintf(figures, sizeof figures, "%zu %d %.1f %.1f %.1f", values.size(), missed,
                  percentile(values, 0.5), percentile(values, 0.95), percentile(values, 1.0));
    mark(name, figures);
}

// From the game's stamp of each write to the plain client's receipt of the line.
void plainLatency(pal4sim::SimGame& game, std::uint16_t port, int lines, int& next) {
    e2e::WebClient client;
    if (!client.open(port, "/")) {
        complain("the line feed refused a client");
        return;
    }
    std::vector<double> latencies;
    int missed = 0;
    for (int i = 0; i < lines; ++i) {
        const auto stored = game.setTextStamped(dialogueLine(next++));
        const auto received = client.receiveText(ARRIVAL_TIMEOUT_MS);
        const std::int64_t now = counterNow();
        if (!stored || !received) {
            ++missed;
            continue;
        }
        latencies.push_back(ticksToMs(now - stored->counter, counterFrequency()));
        Sleep(static_cast<DWORD>(37 * i % 100)); // off the rhythm of the tool's tick
    }
    markLatencies("web-latency", latencies, missed);
}

// From just before each write to the page's own time of the change, on the same clock.
void pageLatency(pal4sim::SimGame& game, std::uint16_t port, int browserPort, int lines,
                 int& next) {
    e2e::BrowserPage page(static_cast<std::uint16_t>(browserPort),
                          "http://127.0.0.1:" + std::to_string(port) + "/");
    const char* watch =
        "(function () { var line = document.getElementById('line'); if (!line) return 'none';"
        " window.pal4Changes = [];"
        " new MutationObserver(function () { window.pal4Changes.push(Date.now()); })"
        ".observe(line, {childList: true, characterData: true, subtree: true}); return 'ok'; })()";
    if (!e2e::waitUntil([&] { return page.evaluate(watch) == "ok"; }, 10000, 100)) {
        complain("the page did not load in the browser");
        return;
    }
    std::vector<double> latencies;
    int missed = 0;
    for (int i = 0; i < lines; ++i) {
        const int n = next++;
        const double written = e2e::unixMilliseconds();
        game.setText(dialogueLine(n));
        // "第N句": the page's text, as encodeURIComponent writes it.
        const std::string shown = "%E7%AC%AC" + std::to_string(n) + "%E5%8F%A5";
        const bool seen = e2e::waitUntil(
            [&] {
                return page.evaluate("encodeURIComponent(document.getElementById('line')"
                                     ".textContent)") == shown;
            },
            ARRIVAL_TIMEOUT_MS, 5);
        const std::string changed =
            page.evaluate("String(window.pal4Changes[window.pal4Changes.length - 1])");
        if (!seen || changed.empty()) {
            ++missed;
            continue;
        }
        latencies.push_back(std::stod(changed) - written);
        Sleep(static_cast<DWORD>(37 * i % 100));
    }
    markLatencies("page-latency", latencies, missed);
}

// One, then four flooders of each kind (masked frames on a feed, a body without end after a 404,
// connections opened and closed in a loop), while the subtitle's latency is measured on the
// screen and a study tool connected beforehand reads the lines.
void floods(pal4sim::SimGame& game, const ToolProcess& tool, std::uint16_t port, int lines) {
    for (const int count : {1, 4}) {
        e2e::WebClient reader;
        if (!reader.open(port, "/")) {
            complain("the line feed refused a client before a flood");
            return;
        }
        e2e::WebFlood flood(port, count);
        Sleep(SETTLE_MS);
        const LatencyReport latency = measureLatency(game, onScreen(tool.overlay()), lines);
        flood.stop();
        int received = 0;
        while (reader.receiveText(ARRIVAL_TIMEOUT_MS)) {
            ++received;
        }
        const e2e::WebFlood::Figures figures = flood.figures();
        char text[200];
        std::snprintf(text, sizeof text, "%d %zu %zu %.1f %.1f %.1f %d %.0f %d %d", count,
                      latency.measured, latency.missed, latency.medianMs, latency.p95Ms,
                      latency.maxMs, figures.ended, figures.slowestEndMs, figures.loops, received);
        mark("flood", text);
    }
}

// 200 bad clients of six kinds, a new line every ten of them; then whether the tool ended them
// all and serves the next good client.
void abuse(pal4sim::SimGame& game, const ToolProcess& tool, std::uint16_t port, int count,
           int& next) {
    std::vector<std::unique_ptr<e2e::WebClient>> bad;
    int played = 0;
    int taken = 0;
    std::uint32_t noise = 12345;
    for (int i = 0; i < count; ++i) {
        auto client = std::make_unique<e2e::WebClient>();
        switch (i % 6) {
        case 0: { // random bytes
            std::string bytes(2048, '\0');
            for (char& c : bytes) {
                noise = noise * 1103515245u + 12345u;
                c = static_cast<char>(noise >> 24);
            }
            if (client->connect(port)) {
                client->sendRaw(bytes);
            }
            break;
        }
        case 1: // a head over 8 KiB
            if (client->connect(port)) {
                client->sendRaw("GET / HTTP/1.1\r\nX: " + std::string(9000, 'a') + "\r\n\r\n");
            }
            break;
        case 2: // a request that never ends
            if (client->connect(port)) {
                client->sendRaw("GET / HTTP/1.1\r\nHost: 127.0.0.1\r\n");
            }
            break;
        case 3: // an unmasked frame
            if (client->open(port, "/")) {
                client->sendRaw("\x81\x05Hello");
            }
            break;
        case 4: // a frame over 4 KiB
            if (client->open(port, "/subtitle")) {
                client->sendRaw(std::string("\x82\xFE\x20\x00", 4) + std::string(4 + 8192, 'x'));
            }
            break;
        default: // a handshake, and gone
            client->open(port, "/subtitle");
            client->close();
            break;
        }
        bad.push_back(std::move(client));
        if (i % 10 == 9) {
            const std::string line = dialogueLine(next++);
            game.setText(line);
            ++played;
            wchar_t wide[64] = {};
            MultiByteToWideChar(936, 0, line.data(), static_cast<int>(line.size()), wide, 63);
            taken += e2e::waitUntil([&] { return tool.editText() == wide; }, 1000, 5) ? 1 : 0;
        }
    }
    int ended = 0;
    std::string lasting; // the kinds of those the tool did not end, for the note
    const ULONGLONG deadline = GetTickCount64() + 8000;
    for (std::size_t i = 0; i < bad.size(); ++i) {
        const ULONGLONG now = GetTickCount64();
        if (!bad[i]->connected() ||
            bad[i]->closedByServer(now < deadline ? static_cast<DWORD>(deadline - now) : 0)) {
            ++ended;
        } else {
            lasting += std::to_string(i % 6);
        }
    }
    bad.clear();
    e2e::WebClient good;
    bool served = good.open(port, "/");
    if (served) {
        game.setText(dialogueLine(next++));
        served = good.receiveText(ARRIVAL_TIMEOUT_MS).has_value();
    }
    mark("abuse", std::to_string(count) + " " + std::to_string(ended) + " " +
                      std::to_string(taken) + " " + std::to_string(played) + " " +
                      (served ? "yes" : "no") + " " + (lasting.empty() ? "-" : lasting));
}

int runPhases(const ScenarioOptions& options, const WebOptions& web) {
    const auto port = static_cast<std::uint16_t>(web.port);
    pal4sim::SimGameLaunch launch;
    launch.exePath = options.gameExe;
    pal4sim::SimGame game(launch);
    game.setMarker(474.0f);
    int next = FIRST_LINE;
    std::vector<std::unique_ptr<e2e::WebClient>> clients;

    writeSettings(options.toolExe, "");
    {
        auto tool = startTool(options);
        mark("cpu-begin", "web-off");
        playFor(game, web.seconds, next, clients);
        mark("cpu-end", "web-off");
    }
    writeSettings(options.toolExe, "webport=" + std::to_string(web.port) + "\r\n");
    auto tool = startTool(options);
    for (int i = 0; i < FEED_CLIENTS; ++i) {
        clients.push_back(std::make_unique<e2e::WebClient>());
        if (!clients.back()->open(port, i % 2 == 0 ? "/" : "/subtitle")) {
            complain("feed client " + std::to_string(i) + " was refused");
        }
    }
    Sleep(SETTLE_MS);
    mark("cpu-begin", "web-on");
    playFor(game, web.seconds, next, clients);
    mark("cpu-end", "web-on");
    int still = 0;
    for (auto& client : clients) {
        still += client->drain() ? 1 : 0;
    }
    mark("web-clients", std::to_string(still));
    clients.clear();

    plainLatency(game, port, web.lines, next);
    if (web.browserPort != 0) {
        pageLatency(game, port, web.browserPort, web.lines, next);
    }
    floods(game, *tool, port, web.lines);
    abuse(game, *tool, port, web.badClients, next);
    return 0;
}

} // namespace

int runWebPhases(const ScenarioOptions& options, const WebOptions& web) {
    try {
        return runPhases(options, web);
    } catch (const std::exception& problem) {
        complain(problem.what());
        return 1;
    }
}

} // namespace pal4bench
