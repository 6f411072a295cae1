// The registry layer against the real registry of the test prefix: its own keys under HKCU, created and
// removed by each test, and the demo registry imported by the test session.
#include "platform/win_registry.h"
#include "sources/registry.h"
#include "views/markers.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>

namespace vantrel {
namespace {

constexpr const wchar_t* kTestKey = L"Software\\VantrelTests\\Registry";
const std::wstring kTestPath = L"HKCU\\Software\\VantrelTests\\Registry";
const std::wstring kUserData = L"Software\\Microsoft\\Windows\\CurrentVersion\\Installer\\UserData";

class RegistryOnWine : public ::testing::Test {
protected:
    void SetUp() override { RegDeleteTreeW(HKEY_CURRENT_USER, kTestKey); }
    void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, kTestKey); }

    void SetRaw(const std::wstring& subkey, const std::wstring& name, DWORD type, const void* data,
                DWORD bytes) {
        HKEY key = nullptr;
        const std::wstring path = std::wstring(kTestKey) + (subkey.empty() ? L"" : L"\\" + subkey);
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                                  nullptr),
                  ERROR_SUCCESS);
        ASSERT_EQ(RegSetValueExW(key, name.c_str(), 0, type, static_cast<const BYTE*>(data), bytes),
                  ERROR_SUCCESS);
        RegCloseKey(key);
    }
    void SetString(const std::wstring& subkey, const std::wstring& name, const std::wstring& text) {
        SetRaw(subkey, name, REG_SZ, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    }
    void SetDword(const std::wstring& subkey, const std::wstring& name, DWORD value) {
        SetRaw(subkey, name, REG_DWORD, &value, sizeof(value));
    }
    std::wstring Read(const std::wstring& expression) {
        return registry.ReadValue(L"", RootKey::FromPath, kTestPath, expression);
    }
    bool ValueExists(const std::wstring& name) {
        return RegGetValueW(HKEY_CURRENT_USER, kTestKey, name.c_str(), RRF_RT_ANY, nullptr, nullptr,
                            nullptr) == ERROR_SUCCESS;
    }

    WinRegistryApi api;
    Registry registry{api};
};

std::wstring LocalComputerName() {
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1]{};
    DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
    GetComputerNameW(name, &size);
    return name;
}

TEST_F(RegistryOnWine, RootPrefixesAndPathsWithoutBackslash) {
    SetString(L"", L"Where", L"current user");
    EXPECT_EQ(registry.ReadValue(L"", RootKey::FromPath, kTestPath, L"Where"), L"current user");
    EXPECT_EQ(
        registry.ReadValue(L"", RootKey::FromPath, L"HKEY_CURRENT_USER\\" + std::wstring(kTestKey), L"Where"),
        L"current user");
    EXPECT_EQ(registry.ReadValue(L"", RootKey::CurrentUser, kTestKey, L"Where"), L"current user");
    // Without a prefix the path is under the local machine, where the key does not exist.
    EXPECT_EQ(registry.ReadValue(L"", RootKey::FromPath, kTestKey, L"Where"), kKeyMissing);
    // "Software" alone gets a "\" and opens HKLM\Software; "HKCR" alone opens the classes root.
    EXPECT_EQ(registry.ReadValue(L"", RootKey::FromPath, L"Software", L"*()0").empty(), false);
    EXPECT_NE(registry.ReadValue(L"", RootKey::FromPath, L"HKCR", L"*()0"), kKeyMissing);
    EXPECT_NE(registry.ReadValue(L"", RootKey::FromPath, L"hkey_users\\.DEFAULT", L"*()0"), kKeyMissing);
}

