#pragma once

// A Win32 process port for these tests until the program's own adapter is in place.
#include "platform/game_process_port.hpp"

#include <windows.h>

#include <tlhelp32.h>

#include <cstring>

namespace pal4::win32test {

class RealGameProcessPort final : public GameProcessPort {
public:
    PortHandle createSnapshot(std::uint32_t flags, ProcessId processId) override {
        HANDLE h = CreateToolhelp32Snapshot(flags, processId);
        return h == INVALID_HANDLE_VALUE ? kNoHandle : reinterpret_cast<PortHandle>(h);
    }
    bool firstProcess(PortHandle s, ProcessEntry& e) override {
        PROCESSENTRY32W pe{};
        pe.dwSize = sizeof pe;
        return copy(Process32FirstW(reinterpret_cast<HANDLE>(s), &pe), pe, e);
    }
    bool nextProcess(PortHandle s, ProcessEntry& e) override {
        PROCESSENTRY32W pe{};
        pe.dwSize = sizeof pe;
        return copy(Process32NextW(reinterpret_cast<HANDLE>(s), &pe), pe, e);
    }
    bool firstModule(PortHandle s, ModuleEntry& e) override {
        MODULEENTRY32W me{};
        me.dwSize = sizeof me;
        return copy(Module32FirstW(reinterpret_cast<HANDLE>(s), &me), me, e);
    }
    bool nextModule(PortHandle s, ModuleEntry& e) override {
        MODULEENTRY32W me{};
        me.dwSize = sizeof me;
        return copy(Module32NextW(reinterpret_cast<HANDLE>(s), &me), me, e);
    }
    PortHandle openProcess(std::uint32_t access, ProcessId pid) override {
        return reinterpret_cast<PortHandle>(OpenProcess(access, FALSE, pid));
    }
    bool readMemory(PortHandle p, GameAddress a, std::span<std::byte> b) override {
        return ReadProcessMemory(reinterpret_cast<HANDLE>(p),
                                 reinterpret_cast<LPCVOID>(static_cast<std::uintptr_t>(a)),
                                 b.data(), b.size(), nullptr) != 0;
    }
    bool writeMemory(PortHandle p, GameAddress a, std::span<const std::byte> b) override {
        return WriteProcessMemory(reinterpret_cast<HANDLE>(p),
                                  reinterpret_cast<LPVOID>(static_cast<std::uintptr_t>(a)),
                                  b.data(), b.size(), nullptr) != 0;
    }
    bool queryRegion(PortHandle p, GameAddress a, RegionInfo& r) override {
        MEMORY_BASIC_INFORMATION m{};
        if (VirtualQueryEx(reinterpret_cast<HANDLE>(p),
                           reinterpret_cast<LPCVOID>(static_cast<std::uintptr_t>(a)), &m,
                           sizeof m) == 0) {
            return false;
        }
        r.baseAddress = static_cast<GameAddress>(reinterpret_cast<std::uintptr_t>(m.BaseAddress));
        r.regionSize = static_cast<std::uint32_t>(m.RegionSize);
        return true;
    }
    void closeHandle(PortHandle h) override { CloseHandle(reinterpret_cast<HANDLE>(h)); }

private:
    static void narrow(const wchar_t* from, char* to, std::size_t size) {
        const int n =
            WideCharToMultiByte(936, 0, from, -1, to, static_cast<int>(size), nullptr, nullptr);
        to[n > 0 ? static_cast<std::size_t>(n) - 1 : 0] = 0;
    }
    static bool copy(BOOL ok, const PROCESSENTRY32W& pe, ProcessEntry& e) {
        if (ok) {
            e.processId = pe.th32ProcessID;
            narrow(pe.szExeFile, e.exeFile.data(), e.exeFile.size());
        }
        return ok != 0;
    }
    static bool copy(BOOL ok, const MODULEENTRY32W& me, ModuleEntry& e) {
        if (ok) {
            e.processId = me.th32ProcessID;
            e.baseAddress =
                static_cast<GameAddress>(reinterpret_cast<std::uintptr_t>(me.modBaseAddr));
            e.baseSize = me.modBaseSize;
            narrow(me.szModule, e.moduleName.data(), e.moduleName.size());
            narrow(me.szExePath, e.exePath.data(), e.exePath.size());
        }
        return ok != 0;
    }
};

} // namespace pal4::win32test
