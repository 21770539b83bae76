// A stand-in game process for the memory tests: it lays out known values in memory regions
// below 4 GiB (game addresses are 32-bit), prints where they are on one line and waits until its
// standard input closes.
#include "memory_child_layout.hpp"

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstring>

namespace {

using namespace pal4::win32test;

// The first free place from 768 MiB up: low enough for a 32-bit address, clear of the
// loader's and the heap's usual places.
unsigned char* allocateLow(SIZE_T size, DWORD type, DWORD protect) {
    for (std::uintptr_t at = 0x30000000; at < 0x7F000000; at += 0x01000000) {
        if (void* memory = VirtualAlloc(reinterpret_cast<void*>(at), size, type, protect)) {
            return static_cast<unsigned char*>(memory);
        }
    }
    return nullptr;
}

std::uint32_t gameAddress(const void* pointer) {
    return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(pointer));
}

} // namespace

int main() {
    // Committed data followed, in the same reservation, by a reserved-only region.
    unsigned char* data = allocateLow(2 * DATA_REGION_SIZE, MEM_RESERVE, PAGE_NOACCESS);
    unsigned char* noAccess = allocateLow(0x1000, MEM_RESERVE | MEM_COMMIT, PAGE_NOACCESS);
    unsigned char* big = allocateLow(BIG_REGION_SIZE, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
    unsigned char* freed = allocateLow(0x10000, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
    if (data == nullptr || noAccess == nullptr || big == nullptr || freed == nullptr ||
        VirtualAlloc(data, DATA_REGION_SIZE, MEM_COMMIT, PAGE_READWRITE) == nullptr) {
        std::printf("allocation failed\n");
        return 1;
    }
    VirtualFree(freed, 0, MEM_RELEASE);

    const unsigned char int513[] = {0x01, 0x02, 0x00, 0x00};
    const unsigned char minusOne[] = {0xFF, 0xFF, 0xFF, 0xFF};
    const unsigned char floatOne[] = {0x00, 0x00, 0x80, 0x3F};
    std::memcpy(data + INT_513_OFFSET, int513, 4);
    std::memcpy(data + MINUS_ONE_OFFSET, minusOne, 4);
    std::memcpy(data + FLOAT_ONE_OFFSET, floatOne, 4);
    data[BYTE_FF_OFFSET] = 0xFF;
    std::memcpy(data + SHORT_TEXT_OFFSET, "AB\0CD", 5);
    std::memcpy(data + GB2312_TEXT_OFFSET, GB2312_TEXT, sizeof GB2312_TEXT);
    for (std::uint32_t i = 0; i < TAIL_TEXT_LENGTH; ++i) {
        data[DATA_REGION_SIZE - TAIL_TEXT_LENGTH + i] = static_cast<unsigned char>('A' + i);
    }
    for (std::uint32_t rest : LINE_RESTS) {
        std::memset(big + BIG_REGION_SIZE - rest, 'L', LINE_LENGTH);
        big[BIG_REGION_SIZE - rest + LINE_LENGTH] = 0;
    }

    std::printf("%08X %08X %08X %08X\n", gameAddress(data), gameAddress(noAccess), gameAddress(big),
                gameAddress(freed));
    std::fflush(stdout);
    while (std::fgetc(stdin) != EOF) {
    }
    return 0;
}