TEST_F(RegistryOnWine, SubkeyValuesDefaultValuesAndMarkers) {
    // A class of the demo registry with a local server.
    const std::wstring contoso = L"HKCR\\CLSID\\{41809686-6630-4E7B-B1F1-5412E0717F43}";
    EXPECT_NE(registry.ReadValue(L"", RootKey::FromPath, contoso, L"LocalServer32\\").find(L"cpdfconv.exe"),
              std::wstring::npos);
    EXPECT_EQ(registry.ReadValue(L"", RootKey::FromPath, contoso, L"@"), L"Contoso PDF Converter");
    EXPECT_EQ(registry.ReadValue(L"", RootKey::FromPath, contoso, L""), L"Contoso PDF Converter");
    EXPECT_EQ(registry.ReadValue(L"", RootKey::FromPath, contoso, L"NoSuchValue"), kValueMissing);
    EXPECT_EQ(registry.ReadValue(L"", RootKey::FromPath, contoso, L"NoSuchKey\\Value"), kKeyMissing);
    EXPECT_EQ(registry.ReadValue(L"", RootKey::FromPath, L"HKCR\\CLSID\\{no-such-class}", L"@"), kKeyMissing);
    EXPECT_EQ(registry.ReadValue(L"NOSUCHPC7", RootKey::FromPath, contoso, L"@"), kNotConnected);
    // An absolute reference replaces the row key.
    EXPECT_EQ(registry.ReadValue(L"", RootKey::FromPath, L"HKLM\\Nowhere",
                                 L"\\HKCR\\Clsid\\{41809686-6630-4E7B-B1F1-5412E0717F43}\\"),
              L"Contoso PDF Converter");
}

TEST_F(RegistryOnWine, SubkeyByIndex) {
    SetString(L"Beta", L"", L"");
    SetString(L"alpha", L"", L"");
    EXPECT_EQ(Read(L"*()0"), L"alpha");
    EXPECT_EQ(Read(L"*()1"), L"Beta");
    EXPECT_EQ(Read(L"*()2"), L"");
}

TEST_F(RegistryOnWine, LongStringsReadWhole) {
    const std::wstring big(5000, L'x');
    SetString(L"", L"Big", big);
    EXPECT_EQ(Read(L"Big"), big);
    const std::wstring exact(199, L'y'); // 400 bytes with its terminator
    SetString(L"", L"Exact", exact);
    EXPECT_EQ(Read(L"Exact"), exact);
    const std::wstring unicode = L"\x0436\x00e4\x4e2d\xd834\xdd1e";
    SetString(L"", L"Unicode", unicode);
    EXPECT_EQ(Read(L"Unicode"), unicode);
}

TEST_F(RegistryOnWine, NumbersMultiStringsAndBinary) {
    SetDword(L"", L"Sixteen", 16);
    SetDword(L"", L"Max", 0xFFFFFFFF);
    const ULONGLONG big = 0x100000001ULL;
    SetRaw(L"", L"Qword", REG_QWORD, &big, sizeof(big));
    const wchar_t multi[] = L"one\0two\0";
    SetRaw(L"", L"Multi", REG_MULTI_SZ, multi, sizeof(multi));
    const BYTE binary[] = {0x00, 0x41, 0xFF};
    SetRaw(L"", L"Binary", REG_BINARY, binary, sizeof(binary));
    EXPECT_EQ(Read(L"Sixteen"), L"16");
    EXPECT_EQ(Read(L"Max"), L"4294967295");
    EXPECT_EQ(Read(L"Qword"), L"4294967297");
    EXPECT_EQ(Read(L"Multi"), std::wstring(L"one\0two\0", 8));
    EXPECT_EQ(Read(L"Binary"), std::wstring(L"\x00"
                                            L"A\xFF",
                                            3));
}

TEST_F(RegistryOnWine, ComputersInPathsAndExpressions) {
    SetString(L"", L"Name", L"here");
    const std::wstring local = LocalComputerName();
    ASSERT_FALSE(local.empty());
    // The local computer's own name connects through the remote registry call.
    EXPECT_EQ(registry.ReadValue(local, RootKey::FromPath, kTestPath, L"Name"), L"here");
    EXPECT_EQ(registry.ReadValue(L"", RootKey::FromPath, L"/" + local + L"/" + kTestPath, L"Name"), L"here");
    EXPECT_EQ(registry.ReadValue(L"", RootKey::FromPath, kTestPath, L"/" + local + L"/Name"), L"here");
    // Another computer named in the path or the expression wins over the view's computer.
    EXPECT_EQ(registry.ReadValue(L"", RootKey::FromPath, L"/PC7/" + kTestPath, L"Name"), kNotConnected);
    EXPECT_EQ(registry.ReadValue(local, RootKey::FromPath, kTestPath, L"/PC7/Name"), kNotConnected);
    // Through a connection the classes root is the machine's Software\Classes.
    EXPECT_EQ(registry.ReadValue(local, RootKey::FromPath,
                                 L"HKCR\\CLSID\\{41809686-6630-4E7B-B1F1-5412E0717F43}", L"@"),
              L"Contoso PDF Converter");
    // "//" names nobody: the view's computer stays.
    EXPECT_EQ(registry.ReadValue(L"", RootKey::FromPath, L"//" + kTestPath, L"//Name"), L"here");
    EXPECT_EQ(registry.ReadValue(L"PC7", RootKey::FromPath, L"//" + kTestPath, L"Name"), kNotConnected);
}

