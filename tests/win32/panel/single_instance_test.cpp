// One tool at a time: the mark another tool holds, as it runs and as it closes.
#include "win32/platform/single_instance.hpp"

#include <gtest/gtest.h>

#include <sddl.h>

#include <string>
#include <thread>

namespace pal4::win32 {
namespace {

// The running tool, on a thread of its own; its mark may be one this process may not open, as
// a tool run elevated makes it. It ends when told.
TEST(RunningToolMarkTest, AStartWhileTheOtherToolRunsWaitsForItToEndThenRuns) {
    for (const bool elevated : {false, true}) {
        const std::wstring name =
            L"Local\\Pal4Subtitles.Test." + std::to_wstring(GetCurrentProcessId());
        PSECURITY_DESCRIPTOR denyAll = nullptr;
        ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(
            L"D:(D;;GA;;;WD)", SDDL_REVISION_1, &denyAll, nullptr));
        SECURITY_ATTRIBUTES attributes{sizeof attributes, denyAll, FALSE};
        const UniqueKernelHandle made(CreateEventW(nullptr, TRUE, FALSE, nullptr));
        const UniqueKernelHandle end(CreateEventW(nullptr, TRUE, FALSE, nullptr));
        std::thread other([&] {
            const UniqueKernelHandle mark(
                CreateMutexW(elevated ? &attributes : nullptr, TRUE, name.c_str()));
            SetEvent(made.get());
            WaitForSingleObject(end.get(), INFINITE);
        });
        WaitForSingleObject(made.get(), INFINITE);

        RunningToolMark mark(name.c_str());
        EXPECT_FALSE(mark.first()) << elevated;
        EXPECT_FALSE(mark.waitForTheOther(100)) << elevated;
        SetEvent(end.get());
        EXPECT_TRUE(mark.waitForTheOther(3000)) << elevated;
        EXPECT_TRUE(mark.first()) << elevated;
        other.join();
        LocalFree(denyAll);
    }
}

} // namespace
} // namespace pal4::win32
