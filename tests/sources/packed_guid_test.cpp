#include "sources/packed_guid.h"

#include <gtest/gtest.h>

namespace vantrel {
namespace {

TEST(PackedGuid, PacksAsWindowsInstallerKeysDo) {
    EXPECT_EQ(PackedGuid(L"{1F7CBE67-3193-435D-A2CF-C8A2BF35C08E}"), L"76EBC7F13913D5342AFC8C2AFB530CE8");
    EXPECT_EQ(PackedGuid(L"{12345678-9ABC-DEF0-1234-56789ABCDEF0}"), L"87654321CBA90FED21436587A9CBED0F");
}

TEST(PackedGuid, IsItsOwnInverse) {
    const std::wstring braced[] = {L"{1F7CBE67-3193-435D-A2CF-C8A2BF35C08E}",
                                   L"{034251e9-c6e6-49e8-9ad8-e9f1d118d8a0}",
                                   L"{00000000-0000-0000-0000-000000000000}"};
    for (const std::wstring& guid : braced) {
        const std::wstring packed = PackedGuid(guid);
        EXPECT_EQ(packed.size(), 32u);
        EXPECT_EQ(PackedGuid(packed), guid);
    }
    EXPECT_EQ(PackedGuid(PackedGuid(L"9E1524306E6C8E94A98D9E1F1D818D0A")),
              L"9E1524306E6C8E94A98D9E1F1D818D0A");
}

TEST(PackedGuid, ShortAndMalformedTextsComeBackUnchanged) {
    EXPECT_EQ(PackedGuid(L""), L"");
    EXPECT_EQ(PackedGuid(L"{1F7CBE67-3193}"), L"{1F7CBE67-3193}");
    EXPECT_EQ(PackedGuid(L"0123456789abcdef0123456789abcde"), L"0123456789abcdef0123456789abcde");
    EXPECT_EQ(PackedGuid(L"{1F7CBE67-3193-435D-A2CF-C8A2BF35C0}"), L"{1F7CBE67-3193-435D-A2CF-C8A2BF35C0}");
}

TEST(PackedGuid, LongerPackedTextUsesItsFirst32Characters) {
    EXPECT_EQ(PackedGuid(L"76EBC7F13913D5342AFC8C2AFB530CE8\\extra"),
              L"{1F7CBE67-3193-435D-A2CF-C8A2BF35C08E}");
}

} // namespace
} // namespace vantrel
