#include "win32/platform/game_process_win32.hpp"

#include "win32/platform/gb2312.hpp"
#include "win32/platform/unique_handle.hpp"

#include <windows.h>

#include <tlhelp32.h>

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <vector>

namespace pal4::win32 {

namespace {

constexpr std::uint64_t GAME_ADDRESS_SPACE_END = std::uint64_t{1} << 32;

HANDLE toHandle(PortHandle handle) {
    return reinterpret_cast<HANDLE>(handle);
}

PortHandle toPortHandle(HANDLE handle) {
    return reinterpret_cast<PortHandle>(handle);
}

LPCVOID gamePointer(GameAddress address) {
    return reinterpret_cast<LPCVOID>(static_cast<std::uintptr_t>(address));
}

// A game address range ends at 4 GiB; in a 64-bit build the platform would go on past it.
bool fitsGameAddressSpace(GameAddress address, std::size_t size) {
    return std::uint64_t{address} + size <= GAME_ADDRESS_SPACE_END;
}

// A pointer of the 32-bit game as a game address; 0 for one the game cannot have.
GameAddress toGameAddress(const void* pointer) {
    const std::uint64_t value = reinterpret_cast<std::uintptr_t>(pointer);
    return value < GAME_ADDRESS_SPACE_END ? static_cast<GameAddress>(value) : 0;
}

template <std::size_t N> void copyName(std::array<char, N>& field, const wchar_t* wide) {
    const std::string narrow = narrowToGb2312(std::wstring_view(wide, std::wcslen(wide)));
    field.fill('\0');
    std::memcpy(field.data(), narrow.data(), std::min(narrow.size(), N - 1));
}

bool takeProcess(BOOL fetched, const PROCESSENTRY32W& platform, ProcessEntry& entry) {
    if (!fetched) {
        return false;
    }
    entry.processId = platform.th32ProcessID;
    copyName(entry.exeFile, platform.szExeFile);
    return true;
}

bool takeModule(BOOL fetched, const MODULEENTRY32W& platform, ModuleEntry& entry) {
    if (!fetched) {
        return false;
    }
    entry.moduleId = platform.th32ModuleID;
    entry.processId = platform.th32ProcessID;
    entry.globalUsage = platform.GlblcntUsage;
    entry.processUsage = platform.ProccntUsage;
    entry.baseAddress = toGameAddress(platform.modBaseAddr);
    entry.baseSize = platform.modBaseSize;
    entry.moduleHandle = toGameAddress(platform.hModule);
    copyName(entry.moduleName, platform.szModule);
    copyName(entry.exePath, platform.szExePath);
    return true;
}

// The caller's record must carry its size, as the platform's own records must.
template <typename Entry> bool sizeAccepted(const Entry& entry, std::uint32_t required) {
    if (entry.size < required) {
        SetLastError(ERROR_BAD_LENGTH);
        return false;
    }
    return true;
}

// Long enough for any path QueryFullProcessImageNameW can give: the longest the file system
// allows ("\\?\" paths up to 32,767 characters).
constexpr DWORD LONGEST_IMAGE_PATH = 32768;

} // namespace

PortHandle GameProcessWin32::createSnapshot(std::uint32_t flags, ProcessId processId) {
    DWORD platformFlags = flags;
#ifdef _WIN64
    // Without it a 64-bit tool sees only the 64-bit modules of the 32-bit game.
    if ((flags & TH32CS_SNAPMODULE) != 0) {
        platformFlags |= TH32CS_SNAPMODULE32;
    }
#endif
    UniqueSnapshotHandle snapshot(CreateToolhelp32Snapshot(platformFlags, processId));
    return snapshot ? toPortHandle(snapshot.release()) : kNoHandle;
}

bool GameProcessWin32::firstProcess(PortHandle snapshot, ProcessEntry& entry) {
    PROCESSENTRY32W platform{};
    platform.dwSize = sizeof platform;
    return sizeAccepted(entry, PROCESS_ENTRY_SIZE) &&
           takeProcess(Process32FirstW(toHandle(snapshot), &platform), platform, entry);
}

bool GameProcessWin32::nextProcess(PortHandle snapshot, ProcessEntry& entry) {
    PROCESSENTRY32W platform{};
    platform.dwSize = sizeof platform;
    return sizeAccepted(entry, PROCESS_ENTRY_SIZE) &&
           takeProcess(Process32NextW(toHandle(snapshot), &platform), platform, entry);
}

bool GameProcessWin32::firstModule(PortHandle snapshot, ModuleEntry& entry) {
    MODULEENTRY32W platform{};
    platform.dwSize = sizeof platform;
    return sizeAccepted(entry, MODULE_ENTRY_SIZE) &&
           takeModule(Module32FirstW(toHandle(snapshot), &platform), platform, entry);
}

bool GameProcessWin32::nextModule(PortHandle snapshot, ModuleEntry& entry) {
    MODULEENTRY32W platform{};
    platform.dwSize = sizeof platform;
    return sizeAccepted(entry, MODULE_ENTRY_SIZE) &&
           takeModule(Module32NextW(toHandle(snapshot), &platform), platform, entry);
}

PortHandle GameProcessWin32::openProcess(std::uint32_t access, ProcessId processId) {
    UniqueProcessHandle process(OpenProcess(access, FALSE, processId));
    return process ? toPortHandle(process.release()) : kNoHandle;
}

bool GameProcessWin32::readMemory(PortHandle process, GameAddress address,
                                  std::span<std::byte> buffer) {
    if (process == kNoHandle || !fitsGameAddressSpace(address, buffer.size())) {
        return false;
    }
    SIZE_T copied = 0;
    return ReadProcessMemory(toHandle(process), gamePointer(address), buffer.data(), buffer.size(),
                             &copied) != FALSE &&
           copied == buffer.size();
}

bool GameProcessWin32::writeMemory(PortHandle process, GameAddress address,
                                   std::span<const std::byte> bytes) {
    if (process == kNoHandle || !fitsGameAddressSpace(address, bytes.size())) {
        return false;
    }
    SIZE_T written = 0;
    return WriteProcessMemory(toHandle(process), const_cast<LPVOID>(gamePointer(address)),
                              bytes.data(), bytes.size(), &written) != FALSE &&
           written == bytes.size();
}

bool GameProcessWin32::queryRegion(PortHandle process, GameAddress address, RegionInfo& region) {
    if (process == kNoHandle) {
        return false;
    }
    MEMORY_BASIC_INFORMATION info{};
    if (VirtualQueryEx(toHandle(process), gamePointer(address), &info, sizeof info) == 0) {
        return false;
    }
    // In a 64-bit build a free region may reach far beyond 4 GiB: keep the part the game can
    // address, so the region's end never passes 2^32.
    const std::uint64_t base = reinterpret_cast<std::uintptr_t>(info.BaseAddress);
    const std::uint64_t end = std::min(base + info.RegionSize, GAME_ADDRESS_SPACE_END);
    if (base > address || end <= address) {
        return false;
    }
    region.baseAddress = static_cast<GameAddress>(base);
    region.regionSize =
        static_cast<std::uint32_t>(std::min<std::uint64_t>(end - base, 0xFFFFFFFFu));
    return true;
}

std::optional<std::uint64_t> GameProcessWin32::imageFileSize(ProcessId processId) {
    // The smallest right that names the image: granted where the full access is refused, so
    // the size is known even when the diagnosis is about refused access.
    const UniqueProcessHandle process(
        OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    if (!process) {
        return std::nullopt;
    }
    std::vector<wchar_t> path(LONGEST_IMAGE_PATH);
    DWORD length = LONGEST_IMAGE_PATH;
    if (QueryFullProcessImageNameW(process.get(), 0, path.data(), &length) == FALSE) {
        return std::nullopt;
    }
    WIN32_FILE_ATTRIBUTE_DATA attributes{};
    if (GetFileAttributesExW(path.data(), GetFileExInfoStandard, &attributes) == FALSE ||
        (attributes.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return std::nullopt;
    }
    return (std::uint64_t{attributes.nFileSizeHigh} << 32) | attributes.nFileSizeLow;
}

void GameProcessWin32::closeHandle(PortHandle handle) {
    if (handle != kNoHandle) {
        CloseHandle(toHandle(handle));
    }
}

} // namespace pal4::win32