TEST_F(RegistryOnWine, WildcardsOverTheDemoRegistry) {
    const auto products = registry.EnumKeys(L"", RootKey::FromPath, kUserData + L"\\*\\Products", true);
    // Two users with products; the third user key has no Products subkey and lists nothing.
    ASSERT_EQ(products.size(), 5u);
    EXPECT_EQ(products[0], L"S-1-5-18\\Products\\61D58E34F7A738E4D959A2058E60E9E3");
    EXPECT_EQ(std::count_if(products.begin(), products.end(),
                            [](const std::wstring& p) {
                                return p.starts_with(
                                    L"S-1-5-21-1004336348-1177238915-682003330-1001\\Products\\");
                            }),
              2);
    EXPECT_EQ(std::count_if(products.begin(), products.end(),
                            [](const std::wstring& p) { return p.find(L"-1002") != std::wstring::npos; }),
              0);

    const auto files = registry.EnumKeys(L"", RootKey::FromPath,
                                         L"Software\\Microsoft\\Updates\\Windows XP\\*\\*\\FileList", true);
    ASSERT_EQ(files.size(), 5u);
    for (const std::wstring& file : files)
        EXPECT_NE(file.find(L"\\FileList\\"), std::wstring::npos) << file;
    EXPECT_EQ(files[0], L"SP0\\KB898461\\FileList\\0");

    // Wildcards off: only the fixed part before the first "\*" is listed.
    const auto users = registry.EnumKeys(L"", RootKey::FromPath, kUserData + L"\\*\\Products", false);
    EXPECT_EQ(users.size(), 3u);
    EXPECT_TRUE(
        registry.EnumKeys(L"NOSUCHPC7", RootKey::FromPath, kUserData + L"\\*\\Products", true).empty());
    EXPECT_TRUE(registry.EnumKeys(L"", RootKey::FromPath, L"Software\\NoSuchVendor\\*", true).empty());
}

TEST_F(RegistryOnWine, EnumValuesReadsLongValuesToo) {
    SetString(L"", L"Short", L"s");
    SetString(L"", L"Long", std::wstring(3000, L'l'));
    SetDword(L"", L"Number", 7);
    const auto values = registry.EnumValues(L"", RootKey::FromPath, kTestPath);
    ASSERT_EQ(values.size(), 3u);
    // Wine lists values by name, Windows in the order they were written.
    const auto find = [&](const std::wstring& name) {
        return *std::find_if(values.begin(), values.end(),
                             [&](const ValueText& v) { return v.name == name; });
    };
    EXPECT_EQ(find(L"Short").text, L"s");
    EXPECT_EQ(find(L"Long").text, std::wstring(3000, L'l'));
    EXPECT_EQ(find(L"Number").text, L"7");
    EXPECT_EQ(find(L"Number").type, static_cast<std::uint32_t>(REG_DWORD));
}

TEST_F(RegistryOnWine, WriteValueCreatesKeysAndKeepsUnicode) {
    const std::wstring text = L"Fenster \x0436 \x4e2d";
    EXPECT_EQ(registry.WriteValue(RootKey::FromPath, kTestPath + L"\\New\\Deeper", L"Text", text, REG_SZ), 0);
    EXPECT_EQ(registry.ReadValue(L"", RootKey::FromPath, kTestPath + L"\\New\\Deeper", L"Text"), text);
    DWORD bytes = 0;
    RegGetValueW(HKEY_CURRENT_USER, (std::wstring(kTestKey) + L"\\New\\Deeper").c_str(), L"Text", RRF_RT_ANY,
                 nullptr, nullptr, &bytes);
    EXPECT_EQ(bytes, (text.size() + 1) * sizeof(wchar_t)); // with its terminating zero
    const std::wstring window(L"1200\0-60\0"
                              L"9000\0"
                              L"7000\0\0",
                              21);
    EXPECT_EQ(registry.WriteValue(RootKey::FromPath, kTestPath, L"Window", window, REG_MULTI_SZ), 0);
    EXPECT_EQ(Read(L"Window"), window.substr(0, 20));
}

