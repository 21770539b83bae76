#include "control_handler.hpp"

#include "control_protocol.hpp"

#include <windows.h>

#include <bit>

namespace pal4sim {
namespace {

std::string ok() {
    return std::string(1, control::STATUS_OK);
}
std::string error() {
    return std::string(1, control::STATUS_ERROR);
}

} // namespace

std::string handleControlRequest(GameState& game, HWND scene, std::string_view request,
                                 bool& quitRequested) {
    if (request.empty()) {
        return error();
    }
    const std::string_view payload = request.substr(1);
    switch (request[0]) {
    case control::PING: {
        std::string reply = ok();
        control::appendUint32(reply, static_cast<std::uint32_t>(GetCurrentProcessId()));
        return reply;
    }
    case control::SET_MARKER: {
        const auto bits = control::readUint32(payload, 0);
        if (!bits || payload.size() != 4) {
            return error();
        }
        game.setMarker(std::bit_cast<float>(*bits));
        return ok();
    }
    case control::SET_BLANK_FLAG:
        if (payload.size() != 1) {
            return error();
        }
        game.setBlankFlag(static_cast<std::uint8_t>(payload[0]));
        return ok();
    case control::SET_TEXT: {
        const std::uint32_t stored = game.setText(payload);
        // Stamped the moment the line is in memory: latency measurements count from here. One
        // wineserver's processes share this clock.
        LARGE_INTEGER now{};
        QueryPerformanceCounter(&now);
        const auto stamp = static_cast<std::uint64_t>(now.QuadPart);
        std::string reply = ok();
        control::appendUint32(reply, stored);
        control::appendUint32(reply, static_cast<std::uint32_t>(stamp));
        control::appendUint32(reply, static_cast<std::uint32_t>(stamp >> 32));
        return reply;
    }
    case control::SET_TEXT_POINTER: {
        const auto address = control::readUint32(payload, 0);
        if (!address || payload.size() != 4) {
            return error();
        }
        game.setTextPointer(*address);
        return ok();
    }
    case control::SET_ROOT_POINTER: {
        const auto address = control::readUint32(payload, 0);
        if (!address || payload.size() != 4) {
            return error();
        }
        game.setRootPointer(*address);
        return ok();
    }
    case control::REPORT: {
        const GameReport report = game.report();
        std::string reply = ok();
        control::appendUint32(reply, report.markerBits);
        control::appendUint32(reply, report.switchBits);
        reply.push_back(static_cast<char>(report.blankFlag));
        control::appendUint32(reply, report.textPointer);
        control::appendUint32(reply, report.textRegionAddress);
        control::appendUint32(reply, report.textRegionSize);
        return reply;
    }
    case control::WINDOW: {
        const auto left = control::readUint32(payload, 1);
        const auto top = control::readUint32(payload, 5);
        if (scene == nullptr || !left || !top || payload.size() != 9) {
            return error();
        }
        const std::int32_t place[2] = {static_cast<std::int32_t>(*left),
                                       static_cast<std::int32_t>(*top)};
        // Sent, not posted: the reply follows the action, done by the window's own thread.
        const LRESULT clicks = SendMessageW(
            scene, WM_SIMGAME_WINDOW, static_cast<WPARAM>(static_cast<unsigned char>(payload[0])),
            reinterpret_cast<LPARAM>(place));
        std::string reply = ok();
        control::appendUint32(reply, static_cast<std::uint32_t>(clicks));
        return reply;
    }
    case control::WINDOW_STATE: {
        RECT frame{};
        RECT client{};
        if (scene == nullptr || !GetWindowRect(scene, &frame) || !GetClientRect(scene, &client)) {
            return error();
        }
        MapWindowPoints(scene, nullptr, reinterpret_cast<POINT*>(&client), 2);
        std::string reply = ok();
        control::appendUint32(reply, static_cast<std::uint32_t>(reinterpret_cast<UINT_PTR>(scene)));
        control::appendUint32(reply, static_cast<std::uint32_t>(GetWindowLongW(scene, GWL_STYLE)));
        control::appendUint32(reply,
                              static_cast<std::uint32_t>(GetWindowLongW(scene, GWL_EXSTYLE)));
        for (const RECT& rect : {frame, client}) {
            for (const LONG side : {rect.left, rect.top, rect.right, rect.bottom}) {
                control::appendUint32(reply, static_cast<std::uint32_t>(side));
            }
        }
        return reply;
    }
    case control::QUIT:
        quitRequested = true;
        return ok();
    default:
        return error();
    }
}

} // namespace pal4sim
