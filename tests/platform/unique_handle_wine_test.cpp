// The handle owners count what they hold through every way a handle comes and goes.
#include "platform/unique_handle.h"

#include <gtest/gtest.h>

#include <utility>

namespace vantrel {
namespace {

HANDLE NewEvent() {
    return CreateEventW(nullptr, TRUE, FALSE, nullptr);
}

TEST(UniqueHandle, CountsEveryHandleHeldUntilItIsClosedOrLetGo) {
    const long before = UniqueHandle::Held();
    {
        UniqueHandle taken(NewEvent());
        EXPECT_EQ(UniqueHandle::Held(), before + 1);
        UniqueHandle moved(std::move(taken));
        EXPECT_EQ(UniqueHandle::Held(), before + 1);
        UniqueHandle assigned;
        assigned = std::move(moved);
        EXPECT_EQ(UniqueHandle::Held(), before + 1);
        assigned.reset(NewEvent()); // the first one is closed
        EXPECT_EQ(UniqueHandle::Held(), before + 1);
        const HANDLE loose = assigned.release();
        EXPECT_EQ(UniqueHandle::Held(), before);
        CloseHandle(loose);
        UniqueHandle empty(nullptr);
        EXPECT_EQ(UniqueHandle::Held(), before);
    }
    EXPECT_EQ(UniqueHandle::Held(), before);
}

TEST(UniqueHandle, CountsAHandleReceivedThroughAnOutParameterOnlyWhenOneCame) {
    const long before = UniqueHKey::Held();
    UniqueHKey key;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software", 0, KEY_READ, key.put()), ERROR_SUCCESS);
    EXPECT_EQ(UniqueHKey::Held(), before + 1);
    EXPECT_NE(RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\No such key here", 0, KEY_READ, key.put()),
              ERROR_SUCCESS); // the first key is closed before the call
    EXPECT_EQ(UniqueHKey::Held(), before);
}

} // namespace
} // namespace vantrel
