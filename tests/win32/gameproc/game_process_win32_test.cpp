// The process locator and the memory primitives through the real Win32 adapter, against a
// child process whose memory holds known values.
#include "memory_child_process.hpp"

#include "gameproc/process_locator.hpp"
#include "gameproc/process_memory.hpp"
#include "win32/platform/game_process_win32.hpp"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <memory>
#include <optional>
#include <string>

namespace pal4::win32test {
namespace {

// The process's handle count, and the values the next two new handles get. Wine 8 answers
// GetProcessHandleCount with 0, but gives every new handle the lowest free slot, so a handle
// left open by the calls in between moves a next handle's value. Two probes, because a call
// that opens one handle it closes and then one it leaks leaves the lowest slot free again.
struct HandleUsage {
    DWORD count = 0;
    HANDLE nextHandle = nullptr;
    HANDLE handleAfterNext = nullptr;
    bool operator==(const HandleUsage&) const = default;
};

HandleUsage handleUsage() {
    HandleUsage usage;
    GetProcessHandleCount(GetCurrentProcess(), &usage.count);
    const win32::UniqueKernelHandle probe(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    const win32::UniqueKernelHandle secondProbe(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    usage.nextHandle = probe.get();
    usage.handleAfterNext = secondProbe.get();
    return usage;
}

// Whether the platform itself refuses a read there. Windows refuses reads of reserved, free
// and no-access memory; Wine 8 reads such pages of another process through /proc and returns
// their zeros, so there the primitives can only pass on what the platform delivered.
// The size of a file named by a path of the build machine (a Unix path seen through Z:).
std::optional<std::uint64_t> sizeOfBuildFile(const std::string& path) {
    std::wstring wide = path.starts_with('/') ? L"Z:" : L"";
    for (char c : path) {
        wide.push_back(c == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(c)));
    }
    WIN32_FILE_ATTRIBUTE_DATA attributes{};
    if (GetFileAttributesExW(wide.c_str(), GetFileExInfoStandard, &attributes) == FALSE) {
        return std::nullopt;
    }
    return (std::uint64_t{attributes.nFileSizeHigh} << 32) | attributes.nFileSizeLow;
}

bool platformRefusesRead(ProcessId pid, GameAddress address) {
    const win32::UniqueProcessHandle process(OpenProcess(PROCESS_VM_READ, FALSE, pid));
    std::uint32_t value = 0;
    return ReadProcessMemory(process.get(),
                             reinterpret_cast<LPCVOID>(static_cast<std::uintptr_t>(address)),
                             &value, sizeof value, nullptr) == FALSE;
}

class LocateChild : public ::testing::TestWithParam<const wchar_t*> {};

TEST_P(LocateChild, FindsTheChildUnderItsNameInAnyLetterCase) {
    win32::GameProcessWin32 port;
    ProcessId pid = 0;
    {
        MemoryChildProcess child(GetParam());
        ASSERT_TRUE(child.started());
        pid = child.pid();
        EXPECT_EQ(findProcessId(port, "Pal4.exe"), pid);
        EXPECT_EQ(findProcessId(port, "pal4.EXE"), pid);
        EXPECT_EQ(findProcessId(port, "Pal4.ex"), 0u);
        EXPECT_EQ(findProcessId(port, "MyPal4.exe"), 0u);
    }
    EXPECT_NE(findProcessId(port, "Pal4.exe"), pid); // it has exited
}

INSTANTIATE_TEST_SUITE_P(Names, LocateChild, ::testing::Values(L"Pal4.exe", L"PAL4.EXE"));

class ChildMemory : public ::testing::Test {
protected:
    static void SetUpTestSuite() { child_ = std::make_unique<MemoryChildProcess>(L"Pal4.exe"); }
    static void TearDownTestSuite() { child_.reset(); }
    void SetUp() override { ASSERT_TRUE(child_->started()); }

    static ProcessId pid() { return child_->pid(); }
    static const MemoryChildAddresses& at() { return child_->addresses(); }

    static std::unique_ptr<MemoryChildProcess> child_;
    win32::GameProcessWin32 port;
    ProcessMemory memory{port};
};

std::unique_ptr<MemoryChildProcess> ChildMemory::child_;

TEST_F(ChildMemory, ReadsEachType) {
    EXPECT_EQ(memory.readInt32(pid(), at().data + INT_513_OFFSET), 513);
    EXPECT_EQ(memory.readInt32(pid(), at().data + MINUS_ONE_OFFSET, 7), -1);
    EXPECT_EQ(memory.readFloat32(pid(), at().data + FLOAT_ONE_OFFSET), 1.0f);
    EXPECT_EQ(memory.readByte(pid(), at().data + BYTE_FF_OFFSET, 1), 255);
    EXPECT_EQ(memory.readText(pid(), at().data + SHORT_TEXT_OFFSET), "AB");
    EXPECT_EQ(memory.readText(pid(), at().data + GB2312_TEXT_OFFSET), GB2312_TEXT);
    EXPECT_EQ(memory.readTextWholeRegion(pid(), at().data + GB2312_TEXT_OFFSET), GB2312_TEXT);
}

TEST_F(ChildMemory, WrittenFloatAndIntegerReadBack) {
    const GameAddress scratch = at().data + SCRATCH_OFFSET;
    EXPECT_TRUE(memory.writeFloat32(pid(), scratch, 474.0f));
    EXPECT_TRUE(memory.writeInt32(pid(), scratch + 4, 0x3F800000));
    EXPECT_EQ(memory.readFloat32(pid(), scratch), 474.0f);
    EXPECT_EQ(memory.readInt32(pid(), scratch), 0x43ED0000);
    EXPECT_EQ(memory.readFloat32(pid(), scratch + 4), 1.0f);
}

TEST_F(ChildMemory, TextRunningToTheRegionEndIsReadWhole) {
    const GameAddress tail = at().data + DATA_REGION_SIZE - TAIL_TEXT_LENGTH;
    EXPECT_EQ(memory.readText(pid(), tail), "ABCDEFGHIJKLMNOP");
    EXPECT_EQ(memory.readTextWholeRegion(pid(), tail), "ABCDEFGHIJKLMNOP");
    EXPECT_EQ(memory.readText(pid(), tail + TAIL_TEXT_LENGTH - 1), "P");
}

TEST_F(ChildMemory, LinesInA16MiBRegionAgreeWithTheWholeRegionRead) {
    for (std::uint32_t rest : LINE_RESTS) {
        SCOPED_TRACE(rest);
        const GameAddress line = at().big + BIG_REGION_SIZE - rest;
        EXPECT_EQ(memory.readText(pid(), line), std::string(LINE_LENGTH, 'L'));
        EXPECT_EQ(memory.readTextWholeRegion(pid(), line), std::string(LINE_LENGTH, 'L'));
    }
}

struct BadPlace {
    const char* what;
    GameAddress (*address)(const MemoryChildAddresses&);
};

class ChildMemoryBadPlace : public ChildMemory, public ::testing::WithParamInterface<BadPlace> {};

TEST_P(ChildMemoryBadPlace, ReadsFailAndWritesAreRefused) {
    const GameAddress address = GetParam().address(at());
    const HandleUsage before = handleUsage();
    // The text is "" in both worlds: nothing there, or the zeros Wine delivers. (Not the
    // whole-region reference here: under Wine it reads a free region of a gigabyte of zeros.)
    EXPECT_EQ(memory.readText(pid(), address), "");
    if (platformRefusesRead(pid(), address)) {
        EXPECT_EQ(memory.readInt32(pid(), address), -1);
        EXPECT_EQ(memory.readFloat32(pid(), address), -1.0f);
        EXPECT_EQ(memory.readByte(pid(), address, 1), 1);
        EXPECT_FALSE(memory.writeInt32(pid(), address, 1));
    } else {
        EXPECT_EQ(memory.readInt32(pid(), address), 0) << "what the platform delivered";
        std::printf("note: the platform reads %s memory (%08X) instead of refusing\n",
                    GetParam().what, address);
    }
    EXPECT_EQ(handleUsage(), before);
}

INSTANTIATE_TEST_SUITE_P(
    Places, ChildMemoryBadPlace,
    ::testing::Values(BadPlace{"unmapped", [](const auto& a) { return a.unmapped; }},
                      BadPlace{"reserved", [](const auto& a) { return a.reserved() + 0x10; }},
                      BadPlace{"noAccess", [](const auto& a) { return a.noAccess; }},
                      BadPlace{"address0", [](const auto&) { return GameAddress{0}; }},
                      BadPlace{"top", [](const auto&) { return GameAddress{0xFFFFFFF0}; }}),
    [](const auto& paramInfo) { return std::string(paramInfo.param.what); });

TEST_F(ChildMemory, RegionQueryStaysInsideTheGameAddressSpace) {
    const GameAddress probes[] = {at().data, at().reserved(), at().unmapped, 0x7FFF0000,
                                  0xFFFFF000};
    for (GameAddress probe : probes) {
        SCOPED_TRACE(probe);
        const PortHandle process = port.openProcess(GAME_PROCESS_ACCESS, pid());
        RegionInfo region;
        if (port.queryRegion(process, probe, region)) {
            EXPECT_LE(region.baseAddress, probe);
            EXPECT_GT(std::uint64_t{region.baseAddress} + region.regionSize, probe);
            EXPECT_LE(std::uint64_t{region.baseAddress} + region.regionSize,
                      std::uint64_t{1} << 32);
        }
        port.closeHandle(process);
    }
    const PortHandle process = port.openProcess(GAME_PROCESS_ACCESS, pid());
    RegionInfo data;
    ASSERT_TRUE(port.queryRegion(process, at().data + 0x123, data));
    EXPECT_EQ(data.baseAddress, at().data);
    EXPECT_EQ(data.regionSize, DATA_REGION_SIZE);
    port.closeHandle(process);
}

TEST_F(ChildMemory, ModuleWalkListsTheChildsExe) {
    const PortHandle snapshot = port.createSnapshot(TH32CS_SNAPMODULE_FLAG, pid());
    ASSERT_NE(snapshot, kNoHandle);
    ModuleEntry entry;
    entry.size = MODULE_ENTRY_SIZE;
    bool found = false;
    for (bool ok = port.firstModule(snapshot, entry); ok; ok = port.nextModule(snapshot, entry)) {
        found = found || std::string(entry.moduleName.data()) == "Pal4.exe";
    }
    port.closeHandle(snapshot);
    EXPECT_TRUE(found);
}

TEST_F(ChildMemory, NoHandleOutlives10000PrimitiveCalls) {
    const HandleUsage before = handleUsage();
    for (int i = 0; i < 2000; ++i) {
        memory.readInt32(pid(), at().data + INT_513_OFFSET);
        memory.readByte(pid(), at().reserved(), 1);
        memory.readText(pid(), at().data + SHORT_TEXT_OFFSET);
        memory.writeInt32(pid(), at().data + SCRATCH_OFFSET + 8, i);
        memory.readFloat32(0, at().data);
    }
    EXPECT_EQ(handleUsage(), before);
}

TEST(ExitedChild, EveryPrimitiveFails) {
    MemoryChildProcess child(L"Pal4.exe");
    ASSERT_TRUE(child.started());
    win32::GameProcessWin32 port;
    ProcessMemory memory(port);
    const GameAddress data = child.addresses().data;
    ASSERT_EQ(memory.readInt32(child.pid(), data), 513);
    child.terminate();
    EXPECT_EQ(memory.readInt32(child.pid(), data), -1);
    EXPECT_EQ(memory.readFloat32(child.pid(), data + FLOAT_ONE_OFFSET), -1.0f);
    EXPECT_EQ(memory.readByte(child.pid(), data, 1), 1);
    EXPECT_EQ(memory.readText(child.pid(), data + SHORT_TEXT_OFFSET), "");
    EXPECT_FALSE(memory.writeFloat32(child.pid(), data, 1.0f));
    EXPECT_EQ(memory.readInt32(0, data), -1);
}

TEST_F(ChildMemory, ImageFileSizeIsTheSizeOfTheFileTheGameRunsFrom) {
    // The child runs from a copy of the built exe, so the copy and the original agree.
    const std::optional<std::uint64_t> expected = sizeOfBuildFile(PAL4_MEMORY_CHILD_EXE);
    ASSERT_TRUE(expected.has_value());
    ASSERT_GT(*expected, 0u);
    const HandleUsage before = handleUsage();
    EXPECT_EQ(port.imageFileSize(pid()), expected);
    EXPECT_EQ(port.imageFileSize(pid()), expected);
    EXPECT_EQ(handleUsage(), before);
}

TEST(ImageFileSize, OwnProcessGivesTheSizeOfItsOwnExe) {
    wchar_t path[MAX_PATH + 1] = {};
    ASSERT_GT(GetModuleFileNameW(nullptr, path, MAX_PATH + 1), 0u);
    WIN32_FILE_ATTRIBUTE_DATA attributes{};
    ASSERT_NE(GetFileAttributesExW(path, GetFileExInfoStandard, &attributes), FALSE);
    win32::GameProcessWin32 port;
    EXPECT_EQ(port.imageFileSize(GetCurrentProcessId()),
              (std::uint64_t{attributes.nFileSizeHigh} << 32) | attributes.nFileSizeLow);
}

TEST(ImageFileSize, NoSizeWithoutARunningProcess) {
    ProcessId exited = 0;
    {
        MemoryChildProcess child(L"Pal4.exe");
        ASSERT_TRUE(child.started());
        exited = child.pid();
        child.terminate();
    }
    win32::GameProcessWin32 port;
    const HandleUsage before = handleUsage();
    EXPECT_EQ(port.imageFileSize(exited), std::nullopt);
    EXPECT_EQ(port.imageFileSize(0), std::nullopt);
    EXPECT_EQ(handleUsage(), before);
}

} // namespace
} // namespace pal4::win32test
