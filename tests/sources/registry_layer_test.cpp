// The registry layer over in-memory registries of several computers: what it reads, how it expands
// wildcards, what it changes, and that every handle it opens is closed exactly once on every path.
#include "sources/registry.h"

#include "support/memory_registry.h"
#include "views/markers.h"

#include <gtest/gtest.h>

namespace vantrel {
namespace {

using test::MemoryRegistry;
constexpr auto HKLM = RootKey::LocalMachine;
constexpr auto HKCR = RootKey::ClassesRoot;
const std::wstring kUninstall = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
const std::wstring kUserData = L"Software\\Microsoft\\Windows\\CurrentVersion\\Installer\\UserData";

class RegistryLayer : public ::testing::Test {
protected:
    void TearDown() override {
        EXPECT_EQ(memory.OpenHandleCount(), 0u) << "a handle was left open";
        EXPECT_EQ(memory.BadCloseCount(), 0u) << "a handle was closed twice or never opened";
    }
    std::wstring Read(std::wstring_view computer, std::wstring_view key, std::wstring_view expression) {
        return registry.ReadValue(computer, RootKey::FromPath, key, expression);
    }

    MemoryRegistry memory;
    Registry registry{memory};
};

TEST_F(RegistryLayer, ReadsFromTheComputerTheViewNames) {
    memory.SetString(L"", HKLM, kUninstall + L"\\Acme", L"DisplayVersion", L"4.2");
    memory.SetString(L"PC7", HKLM, kUninstall + L"\\Acme", L"DisplayVersion", L"3.9");
    memory.SetString(L"WS0015", HKLM, kUninstall + L"\\Acme", L"DisplayVersion", L"4.0");
    memory.SetReachable(L"WS0015", false);
    const std::wstring key = kUninstall + L"\\Acme";
    EXPECT_EQ(Read(L"", key, L"DisplayVersion"), L"4.2");
    EXPECT_EQ(Read(L"PC7", key, L"DisplayVersion"), L"3.9");
    EXPECT_EQ(Read(L"pc7", key, L"DisplayVersion"), L"3.9");
    EXPECT_EQ(Read(L"WS0015", key, L"DisplayVersion"), kNotConnected);
    EXPECT_EQ(Read(L"NOSUCHPC", key, L"DisplayVersion"), kNotConnected);
    // A computer named in the key or in the expression wins; the expression's over the key's.
    EXPECT_EQ(Read(L"", L"/PC7/" + key, L"DisplayVersion"), L"3.9");
    EXPECT_EQ(Read(L"PC7", key, L"//DisplayVersion"), L"3.9");
    EXPECT_EQ(Read(L"", L"/WS0015/" + key, L"/PC7/DisplayVersion"), L"3.9");
    EXPECT_EQ(Read(L"PC7", key, L"/WS0015/DisplayVersion"), kNotConnected);
}

TEST_F(RegistryLayer, ExpressionsNameSubkeysDefaultsAndAbsoluteKeys) {
    const std::wstring cls = L"CLSID\\{41809686-6630-4E7B-B1F1-5412E0717F43}";
    memory.SetString(L"", HKCR, cls, L"", L"Contoso PDF Converter");
    memory.SetString(L"", HKCR, cls + L"\\LocalServer32", L"", L"cpdfconv.exe /automation");
    memory.SetString(L"", HKCR, cls + L"\\InstallProperties\\Deep", L"Name", L"deep");
    const std::wstring key = L"HKCR\\" + cls;
    EXPECT_EQ(Read(L"", key, L"LocalServer32\\"), L"cpdfconv.exe /automation");
    EXPECT_EQ(Read(L"", key, L"@"), L"Contoso PDF Converter");
    EXPECT_EQ(Read(L"", key, L""), L"Contoso PDF Converter");
    EXPECT_EQ(Read(L"", key, L"InstallProperties\\Deep\\Name"), L"deep");
    EXPECT_EQ(Read(L"", L"HKLM\\Elsewhere", L"\\HKCR\\" + cls + L"\\LocalServer32\\"),
              L"cpdfconv.exe /automation");
    EXPECT_EQ(Read(L"", L"HKLM\\Elsewhere", L"\\HKCR\\" + cls + L"\\"), L"Contoso PDF Converter");
    EXPECT_EQ(Read(L"", key, L"InprocServer32\\"), kKeyMissing);
    EXPECT_EQ(Read(L"", key, L"ThreadingModel"), kValueMissing);
}

TEST_F(RegistryLayer, SubkeyNameByIndex) {
    memory.CreateKey(L"", HKLM, L"Software\\Acme\\beta");
    memory.CreateKey(L"", HKLM, L"Software\\Acme\\Alpha");
    EXPECT_EQ(Read(L"", L"Software\\Acme", L"*()0"), L"Alpha");
    EXPECT_EQ(Read(L"", L"Software\\Acme", L"*()1"), L"beta");
    EXPECT_EQ(Read(L"", L"Software\\Acme", L"*()2"), L"");
    EXPECT_EQ(Read(L"", L"Software\\Acme", L"*()x"), L"Alpha");
    EXPECT_EQ(Read(L"", L"Software\\Nobody", L"*()0"), kKeyMissing);
}

TEST_F(RegistryLayer, KeysThatCannotBeOpenedAreMissing) {
    memory.SetString(L"", HKLM, L"Software\\Secret", L"Value", L"x");
    memory.Deny(L"", HKLM, L"Software\\Secret");
    EXPECT_EQ(Read(L"", L"Software\\Secret", L"Value"), kKeyMissing);
    EXPECT_TRUE(registry.EnumKeys(L"", RootKey::FromPath, L"Software\\Secret", true).empty());
}

TEST_F(RegistryLayer, AValueThatEqualsAMarkerReadsAsThatMarker) {
    memory.SetString(L"", HKLM, L"Software\\Acme", L"Odd", L"?");
    EXPECT_EQ(Read(L"", L"Software\\Acme", L"Odd"), kValueMissing);
}

TEST_F(RegistryLayer, WildcardLevelsExpandRelativeToTheFixedPart) {
    memory.CreateKey(L"", HKLM, kUserData + L"\\S-1-5-18\\Products\\P1");
    memory.CreateKey(L"", HKLM, kUserData + L"\\S-1-5-18\\Products\\P2");
    memory.CreateKey(L"", HKLM, kUserData + L"\\S-1-5-21-1001\\Products\\P3");
    memory.CreateKey(L"", HKLM, kUserData + L"\\S-1-5-21-1002\\Components\\C1"); // no Products
    EXPECT_EQ(registry.EnumKeys(L"", RootKey::FromPath, kUserData + L"\\*\\Products", true),
              (std::vector<std::wstring>{L"S-1-5-18\\Products\\P1", L"S-1-5-18\\Products\\P2",
                                         L"S-1-5-21-1001\\Products\\P3"}));
    EXPECT_EQ(registry.EnumKeys(L"", RootKey::FromPath, kUserData + L"\\*\\Products", false),
              (std::vector<std::wstring>{L"S-1-5-18", L"S-1-5-21-1001", L"S-1-5-21-1002"}));
    EXPECT_EQ(registry.EnumKeys(L"", RootKey::FromPath, kUserData + L"\\*", true),
              (std::vector<std::wstring>{L"S-1-5-18\\Products", L"S-1-5-21-1001\\Products",
                                         L"S-1-5-21-1002\\Components"}));
}

TEST_F(RegistryLayer, AListingAsksItsCheckEveryFewHundredNamesAndEndsWhenToldTo) {
    for (int i = 0; i < 1000; ++i)
        memory.CreateKey(L"", HKLM, L"Software\\Many\\K" + std::to_wstring(1000 + i));
    int checks = 0;
    const auto all = registry.EnumKeys(L"", RootKey::FromPath, L"Software\\Many", true, 1, [&] {
        ++checks;
        return true;
    });
    EXPECT_EQ(all.size(), 1000u);
    EXPECT_EQ(checks, 3); // at 256, 512 and 768 names

    checks = 0;
    const auto stopped =
        registry.EnumKeys(L"", RootKey::FromPath, L"Software\\Many", true, 1, [&] { return ++checks < 2; });
    ASSERT_EQ(stopped.size(), 511u);
    EXPECT_EQ(stopped.back(), L"K1510");
    EXPECT_EQ(memory.OpenHandleCount(), 0u);

    // A wildcard level stops expanding the names too.
    checks = 0;
    const auto expanded =
        registry.EnumKeys(L"", RootKey::FromPath, L"Software\\*", true, 1, [&] { return ++checks < 2; });
    EXPECT_LT(expanded.size(), 1000u);
}

TEST_F(RegistryLayer, TwoWildcardLevels) {
    const std::wstring xp = L"Software\\Microsoft\\Updates\\Windows XP";
    memory.CreateKey(L"", HKLM, xp + L"\\SP3\\KB1\\FileList\\0");
    memory.CreateKey(L"", HKLM, xp + L"\\SP3\\KB1\\FileList\\1");
    memory.CreateKey(L"", HKLM, xp + L"\\SP3\\KB2"); // no FileList
    memory.CreateKey(L"", HKLM, xp + L"\\SP0\\KB3\\FileList\\0");
    EXPECT_EQ(registry.EnumKeys(L"", RootKey::FromPath, xp + L"\\*\\*\\FileList", true),
              (std::vector<std::wstring>{L"SP0\\KB3\\FileList\\0", L"SP3\\KB1\\FileList\\0",
                                         L"SP3\\KB1\\FileList\\1"}));
    memory.CreateKey(L"", HKLM, L"Software\\A\\x\\B\\y\\C\\leaf");
    memory.CreateKey(L"", HKLM, L"Software\\A\\x\\B\\z\\D\\other");
    EXPECT_EQ(registry.EnumKeys(L"", RootKey::FromPath, L"Software\\A\\*\\B\\*\\C", true),
              (std::vector<std::wstring>{L"x\\B\\y\\C\\leaf"}));
}

TEST_F(RegistryLayer, OneCharacterLevelAfterAWildcardIsKept) {
    memory.CreateKey(L"", HKLM, L"System\\Enum\\PCI\\VEN_1\\0\\Device");
    memory.CreateKey(L"", HKLM, L"System\\Enum\\PCI\\VEN_2\\0\\Other");
    EXPECT_EQ(registry.EnumKeys(L"", RootKey::FromPath, L"System\\Enum\\PCI\\*\\0", true),
              (std::vector<std::wstring>{L"VEN_1\\0\\Device", L"VEN_2\\0\\Other"}));
}

TEST_F(RegistryLayer, ListsHaveNoFixedBounds) {
    for (int i = 0; i < 16000; ++i)
        memory.CreateKey(L"", HKLM, L"Software\\Many\\K" + std::to_wstring(i));
    for (int i = 0; i < 1500; ++i)
        memory.CreateKey(L"", HKLM, L"Software\\Wide\\G\\Items\\I" + std::to_wstring(i));
    EXPECT_EQ(registry.EnumKeys(L"", RootKey::FromPath, L"Software\\Many", true).size(), 16000u);
    const auto wide = registry.EnumKeys(L"", RootKey::FromPath, L"Software\\Wide\\*\\Items", true);
    ASSERT_EQ(wide.size(), 1500u);
    for (const std::wstring& item : wide)
        EXPECT_TRUE(item.starts_with(L"G\\Items\\I")) << "unexpanded item " << item;
}

TEST_F(RegistryLayer, EnumerationOfAnotherComputerConnectsOnce) {
    memory.CreateKey(L"PC7", HKLM, L"Software\\Acme\\a\\Items\\1");
    memory.CreateKey(L"PC7", HKLM, L"Software\\Acme\\b\\Items\\2");
    memory.ResetCounters();
    EXPECT_EQ(registry.EnumKeys(L"PC7", RootKey::FromPath, L"Software\\Acme\\*\\Items", true),
              (std::vector<std::wstring>{L"a\\Items\\1", L"b\\Items\\2"}));
    EXPECT_EQ(memory.ConnectCount(), 1u);
    EXPECT_TRUE(registry.EnumKeys(L"NOSUCHPC", RootKey::FromPath, L"Software\\Acme", true).empty());
}

TEST_F(RegistryLayer, EnumValuesGivesEveryValueAsText) {
    memory.SetString(L"", HKLM, L"Software\\Acme", L"Short", L"s");
    memory.SetString(L"", HKLM, L"Software\\Acme", L"Long", std::wstring(5000, L'l'));
    memory.SetDword(L"", HKLM, L"Software\\Acme", L"Count", 16);
    memory.SetMultiString(L"", HKLM, L"Software\\Acme", L"List", {L"a", L"b"});
    const auto values = registry.EnumValues(L"", RootKey::FromPath, L"Software\\Acme");
    ASSERT_EQ(values.size(), 4u);
    EXPECT_EQ(values[1].text.size(), 5000u);
    EXPECT_EQ(values[2].text, L"16");
    EXPECT_EQ(values[3].text, std::wstring(L"a\0b\0", 4));
    EXPECT_TRUE(registry.EnumValues(L"", RootKey::FromPath, L"Software\\Nobody").empty());
    EXPECT_TRUE(registry.EnumValues(L"NOSUCHPC", RootKey::FromPath, L"Software\\Acme").empty());
}

TEST_F(RegistryLayer, WriteValueCreatesTheKey) {
    EXPECT_EQ(registry.WriteValue(RootKey::FromPath, L"HKCU\\Software\\Ostrand\\Kivo", L"KvfPath",
                                  L"C:\\Views", regtype::kSz),
              0);
    EXPECT_EQ(Read(L"", L"HKCU\\Software\\Ostrand\\Kivo", L"KvfPath"), L"C:\\Views");
    EXPECT_EQ(registry.WriteValue(RootKey::FromPath, L"Software\\Acme", L"Count", L"x", regtype::kDword),
              winerror::kInvalidData);
}

TEST_F(RegistryLayer, ChangeValueOnlyWhenTheValueStillHoldsWhatWasSeen) {
    memory.SetString(L"PC7", HKLM, L"Software\\Acme", L"Path", L"C:\\Acme");
    memory.SetExpandString(L"PC7", HKLM, L"Software\\Acme", L"Expand", L"%SystemRoot%");
    EXPECT_EQ(
        registry.ChangeValue(L"PC7", RootKey::FromPath, L"Software\\Acme", L"Path", L"C:\\Old", L"D:\\"),
        kValueChangedMeanwhile);
    EXPECT_EQ(Read(L"PC7", L"Software\\Acme", L"Path"), L"C:\\Acme");
    EXPECT_EQ(
        registry.ChangeValue(L"PC7", RootKey::FromPath, L"Software", L"Acme\\Path", L"C:\\Acme", L"D:\\"), 0);
    EXPECT_EQ(Read(L"PC7", L"Software\\Acme", L"Path"), L"D:\\");
    EXPECT_EQ(registry.ChangeValue(L"PC7", RootKey::FromPath, L"Software\\Acme", L"Expand", L"%SystemRoot%",
                                   L"%x%"),
              0);
    EXPECT_EQ(memory.Get(L"PC7", HKLM, L"Software\\Acme", L"Expand")->type, regtype::kExpandSz);
    EXPECT_EQ(registry.ChangeValue(L"NOSUCHPC", RootKey::FromPath, L"Software\\Acme", L"Path", L"D:\\", L""),
              3);
    EXPECT_EQ(registry.ChangeValue(L"", RootKey::FromPath, L"Software\\Nobody", L"Path", L"", L"x"),
              winerror::kFileNotFound);
}

TEST_F(RegistryLayer, ChangeValueDeletesAnyTypeButWritesOnlyTextAndNumbers) {
    memory.SetBinary(L"", HKLM, L"Software\\Acme", L"Blob", {1, 2});
    memory.SetQword(L"", HKLM, L"Software\\Acme", L"Big", 5);
    memory.SetDword(L"", HKLM, L"Software\\Acme", L"Small", 7);
    const std::wstring blob(L"\x01\x02", 2);
    EXPECT_EQ(registry.ChangeValue(L"", RootKey::FromPath, L"Software\\Acme", L"Blob", blob, L"3"),
              winerror::kInvalidDatatype);
    EXPECT_EQ(registry.ChangeValue(L"", RootKey::FromPath, L"Software\\Acme", L"Small", L"7", L"-1"),
              winerror::kInvalidData);
    EXPECT_EQ(registry.ChangeValue(L"", RootKey::FromPath, L"Software\\Acme", L"Big", L"5",
                                   L"18446744073709551615"),
              0);
    EXPECT_EQ(Read(L"", L"Software\\Acme", L"Big"), L"18446744073709551615");
    EXPECT_EQ(registry.ChangeValue(L"", RootKey::FromPath, L"Software\\Acme", L"Blob", blob, L""), 0);
    EXPECT_FALSE(memory.Get(L"", HKLM, L"Software\\Acme", L"Blob").has_value());
    EXPECT_EQ(registry.ChangeValue(L"", RootKey::FromPath, L"Software\\Acme", L"@", L"", L"default"), 0);
    EXPECT_EQ(Read(L"", L"Software\\Acme", L"@"), L"default");
}

TEST_F(RegistryLayer, AKeyDeletedBehindTheReaderGivesItsMarker) {
    memory.SetString(L"", HKLM, L"Software\\Acme\\Item", L"Name", L"x");
    EXPECT_EQ(Read(L"", L"Software\\Acme\\Item", L"Name"), L"x");
    memory.DeleteKey(L"", HKLM, L"Software\\Acme\\Item");
    EXPECT_EQ(Read(L"", L"Software\\Acme\\Item", L"Name"), kKeyMissing);
}

TEST_F(RegistryLayer, CachedReadsGiveWhatSeparateReadsGive) {
    memory.SetString(L"", HKLM, L"Software\\Acme\\Item", L"Name", L"x");
    memory.SetDword(L"", HKLM, L"Software\\Acme\\Item", L"Count", 3);
    memory.CreateKey(L"", HKLM, L"Software\\Acme\\Item\\Sub");
    memory.SetString(L"PC7", HKLM, L"Software\\Acme\\Item", L"Name", L"remote");
    const std::wstring key = L"Software\\Acme\\Item";
    const std::pair<std::wstring, std::wstring> reads[] = {
        {L"", L"Name"},     {L"", L"Count"},        {L"", L"Missing"},   {L"", L"Sub\\"},
        {L"", L"Nokey\\x"}, {L"", L"*()0"},         {L"", L"*()5"},      {L"PC7", L"Name"},
        {L"PC7", L"Count"}, {L"NOSUCHPC", L"Name"}, {L"", L"/PC7/Name"}, {L"PC7", L"//Name"},
    };
    std::vector<std::wstring> separate;
    for (const auto& [computer, expression] : reads)
        separate.push_back(Read(computer, key, expression));
    Registry::CachedReads cached(registry);
    for (size_t i = 0; i < std::size(reads); ++i)
        EXPECT_EQ(Read(reads[i].first, key, reads[i].second), separate[i]) << reads[i].second;
}

TEST_F(RegistryLayer, CachedReadsOpenEachItemKeyAndConnectEachComputerOnce) {
    for (int item = 0; item < 3; ++item)
        for (int v = 0; v < 8; ++v)
            memory.SetString(L"PC7", HKLM, L"Software\\Acme\\I" + std::to_wstring(item),
                             L"V" + std::to_wstring(v), L"x");
    memory.ResetCounters();
    {
        Registry::CachedReads cached(registry);
        for (int item = 0; item < 3; ++item) {
            cached.NextItem();
            for (int v = 0; v < 8; ++v)
                EXPECT_EQ(
                    Read(L"PC7", L"Software\\Acme\\I" + std::to_wstring(item), L"V" + std::to_wstring(v)),
                    L"x");
        }
        EXPECT_EQ(memory.OpenHandleCount(), 2u); // the connection and the last item's key
    }
    EXPECT_EQ(memory.ConnectCount(), 1u);
    EXPECT_EQ(memory.OpenCount(), 3u);
}

TEST_F(RegistryLayer, CachedReadsSeeKeysDeletedAndComputersLostMeanwhile) {
    memory.SetString(L"", HKLM, L"Software\\Acme\\Item", L"A", L"1");
    memory.SetString(L"", HKLM, L"Software\\Acme\\Item", L"B", L"2");
    memory.SetString(L"PC7", HKLM, L"Software\\Acme\\Item", L"A", L"1");
    memory.SetString(L"PC7", HKLM, L"Software\\Acme\\Item", L"B", L"2");
    Registry::CachedReads cached(registry);
    EXPECT_EQ(Read(L"", L"Software\\Acme\\Item", L"A"), L"1");
    memory.DeleteKey(L"", HKLM, L"Software\\Acme\\Item");
    EXPECT_EQ(Read(L"", L"Software\\Acme\\Item", L"B"), kKeyMissing);
    EXPECT_EQ(Read(L"PC7", L"Software\\Acme\\Item", L"A"), L"1");
    memory.Disconnect(L"PC7");
    EXPECT_EQ(Read(L"PC7", L"Software\\Acme\\Item", L"B"), kNotConnected);
    cached.NextItem();
    EXPECT_EQ(Read(L"PC7", L"Software\\Acme\\Other", L"B"), kNotConnected);
}

TEST_F(RegistryLayer, CachedReadsKeepTheConnectionForKeysMissingOnAComputer) {
    memory.SetString(L"PC7", HKLM, L"Software\\Acme\\Item", L"A", L"1");
    memory.ResetCounters();
    Registry::CachedReads cached(registry);
    for (int item = 0; item < 5; ++item) {
        cached.NextItem();
        EXPECT_EQ(Read(L"PC7", L"Software\\Acme\\Gone" + std::to_wstring(item), L"A"), kKeyMissing);
    }
    EXPECT_EQ(Read(L"PC7", L"Software\\Acme\\Item", L"A"), L"1");
    EXPECT_EQ(memory.ConnectCount(), 1u);
}

TEST_F(RegistryLayer, CachedReadsConnectOnceMoreToAComputerThatCameBack) {
    memory.SetString(L"PC7", HKLM, L"Software\\Acme\\Item", L"A", L"1");
    memory.SetString(L"PC7", HKLM, L"Software\\Acme\\Item", L"B", L"2");
    Registry::CachedReads cached(registry);
    EXPECT_EQ(Read(L"PC7", L"Software\\Acme\\Item", L"A"), L"1");
    memory.Disconnect(L"PC7"); // a restart: the old connection is dead, a new one works
    memory.SetReachable(L"PC7", true);
    memory.ResetCounters();
    EXPECT_EQ(Read(L"PC7", L"Software\\Acme\\Item", L"B"), L"2");
    cached.NextItem();
    EXPECT_EQ(Read(L"PC7", L"Software\\Acme\\Item", L"A"), L"1");
    EXPECT_EQ(memory.ConnectCount(), 1u);
}

} // namespace
} // namespace vantrel
