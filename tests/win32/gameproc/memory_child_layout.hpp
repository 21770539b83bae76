#pragma once

// Where the memory child keeps its known values; shared by the child and the tests.
#include <array>
#include <cstdint>

namespace pal4::win32test {

inline constexpr std::uint32_t DATA_REGION_SIZE = 0x10000;
inline constexpr std::uint32_t INT_513_OFFSET = 0x0;
inline constexpr std::uint32_t MINUS_ONE_OFFSET = 0x4;
inline constexpr std::uint32_t FLOAT_ONE_OFFSET = 0x8;
inline constexpr std::uint32_t BYTE_FF_OFFSET = 0xC;
inline constexpr std::uint32_t SHORT_TEXT_OFFSET = 0x10; // "AB\0CD"
inline constexpr std::uint32_t GB2312_TEXT_OFFSET = 0x20;
inline constexpr char GB2312_TEXT[] = "\xC4\xE3\xBA\xC3"; // "你好"
inline constexpr std::uint32_t SCRATCH_OFFSET = 0x100;    // zeros, for the tests' writes
// The region's last bytes are 'A', 'B', ... with no terminator before the region's end.
inline constexpr std::uint32_t TAIL_TEXT_LENGTH = 16;

// 16 MiB, with a 40-byte line at each of these distances from its end.
inline constexpr std::uint32_t BIG_REGION_SIZE = 16u << 20;
inline constexpr std::uint32_t LINE_LENGTH = 40;
inline constexpr std::array<std::uint32_t, 4> LINE_RESTS = {4u << 10, 64u << 10, 1u << 20,
                                                            16u << 20};

// The addresses the child prints, in this order.
struct MemoryChildAddresses {
    std::uint32_t data = 0;     // DATA_REGION_SIZE committed, then as much again reserved
    std::uint32_t noAccess = 0; // one committed PAGE_NOACCESS page
    std::uint32_t big = 0;      // BIG_REGION_SIZE committed
    std::uint32_t unmapped = 0; // released before printing
    std::uint32_t reserved() const { return data + DATA_REGION_SIZE; }
};

} // namespace pal4::win32test
