#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The control channel of the simulated game: one message-mode named pipe, one request and one
// reply per connection. A request is an opcode byte and its payload, a reply a status byte and
// its payload; numbers are 32-bit little-endian.
namespace pal4sim::control {

inline constexpr std::wstring_view PIPE_PREFIX = L"\\\\.\\pipe\\pal4sim-";

// Largest request: an opcode and a text as long as the largest text region the game allows.
inline constexpr std::uint32_t MAX_TEXT_REGION_SIZE = 64 * 1024 * 1024;
inline constexpr std::size_t MAX_REQUEST_SIZE = 1 + MAX_TEXT_REGION_SIZE;

enum Opcode : char {
    PING = 'P',             // reply: process id
    SET_MARKER = 'M',       // payload: float bits; reply: nothing
    SET_BLANK_FLAG = 'B',   // payload: one byte
    SET_TEXT = 'T',         // payload: GB2312 bytes; reply: number of bytes stored, then the
                            //   QueryPerformanceCounter value right after the store (low, high)
    SET_TEXT_POINTER = 'A', // payload: address stored in the module's text pointer slot
    SET_ROOT_POINTER = 'O', // payload: address stored in the root pointer; 0 breaks the chain
    REPORT = 'R',           // reply: marker bits, switch bits, blank flag byte, text pointer,
                            //        text region address, text region size
    WINDOW = 'W',           // payload: a WindowAction byte, then two numbers (left, top for
                            //   MOVE, width, height for RESIZE, else 0); reply: clicks and
                            //   wheel turns the window has received so far, after the action
    WINDOW_STATE = 'S',     // reply: the window's handle, style, extended style, then its
                            //   window and client rectangles on the screen (left, top, right,
                            //   bottom each)
    QUIT = 'Q',
};

// What the game does with its window, itself, as a game would.
enum WindowAction : char {
    MOVE = 'm',       // SetWindowPos to the left and top given
    MINIMISE = 'i',   // ShowWindow(SW_MINIMIZE)
    RESTORE = 'r',    // ShowWindow(SW_RESTORE)
    HIDE = 'h',       // ShowWindow(SW_HIDE)
    SHOW = 's',       // ShowWindow(SW_SHOW)
    TOPMOST = 't',    // SetWindowPos(HWND_TOPMOST), out of the band first: to the band's top
    FOREGROUND = 'f', // SetForegroundWindow
    RECREATE = 'n',   // the window destroyed and made anew where it stood, as on a switch to or
                      //   from full screen: a new window goes on top of every other
    RESIZE = 'z',     // its resolution changed: the client area resized to the width and
                      //   height given, the picture stretched to it
    COUNT = 'c',      // nothing: only the reply
};

inline constexpr char STATUS_OK = 'K';
inline constexpr char STATUS_ERROR = 'E';

inline void appendUint32(std::string& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<char>(static_cast<unsigned char>(value >> shift)));
    }
}

// The 32-bit value at `offset`, if the message holds four bytes there.
inline std::optional<std::uint32_t> readUint32(std::string_view message, std::size_t offset) {
    if (offset > message.size() || message.size() - offset < 4) {
        return std::nullopt;
    }
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        value |= static_cast<std::uint32_t>(static_cast<unsigned char>(message[offset + i]))
                 << (8 * i);
    }
    return value;
}

} // namespace pal4sim::control
