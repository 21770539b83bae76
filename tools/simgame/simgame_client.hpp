#pragma once

// Starts the simulated game and drives it through its control channel, for tests.
// Header-only test code: it includes <windows.h>.

#include "control_protocol.hpp"

#include <windows.h>

#include <bit>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace pal4sim {

// What the game reports of its memory.
struct SimGameReport {
    std::uint32_t markerBits = 0;
    std::uint32_t switchBits = 0;
    std::uint8_t blankFlag = 0;
    std::uint32_t textPointer = 0;
    std::uint32_t textRegionAddress = 0;
    std::uint32_t textRegionSize = 0;
};

// What the game says about a line it stored.
struct StoredText {
    std::uint32_t bytes = 0;  // the text is cut to its region
    std::int64_t counter = 0; // QueryPerformanceCounter when the line was in memory
};

// What the game tells of its window: all of it, so a test can see any change made to it.
struct SimWindowState {
    std::uint32_t window = 0; // the handle's value: a window made anew has another one
    std::uint32_t style = 0;
    std::uint32_t exStyle = 0;
    RECT frame{};  // GetWindowRect
    RECT client{}; // the client area, on the screen
    bool operator==(const SimWindowState& other) const {
        const auto same = [](const RECT& a, const RECT& b) {
            return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
        };
        return window == other.window && style == other.style && exStyle == other.exStyle &&
               same(frame, other.frame) && same(client, other.client);
    }
};

struct SimGameLaunch {
    std::wstring exePath;             // Pal4.exe
    std::wstring dialogueModule;      // --dll; empty: OIRAMLOOK.DLL beside the exe
    std::uint32_t textRegionSize = 0; // 0: the game's default
    bool window = false;              // tests usually run without a display
    bool script = false;              // play the dialogue script instead of waiting for commands
    bool bright = false;              // the snowfield scene instead of the landscape
    std::uint32_t titleMs = 0;        // with the script: 0 keeps the game's timing
    std::uint32_t lineMs = 0;
    std::uint32_t breakMs = 0;
    std::uint32_t readyTimeoutMs = 30000;
};

// A linux path as Wine's Z: drive sees it; other paths unchanged.
inline std::wstring windowsPath(std::string_view path) {
    std::wstring result = path.starts_with('/') ? L"Z:" : L"";
    for (char c : path) {
        result.push_back(c == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(c)));
    }
    return result;
}