TEST_F(RegistryOnWine, ChangeValueChecksWhatTheUserSaw) {
    SetString(L"", L"Text", L"old");
    EXPECT_EQ(registry.ChangeValue(L"", RootKey::FromPath, kTestPath, L"Text", L"stale", L"new"), 33);
    EXPECT_EQ(Read(L"Text"), L"old");
    EXPECT_EQ(registry.ChangeValue(L"", RootKey::FromPath, kTestPath, L"Text", L"old", L"new"), 0);
    EXPECT_EQ(Read(L"Text"), L"new");
    EXPECT_EQ(registry.ChangeValue(L"", RootKey::FromPath, kTestPath, L"Text", L"new", L""), 0);
    EXPECT_FALSE(ValueExists(L"Text"));
    // A missing value counts as an empty string and can be created.
    EXPECT_EQ(registry.ChangeValue(L"", RootKey::FromPath, kTestPath, L"Sub\\Fresh", L"", L"x"),
              2); // no key Sub
    EXPECT_EQ(registry.ChangeValue(L"", RootKey::FromPath, kTestPath, L"Fresh", L"", L"x"), 0);
    EXPECT_EQ(Read(L"Fresh"), L"x");
    EXPECT_EQ(registry.ChangeValue(L"NOSUCHPC7", RootKey::FromPath, kTestPath, L"Fresh", L"x", L"y"), 3);
}

TEST_F(RegistryOnWine, ChangeValueOfNumbersAndUnwritableTypes) {
    SetDword(L"", L"Number", 16);
    EXPECT_EQ(registry.ChangeValue(L"", RootKey::FromPath, kTestPath, L"Number", L"16", L"4294967295"), 0);
    EXPECT_EQ(Read(L"Number"), L"4294967295");
    EXPECT_EQ(registry.ChangeValue(L"", RootKey::FromPath, kTestPath, L"Number", L"4294967295", L"ten"),
              ERROR_INVALID_DATA);
    EXPECT_EQ(
        registry.ChangeValue(L"", RootKey::FromPath, kTestPath, L"Number", L"4294967295", L"4294967296"),
        ERROR_INVALID_DATA);
    EXPECT_EQ(Read(L"Number"), L"4294967295");

    const wchar_t multi[] = L"a\0b\0";
    SetRaw(L"", L"Multi", REG_MULTI_SZ, multi, sizeof(multi));
    const std::wstring multiText(L"a\0b\0", 4);
    EXPECT_EQ(registry.ChangeValue(L"", RootKey::FromPath, kTestPath, L"Multi", multiText, L"c"),
              ERROR_INVALID_DATATYPE);
    EXPECT_EQ(Read(L"Multi"), multiText);

    // Deleting works whatever the type, once the expected text matches.
    for (const auto& [name, text] :
         {std::pair<std::wstring, std::wstring>{L"Number", L"4294967295"}, {L"Multi", multiText}}) {
        EXPECT_EQ(registry.ChangeValue(L"", RootKey::FromPath, kTestPath, name, text, L""), 0) << name;
        EXPECT_FALSE(ValueExists(name)) << name;
    }
    const BYTE binary[] = {1, 2, 3};
    SetRaw(L"", L"Binary", REG_BINARY, binary, sizeof(binary));
    EXPECT_EQ(registry.ChangeValue(L"", RootKey::FromPath, kTestPath, L"Binary",
                                   std::wstring(L"\x01\x02\x03"), L""),
              0);
    EXPECT_FALSE(ValueExists(L"Binary"));
}

TEST_F(RegistryOnWine, ChangeValueOfALongValue) {
    const std::wstring big(2000, L'b');
    SetString(L"", L"Big", big);
    EXPECT_EQ(registry.ChangeValue(L"", RootKey::FromPath, kTestPath, L"Big", big, L"small"), 0);
    EXPECT_EQ(Read(L"Big"), L"small");
    SetString(L"", L"Big", big);
    EXPECT_EQ(registry.ChangeValue(L"", RootKey::FromPath, kTestPath, L"Big", big, L""), 0);
    EXPECT_FALSE(ValueExists(L"Big"));
}

} // namespace
} // namespace vantrel
