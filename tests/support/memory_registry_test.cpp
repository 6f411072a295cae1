#include "support/memory_registry.h"

#include <gtest/gtest.h>

namespace vantrel::test {
namespace {

std::vector<std::wstring> SubkeysOf(MemoryRegistry& reg, RegHandle key) {
    std::vector<std::wstring> names;
    for (std::uint32_t index = 0;; ++index) {
        const auto name = reg.EnumKey(key, index);
        if (!name) {
            EXPECT_EQ(name.error(), winerror::kNoMoreItems);
            return names;
        }
        names.push_back(*name);
    }
}

TEST(MemoryRegistry, CountsHandlesFromConnectOpenAndCreateButNotRoots) {
    MemoryRegistry reg;
    reg.CreateKey(L"", RootKey::LocalMachine, L"Software\\Acme");
    const RegHandle root = reg.Root(RootKey::LocalMachine);
    EXPECT_NE(root, 0u);

    const auto opened = reg.Open(root, L"Software", KeyAccess::Read);
    const auto created = reg.Create(root, L"Software\\New");
    const auto connected = reg.Connect(L"", RootKey::Users);
    ASSERT_TRUE(opened && created && connected);
    EXPECT_NE(*opened, *created);
    EXPECT_EQ(reg.OpenHandleCount(), 3u);

    reg.Close(*opened);
    reg.Close(*created);
    reg.Close(*connected);
    reg.Close(root); // a predefined root: nothing to close, not a mistake
    EXPECT_EQ(reg.OpenHandleCount(), 0u);
    EXPECT_EQ(reg.BadCloseCount(), 0u);
}

TEST(MemoryRegistry, NoticesClosingTwiceOrClosingWhatItNeverGaveOut) {
    MemoryRegistry reg;
    const auto key = reg.Create(reg.Root(RootKey::CurrentUser), L"Console");
    ASSERT_TRUE(key);
    reg.Close(*key);
    reg.Close(*key);
    reg.Close(12345);
    reg.Close(0);
    EXPECT_EQ(reg.BadCloseCount(), 3u);
    EXPECT_EQ(reg.QueryValue(*key, L"").error(), kInvalidHandle);
    EXPECT_EQ(reg.EnumKey(*key, 0).error(), kInvalidHandle);
    EXPECT_EQ(reg.SetValue(*key, L"x", {}), kInvalidHandle);
}

TEST(MemoryRegistry, OwnedRegKeyClosesExactlyOnce) {
    MemoryRegistry reg;
    {
        OwnedRegKey first(reg, *reg.Create(reg.Root(RootKey::CurrentUser), L"a"));
        OwnedRegKey second = std::move(first);
        EXPECT_EQ(reg.OpenHandleCount(), 1u);
    }
    EXPECT_EQ(reg.OpenHandleCount(), 0u);
    EXPECT_EQ(reg.BadCloseCount(), 0u);
}

TEST(MemoryRegistry, FindsKeysAndValuesWhateverTheirCase) {
    MemoryRegistry reg;
    reg.SetString(L"", RootKey::LocalMachine, L"Software\\Acme\\Tools", L"Version", L"4.2");
    const auto key =
        reg.Open(reg.Root(RootKey::LocalMachine), L"SOFTWARE\\acme\\tOOLS\\", KeyAccess::QueryAndSet);
    ASSERT_TRUE(key);
    const auto data = reg.QueryValue(*key, L"VERSION");
    ASSERT_TRUE(data);
    EXPECT_EQ(data->type, regtype::kSz);
    EXPECT_EQ(data->bytes, (std::vector<std::uint8_t>{'4', 0, '.', 0, '2', 0, 0, 0}));

    EXPECT_TRUE(reg.Get(L"", RootKey::LocalMachine, L"Software\\Acme\\Tools", L"VERSION"));
    // Latin-1 and Cyrillic letters fold too.
    reg.SetDword(L"", RootKey::LocalMachine, L"\x00C4rger\\\x0416", L"n", 1);
    EXPECT_TRUE(reg.KeyExists(L"", RootKey::LocalMachine, L"\x00E4RGER\\\x0436"));

    EXPECT_EQ(reg.SetValue(*key, L"version", {regtype::kDword, {1, 0, 0, 0}}), winerror::kSuccess);
    const auto replaced = reg.EnumValue(*key, 0);
    ASSERT_TRUE(replaced);
    EXPECT_EQ(replaced->name, L"Version"); // the first spelling stays
    EXPECT_EQ(replaced->data.type, regtype::kDword);
    EXPECT_EQ(reg.EnumValue(*key, 1).error(), winerror::kNoMoreItems);
    reg.Close(*key);
}

TEST(MemoryRegistry, ListsSubkeysAlphabeticallyIgnoringCaseAndValuesInWrittenOrder) {
    MemoryRegistry reg;
    for (const wchar_t* name : {L"beta", L"_under", L"Alpha", L"gamma", L"ALPHA2", L"Beta\\Child"})
        reg.CreateKey(L"", RootKey::ClassesRoot, name);
    reg.SetDword(L"", RootKey::ClassesRoot, L"", L"zeta", 1);
    reg.SetDword(L"", RootKey::ClassesRoot, L"", L"Alpha", 2);
    reg.SetDword(L"", RootKey::ClassesRoot, L"", L"", 3);

    const RegHandle root = reg.Root(RootKey::ClassesRoot);
    EXPECT_EQ(SubkeysOf(reg, root),
              (std::vector<std::wstring>{L"Alpha", L"ALPHA2", L"beta", L"gamma", L"_under"}));
    std::vector<std::wstring> values;
    for (std::uint32_t index = 0; auto value = reg.EnumValue(root, index); ++index)
        values.push_back(value->name);
    EXPECT_EQ(values, (std::vector<std::wstring>{L"zeta", L"Alpha", L""}));
}

TEST(MemoryRegistry, ResolvesPathsAsWindowsDoes) {
    MemoryRegistry reg;
    reg.CreateKey(L"", RootKey::CurrentUser, L"a\\b");
    const RegHandle root = reg.Root(RootKey::CurrentUser);
    EXPECT_EQ(reg.Open(root, L"a\\\\b", KeyAccess::Read).error(), winerror::kFileNotFound);
    EXPECT_EQ(reg.Open(root, L"\\a", KeyAccess::Read).error(), winerror::kFileNotFound);
    EXPECT_EQ(reg.Open(root, L"a\\c", KeyAccess::Read).error(), winerror::kFileNotFound);
    EXPECT_EQ(reg.Create(root, L"a\\\\c").error(), winerror::kFileNotFound);
    EXPECT_FALSE(reg.KeyExists(L"", RootKey::CurrentUser, L"a\\c"));

    const auto self = reg.Open(root, L"", KeyAccess::Read);
    ASSERT_TRUE(self);
    EXPECT_EQ(SubkeysOf(reg, *self), std::vector<std::wstring>{L"a"});
    const auto deep = reg.Create(*self, L"x\\y\\z");
    ASSERT_TRUE(deep);
    EXPECT_TRUE(reg.KeyExists(L"", RootKey::CurrentUser, L"X\\Y\\Z"));
    reg.Close(*deep);
    reg.Close(*self);
    EXPECT_EQ(reg.OpenCount(), 4u);
    EXPECT_EQ(reg.CreateCount(), 2u);
}

TEST(MemoryRegistry, ReachesRemoteComputersByNameUntilTheyBecomeUnreachable) {
    MemoryRegistry reg;
    reg.SetString(L"Server1", RootKey::LocalMachine, L"Soft", L"Where", L"remote");
    reg.SetString(L"", RootKey::LocalMachine, L"Soft", L"Where", L"local");
    EXPECT_EQ(reg.Connect(L"Nowhere", RootKey::LocalMachine).error(), winerror::kBadNetPath);

    const auto remote = reg.Connect(L"\\\\server1", RootKey::LocalMachine);
    ASSERT_TRUE(remote);
    const auto soft = reg.Open(*remote, L"soft", KeyAccess::Read);
    ASSERT_TRUE(soft);
    EXPECT_EQ(Utf16Text(reg.QueryValue(*soft, L"Where")->bytes), L"remote");

    reg.SetReachable(L"SERVER1", false);
    EXPECT_EQ(reg.Connect(L"Server1", RootKey::LocalMachine).error(), winerror::kBadNetPath);
    EXPECT_EQ(Utf16Text(reg.QueryValue(*soft, L"Where")->bytes), L"remote"); // open handles keep working

    reg.SetLocalName(L"Here");
    const auto local = reg.Connect(L"HERE", RootKey::LocalMachine);
    ASSERT_TRUE(local);
    const auto local_soft = reg.Open(*local, L"Soft", KeyAccess::Read);
    ASSERT_TRUE(local_soft);
    EXPECT_EQ(Utf16Text(reg.QueryValue(*local_soft, L"Where")->bytes), L"local");
    EXPECT_EQ(reg.ConnectCount(), 4u);
    EXPECT_EQ(reg.QueryCount(), 3u);
    for (const RegHandle key : {*remote, *soft, *local, *local_soft})
        reg.Close(key);
    EXPECT_EQ(reg.OpenHandleCount(), 0u);
}

TEST(MemoryRegistry, AnswersKeyDeletedThroughAHandleToAVanishedKey) {
    MemoryRegistry reg;
    reg.SetDword(L"", RootKey::LocalMachine, L"Gone\\Child", L"n", 7);
    const auto gone = reg.Open(reg.Root(RootKey::LocalMachine), L"Gone", KeyAccess::QueryAndSet);
    const auto child = reg.Open(reg.Root(RootKey::LocalMachine), L"Gone\\Child", KeyAccess::Read);
    ASSERT_TRUE(gone && child);

    EXPECT_TRUE(reg.DeleteKey(L"", RootKey::LocalMachine, L"gone"));
    EXPECT_FALSE(reg.DeleteKey(L"", RootKey::LocalMachine, L"gone"));
    reg.CreateKey(L"", RootKey::LocalMachine, L"Gone\\Child"); // a new key of the same name
    EXPECT_EQ(reg.QueryValue(*child, L"n").error(), kKeyDeleted);
    EXPECT_EQ(reg.EnumValue(*child, 0).error(), kKeyDeleted);
    EXPECT_EQ(reg.EnumKey(*child, 0).error(), kKeyDeleted);
    EXPECT_EQ(reg.Open(*gone, L"Child", KeyAccess::Read).error(), kKeyDeleted);
    EXPECT_EQ(reg.SetValue(*gone, L"x", {}), kKeyDeleted);
    EXPECT_FALSE(reg.Get(L"", RootKey::LocalMachine, L"Gone\\Child", L"n"));
    reg.Close(*gone);
    reg.Close(*child);
    EXPECT_EQ(reg.OpenHandleCount(), 0u);
    EXPECT_EQ(reg.BadCloseCount(), 0u);
}

TEST(MemoryRegistry, RefusesDeniedKeysAndEverythingBelowThem) {
    MemoryRegistry reg;
    reg.SetDword(L"", RootKey::LocalMachine, L"Sam\\Domains", L"n", 1);
    reg.Deny(L"", RootKey::LocalMachine, L"SAM");
    const RegHandle root = reg.Root(RootKey::LocalMachine);
    EXPECT_EQ(reg.Open(root, L"Sam", KeyAccess::Read).error(), winerror::kAccessDenied);
    EXPECT_EQ(reg.Open(root, L"Sam\\Domains", KeyAccess::Read).error(), winerror::kAccessDenied);
    EXPECT_EQ(reg.Create(root, L"sam\\New").error(), winerror::kAccessDenied);
    EXPECT_EQ(SubkeysOf(reg, root), std::vector<std::wstring>{L"Sam"}); // still listed
    EXPECT_EQ(reg.OpenHandleCount(), 0u);
}

TEST(MemoryRegistry, HonoursTheAccessAHandleWasOpenedWith) {
    MemoryRegistry reg;
    reg.SetDword(L"", RootKey::CurrentUser, L"k\\sub", L"n", 1);
    const auto read = reg.Open(reg.Root(RootKey::CurrentUser), L"k", KeyAccess::Read);
    const auto write = reg.Open(reg.Root(RootKey::CurrentUser), L"k", KeyAccess::QueryAndSet);
    ASSERT_TRUE(read && write);
    EXPECT_EQ(reg.SetValue(*read, L"n", {regtype::kDword, {2, 0, 0, 0}}), winerror::kAccessDenied);
    EXPECT_EQ(reg.DeleteValue(*read, L"n"), winerror::kAccessDenied);
    EXPECT_EQ(reg.EnumKey(*write, 0).error(), winerror::kAccessDenied);
    EXPECT_EQ(reg.DeleteValue(*write, L"missing"), winerror::kFileNotFound);
    EXPECT_EQ(reg.SetValue(*write, L"s", {regtype::kSz, Utf16Bytes(L"v", true)}), winerror::kSuccess);
    EXPECT_EQ(reg.Get(L"", RootKey::CurrentUser, L"K", L"S"), (RegistryData{regtype::kSz, {'v', 0, 0, 0}}));
    reg.Close(*read);
    reg.Close(*write);
}

TEST(MemoryRegistry, StoresSetupValuesAsWindowsProgramsWriteThem) {
    MemoryRegistry reg;
    reg.SetDword(L"", RootKey::Users, L"k", L"d", 0x12345678);
    reg.SetQword(L"", RootKey::Users, L"k", L"q", 0x0102030405060708);
    reg.SetMultiString(L"", RootKey::Users, L"k", L"m", {L"a", L"\x20AC"});
    EXPECT_EQ(reg.Get(L"", RootKey::Users, L"k", L"d")->bytes,
              (std::vector<std::uint8_t>{0x78, 0x56, 0x34, 0x12}));
    EXPECT_EQ(reg.Get(L"", RootKey::Users, L"k", L"q")->bytes,
              (std::vector<std::uint8_t>{8, 7, 6, 5, 4, 3, 2, 1}));
    EXPECT_EQ(reg.Get(L"", RootKey::Users, L"k", L"m"),
              (RegistryData{regtype::kMultiSz, {'a', 0, 0, 0, 0xAC, 0x20, 0, 0, 0, 0}}));
    EXPECT_EQ(Utf16Bytes(L"\x20AC", false), (std::vector<std::uint8_t>{0xAC, 0x20}));
    EXPECT_FALSE(reg.Get(L"", RootKey::Users, L"k", L"missing"));
    EXPECT_TRUE(reg.RemoveValue(L"", RootKey::Users, L"k", L"D"));
    EXPECT_FALSE(reg.Get(L"", RootKey::Users, L"k", L"d"));
}

} // namespace
} // namespace vantrel::test
