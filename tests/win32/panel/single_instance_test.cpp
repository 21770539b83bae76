// One tool at a time: a start while another tool holds the mark, as it runs and as it ends.
#include "win32/platform/single_instance.hpp"

#include <gtest/gtest.h>

#include <sddl.h>

#include <future>
#include <string>
#include <thread>

namespace pal4::win32 {
namespace {

// The other tool on a thread of its own; its mark may be one this process may not open, as a
// tool run elevated makes it.
TEST(RunningToolMarkTest, AStartWhileAnotherToolRunsWaitsForItToEndThenRuns) {
    const std::wstring name = L"Local\\Pal4.Test." + std::to_wstring(GetCurrentProcessId());
    PSECURITY_DESCRIPTOR denyAll = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(
        L"D:(D;;GA;;;WD)", SDDL_REVISION_1, &denyAll, nullptr));
    SECURITY_ATTRIBUTES elevatedMark{sizeof elevatedMark, denyAll, FALSE};
    for (SECURITY_ATTRIBUTES* const made :
         {static_cast<SECURITY_ATTRIBUTES*>(nullptr), &elevatedMark}) {
        std::promise<void> marked, ended;
        std::thread other([&] {
            const UniqueKernelHandle mark(CreateMutexW(made, TRUE, name.c_str()));
            marked.set_value();
            ended.get_future().wait();
        });
        marked.get_future().wait();
        RunningToolMark mark(name.c_str());
        EXPECT_FALSE(mark.first() || mark.waitForTheOther(100)) << (made != nullptr);
        ended.set_value();
        EXPECT_TRUE(mark.waitForTheOther(3000) && mark.first()) << (made != nullptr);
        other.join();
    }
    LocalFree(denyAll);
}

} // namespace
} // namespace pal4::win32
