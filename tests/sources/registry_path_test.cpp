#include "sources/registry_path.h"

#include <gtest/gtest.h>

namespace vantrel {
namespace {

struct RootCase {
    std::wstring path;
    RootKey root;
    std::wstring rest;
};

TEST(RootOf, PrefixesSelectTheRootAndAreRemoved) {
    const RootCase cases[] = {
        {L"HKCU\\Software", RootKey::CurrentUser, L"Software"},
        {L"hkey_users\\.DEFAULT", RootKey::Users, L".DEFAULT"},
        {L"Software", RootKey::LocalMachine, L"Software\\"},
        {L"HKCR", RootKey::ClassesRoot, L""},
        {L"hklm\\System\\CurrentControlSet", RootKey::LocalMachine, L"System\\CurrentControlSet"},
        {L"HKUS\\S-1-5-18", RootKey::Users, L"S-1-5-18"},
        {L"HKEY_CLASSES_ROOT\\CLSID", RootKey::ClassesRoot, L"CLSID"},
        {L"HKEY_CURRENT_USER\\Software", RootKey::CurrentUser, L"Software"},
        {L"HKEY_LOCAL_MACHINE\\SOFTWARE", RootKey::LocalMachine, L"SOFTWARE"},
        {L"HKCRx\\y", RootKey::LocalMachine, L"HKCRx\\y"},
        {L"", RootKey::LocalMachine, L"\\"},
    };
    for (const RootCase& c : cases) {
        std::wstring path = c.path;
        EXPECT_EQ(RootOf(path), c.root) << c.path;
        EXPECT_EQ(path, c.rest) << c.path;
    }
}

TEST(RootOf, PrefixesAreTestedInOrderOnWhatTheLastOneLeft) {
    // "HKLM\" goes first, so a following "HKCR\" still counts; "HKEY_USERS\" before "HKCU\" does not.
    std::wstring path = L"HKLM\\HKCR\\CLSID";
    EXPECT_EQ(RootOf(path), RootKey::ClassesRoot);
    EXPECT_EQ(path, L"CLSID");
    path = L"HKEY_USERS\\HKCU\\x";
    EXPECT_EQ(RootOf(path), RootKey::Users);
    EXPECT_EQ(path, L"HKCU\\x");
}

TEST(GetMachine, NameBetweenTheFirstTwoSlashes) {
    std::wstring out;
    EXPECT_EQ(GetMachine(L"/PC7/HKLM\\x", out), L"PC7");
    EXPECT_EQ(out, L"HKLM\\x");
    EXPECT_EQ(GetMachine(L"Software\\/WS0015/Acme", out), L"WS0015");
    EXPECT_EQ(out, L"Software\\Acme");
    EXPECT_EQ(GetMachine(L"//x", out), L"");
    EXPECT_EQ(out, L"x");
}

TEST(GetMachine, NoComputerPart) {
    std::wstring out;
    EXPECT_EQ(GetMachine(L"HKLM\\x", out), L"");
    EXPECT_EQ(out, L"HKLM\\x");
    EXPECT_EQ(GetMachine(L"Content Type\\text/html", out), L"");
    EXPECT_EQ(out, L"Content Type\\text/html");
    EXPECT_EQ(GetMachine(L"a/b\\c/d", out), L""); // a "\" between the slashes
    EXPECT_EQ(out, L"a/b\\c/d");
}

TEST(GetMachOut, PathWithoutItsComputer) {
    EXPECT_EQ(GetMachOut(L"/PC7/DisplayName"), L"DisplayName");
    EXPECT_EQ(GetMachOut(L"//DisplayName"), L"DisplayName");
    EXPECT_EQ(GetMachOut(L"DisplayName"), L"DisplayName");
    EXPECT_EQ(GetMachOut(L"a/b\\c/d"), L"a/b\\c/d");
}

} // namespace
} // namespace vantrel