class SimGame {
public:
    // Starts the game in control mode and waits until its control channel answers.
    // Throws std::runtime_error when it does not start.
    explicit SimGame(const SimGameLaunch& launch) {
        static unsigned serial = 0;
        channel_ = L"t" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++serial);
        std::wstring commandLine = L"\"" + launch.exePath + L"\" --control " + channel_;
        if (!launch.dialogueModule.empty()) {
            commandLine += L" --dll \"" + launch.dialogueModule + L"\"";
        }
        if (launch.textRegionSize != 0) {
            commandLine += L" --text-region-size " + std::to_wstring(launch.textRegionSize);
        }
        commandLine += L" --exit-with " + std::to_wstring(GetCurrentProcessId());
        if (!launch.window) {
            commandLine += L" --no-window";
        }
        if (launch.script) {
            commandLine += L" --script";
        }
        if (launch.bright) {
            commandLine += L" --bright";
        }
        const auto timing = [&](const wchar_t* option, std::uint32_t ms) {
            if (ms != 0) {
                commandLine += std::wstring(L" ") + option + L" " + std::to_wstring(ms);
            }
        };
        timing(L"--title-ms", launch.titleMs);
        timing(L"--line-ms", launch.lineMs);
        timing(L"--break-ms", launch.breakMs);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info{};
        if (!CreateProcessW(launch.exePath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                            nullptr, nullptr, &startup, &info)) {
            throw std::runtime_error("cannot start the simulated game");
        }
        CloseHandle(info.hThread);
        process_ = info.hProcess;
        processId_ = info.dwProcessId;
        // <chrono> does not compile with a GB2312 execution charset, hence the tick counts.
        const ULONGLONG deadline = GetTickCount64() + launch.readyTimeoutMs;
        while (!transact(std::string(1, control::PING), 1000)) {
            if (!running() || GetTickCount64() > deadline) {
                stop();
                throw std::runtime_error("the simulated game did not get ready");
            }
            Sleep(20);
        }
    }

    ~SimGame() { stop(); }
    SimGame(const SimGame&) = delete;
    SimGame& operator=(const SimGame&) = delete;

    std::uint32_t processId() const { return processId_; }

    bool setMarker(float value) {
        std::string request(1, control::SET_MARKER);
        control::appendUint32(request, std::bit_cast<std::uint32_t>(value));
        return transact(request).has_value();
    }
    bool setBlankFlag(std::uint8_t value) {
        return transact(std::string{control::SET_BLANK_FLAG, static_cast<char>(value)}).has_value();
    }
    // The number of bytes the game stored (the text is cut to its region), or nothing.
    std::optional<std::uint32_t> setText(std::string_view text) {
        std::string request(1, control::SET_TEXT);
        request.append(text);
        const auto reply = transact(request);
        return reply ? control::readUint32(*reply, 0) : std::nullopt;
    }
    // The same, with the moment the game stored it.
    std::optional<StoredText> setTextStamped(std::string_view text) {
        std::string request(1, control::SET_TEXT);
        request.append(text);
        const auto reply = transact(request);
        if (!reply || reply->size() != 12) {
            return std::nullopt;
        }
        const std::uint64_t low = *control::readUint32(*reply, 4);
        const std::uint64_t high = *control::readUint32(*reply, 8);
        return StoredText{*control::readUint32(*reply, 0),
                          static_cast<std::int64_t>(high << 32 | low)};
    }
    bool setRootPointer(std::uint32_t address) {
        std::string request(1, control::SET_ROOT_POINTER);
        control::appendUint32(request, address);
        return transact(request).has_value();
    }
    bool setTextPointer(std::uint32_t address) {
        std::string request(1, control::SET_TEXT_POINTER);
        control::appendUint32(request, address);
        return transact(request).has_value();
    }
    std::optional<SimGameReport> report() {
        const auto reply = transact(std::string(1, control::REPORT));
        if (!reply || reply->size() != 21) {
            return std::nullopt;
        }
        SimGameReport report;
        report.markerBits = *control::readUint32(*reply, 0);
        report.switchBits = *control::readUint32(*reply, 4);
        report.blankFlag = static_cast<std::uint8_t>((*reply)[8]);
        report.textPointer = *control::readUint32(*reply, 9);
        report.textRegionAddress = *control::readUint32(*reply, 13);
        report.textRegionSize = *control::readUint32(*reply, 17);
        return report;
    }

    // The game does this with its own window; the reply counts the left clicks and wheel turns
    // the window has received. Nothing when the game has no window or does not answer.
    std::optional<std::uint32_t> window(control::WindowAction action, std::int32_t left = 0,
                                        std::int32_t top = 0) {
        std::string request{control::WINDOW, static_cast<char>(action)};
        control::appendUint32(request, static_cast<std::uint32_t>(left));
        control::appendUint32(request, static_cast<std::uint32_t>(top));
        const auto reply = transact(request);
        return reply ? control::readUint32(*reply, 0) : std::nullopt;
    }

    // Nothing when the game has no window (also while it makes it anew) or does not answer.
    std::optional<SimWindowState> windowState() {
        const auto reply = transact(std::string(1, control::WINDOW_STATE));
        if (!reply || reply->size() != 44) {
            return std::nullopt;
        }
        std::int32_t value[11];
        for (std::size_t i = 0; i < 11; ++i) {
            value[i] = static_cast<std::int32_t>(*control::readUint32(*reply, 4 * i));
        }
        return SimWindowState{static_cast<std::uint32_t>(value[0]),
                              static_cast<std::uint32_t>(value[1]),
                              static_cast<std::uint32_t>(value[2]),
                              {value[3], value[4], value[5], value[6]},
                              {value[7], value[8], value[9], value[10]}};
    }

    bool running() const {
        return process_ != nullptr && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
    }

    // Asks the game to quit and waits for its end; kills it when it does not end in time.
    void stop() {
        if (process_ == nullptr) {
            return;
        }
        if (running()) {
            transact(std::string(1, control::QUIT), 1000);
            if (WaitForSingleObject(process_, 5000) != WAIT_OBJECT_0) {
                TerminateProcess(process_, 1);
                WaitForSingleObject(process_, 5000);
            }
        }
        CloseHandle(process_);
        process_ = nullptr;
    }

private:
    // One request and its reply's payload; nothing when the game does not answer or refuses.
    std::optional<std::string> transact(const std::string& request, DWORD waitMs = 5000) {
        const std::wstring name = std::wstring(control::PIPE_PREFIX) + channel_;
        HANDLE pipe = INVALID_HANDLE_VALUE;
        const ULONGLONG deadline = GetTickCount64() + waitMs;
        for (;;) {
            pipe = CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                               OPEN_EXISTING, 0, nullptr);
            if (pipe != INVALID_HANDLE_VALUE) {
                break;
            }
            const DWORD error = GetLastError();
            if (GetTickCount64() > deadline || !running() ||
                (error != ERROR_PIPE_BUSY && error != ERROR_FILE_NOT_FOUND)) {
                return std::nullopt;
            }
            if (error == ERROR_PIPE_BUSY) {
                WaitNamedPipeW(name.c_str(), 100);
            } else {
                Sleep(10);
            }
        }
        DWORD mode = PIPE_READMODE_MESSAGE;
        SetNamedPipeHandleState(pipe, &mode, nullptr, nullptr);
        DWORD written = 0;
        std::optional<std::string> reply;
        if (WriteFile(pipe, request.data(), static_cast<DWORD>(request.size()), &written,
                      nullptr) &&
            written == request.size()) {
            std::vector<char> buffer(4096);
            DWORD got = 0;
            if (ReadFile(pipe, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr) &&
                got >= 1 && buffer[0] == control::STATUS_OK) {
                reply.emplace(buffer.data() + 1, got - 1);
            }
        }
        CloseHandle(pipe);
        return reply;
    }

    std::wstring channel_;
    HANDLE process_ = nullptr;
    std::uint32_t processId_ = 0;
};

} // namespace pal4sim
