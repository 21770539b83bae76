#pragma once

#include "core/game_address.hpp"
#include "ports/game_process_port.hpp"

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace pal4 {

// Reads and writes of the game's memory. Every call opens the game process, performs one
// operation and closes it again; no handle is kept between calls. A failed read returns a
// defined value instead of an error, so callers can let it flow on.
class ProcessMemory {
public:
    explicit ProcessMemory(GameProcessPort& port) : port_(port) {}

    std::int32_t readInt32(ProcessId pid, GameAddress address, std::int32_t failValue = -1);
    float readFloat32(ProcessId pid, GameAddress address, float failValue = -1.0f);
    // The same reads for callers that must tell a failed read from a value that happens to
    // equal the fail value: nullopt when the process could not be opened or the bytes read.
    std::optional<std::int32_t> tryReadInt32(ProcessId pid, GameAddress address);
    std::optional<float> tryReadFloat32(ProcessId pid, GameAddress address);
    // Whether the process opens with the access every read and write asks for; the handle is
    // closed again at once.
    bool canOpen(ProcessId pid);
    std::uint8_t readByte(ProcessId pid, GameAddress address, std::uint8_t failValue);
    // The zero-terminated text at the address, up to the end of its memory region at most;
    // "" when it cannot be read. Reads in growing chunks (the rest of the first page, then
    // doubling) and stops at the first chunk that holds the terminator, so a short line costs
    // about as much as one small read however large its region is.
    std::string readText(ProcessId pid, GameAddress address);
    // The same text, by one read of the whole rest of the region: the reference that readText
    // must agree with byte for byte, kept for tests and benchmarks.
    std::string readTextWholeRegion(ProcessId pid, GameAddress address);

    bool writeBytes(ProcessId pid, GameAddress address, std::span<const std::byte> bytes);
    bool writeFloat32(ProcessId pid, GameAddress address, float value);
    bool writeInt32(ProcessId pid, GameAddress address, std::int32_t value);

private:
    GameProcessPort& port_;
};

} // namespace pal4
