#include "gameproc/process_memory.hpp"

#include "gameproc/scoped_port_handle.hpp"

#include <algorithm>
#include <array>
#include <bit>
#include <memory>
#include <new>
#include <optional>
#include <stdexcept>

namespace pal4 {

namespace {

// The first chunk of a text read ends at a page boundary, where a region may end; later chunks
// double from one page.
constexpr std::uint64_t TEXT_CHUNK_PAGE = 4096;

using Word = std::array<std::byte, 4>;

std::uint32_t fromLittleEndian(const Word& bytes) {
    return std::to_integer<std::uint32_t>(bytes[0]) |
           (std::to_integer<std::uint32_t>(bytes[1]) << 8) |
           (std::to_integer<std::uint32_t>(bytes[2]) << 16) |
           (std::to_integer<std::uint32_t>(bytes[3]) << 24);
}

Word toLittleEndian(std::uint32_t value) {
    return {std::byte(value & 0xFFu), std::byte((value >> 8) & 0xFFu),
            std::byte((value >> 16) & 0xFFu), std::byte((value >> 24) & 0xFFu)};
}

// Bytes from the address to the end of its region, in the game's 32-bit arithmetic: a region
// that ends at 4 GiB wraps its end to 0 and still gives the right count.
std::uint32_t restOfRegion(const RegionInfo& region, GameAddress address) {
    return region.baseAddress + region.regionSize - address;
}

std::span<std::byte> writableBytes(std::string& text, std::size_t offset, std::size_t count) {
    return {reinterpret_cast<std::byte*>(text.data()) + offset, count};
}

// One open, one four-byte read, one close.
std::optional<Word> readWord(GameProcessPort& port, ProcessId pid, GameAddress address) {
    const ScopedPortHandle process(port, port.openProcess(GAME_PROCESS_ACCESS, pid));
    Word bytes{};
    if (!process.valid() || !port.readMemory(process.get(), address, bytes)) {
        return std::nullopt;
    }
    return bytes;
}

} // namespace

std::optional<std::int32_t> ProcessMemory::tryReadInt32(ProcessId pid, GameAddress address) {
    const std::optional<Word> bytes = readWord(port_, pid, address);
    if (!bytes) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(fromLittleEndian(*bytes));
}

std::optional<float> ProcessMemory::tryReadFloat32(ProcessId pid, GameAddress address) {
    const std::optional<Word> bytes = readWord(port_, pid, address);
    if (!bytes) {
        return std::nullopt;
    }
    return std::bit_cast<float>(fromLittleEndian(*bytes));
}

std::int32_t ProcessMemory::readInt32(ProcessId pid, GameAddress address, std::int32_t failValue) {
    return tryReadInt32(pid, address).value_or(failValue);
}

float ProcessMemory::readFloat32(ProcessId pid, GameAddress address, float failValue) {
    return tryReadFloat32(pid, address).value_or(failValue);
}

bool ProcessMemory::canOpen(ProcessId pid) {
    const ScopedPortHandle process(port_, port_.openProcess(GAME_PROCESS_ACCESS, pid));
    return process.valid();
}

std::uint8_t ProcessMemory::readByte(ProcessId pid, GameAddress address, std::uint8_t failValue) {
    const ScopedPortHandle process(port_, port_.openProcess(GAME_PROCESS_ACCESS, pid));
    std::array<std::byte, 1> byte{};
    if (!process.valid() || !port_.readMemory(process.get(), address, byte)) {
        return failValue;
    }
    return std::to_integer<std::uint8_t>(byte[0]);
}

std::string ProcessMemory::readText(ProcessId pid, GameAddress address) {
    // A text with no terminator in a region of hundreds of megabytes may not fit in memory;
    // that is a failed read, not a reason to stop the tool.
    try {
        const ScopedPortHandle process(port_, port_.openProcess(GAME_PROCESS_ACCESS, pid));
        RegionInfo region;
        if (!process.valid() || !port_.queryRegion(process.get(), address, region)) {
            return {};
        }
        const std::uint64_t rest = restOfRegion(region, address);
        if (rest == 0) {
            return {};
        }
        // Most lines end inside the first chunk: it goes to the stack, and only the text itself
        // is allocated.
        std::uint64_t chunk = std::min(rest, TEXT_CHUNK_PAGE - address % TEXT_CHUNK_PAGE);
        std::array<char, TEXT_CHUNK_PAGE> firstChunk; // filled by the read before any use
        const auto firstCount = static_cast<std::size_t>(chunk);
        if (!port_.readMemory(process.get(), address,
                              std::as_writable_bytes(std::span(firstChunk.data(), firstCount)))) {
            return {};
        }
        const char* firstBegin = firstChunk.data();
        const char* firstEnd = firstBegin + firstCount;
        const char* firstZero = std::find(firstBegin, firstEnd, '\0');
        std::string text(firstBegin, firstZero);
        if (firstZero != firstEnd) {
            return text;
        }
        std::uint64_t done = chunk;
        std::uint64_t nextChunk = TEXT_CHUNK_PAGE;
        while (done < rest) {
            chunk = std::min(rest - done, nextChunk);
            nextChunk *= 2;
            const auto offset = static_cast<std::size_t>(done);
            const auto count = static_cast<std::size_t>(chunk);
            text.resize(offset + count);
            // The region has one state throughout, so only a game that frees its memory meanwhile
            // fails a later chunk; the one read of the whole rest would have failed as well.
            if (!port_.readMemory(process.get(), static_cast<GameAddress>(address + done),
                                  writableBytes(text, offset, count))) {
                return {};
            }
            const std::size_t zero = text.find('\0', offset);
            if (zero != std::string::npos) {
                text.resize(zero);
                return text;
            }
            done += chunk;
        }
        return text;
    } catch (const std::bad_alloc&) {
        return {};
    } catch (const std::length_error&) {
        return {};
    }
}

std::string ProcessMemory::readTextWholeRegion(ProcessId pid, GameAddress address) {
    try {
        const ScopedPortHandle process(port_, port_.openProcess(GAME_PROCESS_ACCESS, pid));
        RegionInfo region;
        if (!process.valid() || !port_.queryRegion(process.get(), address, region)) {
            return {};
        }
        const std::size_t rest = restOfRegion(region, address);
        // Not zero-filled: the read overwrites every byte, and a failed read discards them.
        const auto buffer = std::make_unique_for_overwrite<std::byte[]>(rest);
        if (!port_.readMemory(process.get(), address, std::span(buffer.get(), rest))) {
            return {};
        }
        const char* begin = reinterpret_cast<const char*>(buffer.get());
        return {begin, std::find(begin, begin + rest, '\0')};
    } catch (const std::bad_alloc&) {
        return {};
    } catch (const std::length_error&) {
        return {};
    }
}

bool ProcessMemory::writeBytes(ProcessId pid, GameAddress address,
                               std::span<const std::byte> bytes) {
    const ScopedPortHandle process(port_, port_.openProcess(GAME_PROCESS_ACCESS, pid));
    return process.valid() && port_.writeMemory(process.get(), address, bytes);
}

bool ProcessMemory::writeFloat32(ProcessId pid, GameAddress address, float value) {
    return writeBytes(pid, address, toLittleEndian(std::bit_cast<std::uint32_t>(value)));
}

bool ProcessMemory::writeInt32(ProcessId pid, GameAddress address, std::int32_t value) {
    return writeBytes(pid, address, toLittleEndian(static_cast<std::uint32_t>(value)));
}

} // namespace pal4
