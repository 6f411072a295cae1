// Ini files through the system's profile functions, with files the tests write.
#include "platform/system_message.h"
#include "platform/win_ini_files.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>

namespace vantrel {
namespace {

class IniFilesOnWine : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t folder[MAX_PATH]{};
        GetTempPathW(MAX_PATH, folder);
        path = std::wstring(folder) + L"vantrel ini test.ini";
    }
    void TearDown() override { DeleteFileW(path.c_str()); }
    void Write(const std::string& text) {
        WritePrivateProfileStringW(nullptr, nullptr, nullptr, path.c_str()); // drop what the system caches
        std::ofstream(std::string(path.begin(), path.end()), std::ios::binary) << text;
    }

    std::wstring path;
    WinIniFiles ini;
};

TEST_F(IniFilesOnWine, SectionsAndEntriesInFileOrder) {
    Write("[Version]\r\nSignature=\"$Windows NT$\"\r\nClass=Net\r\n[Strings]\r\nAcme=\"Acme Software\"\r\n");
    EXPECT_EQ(ini.SectionNames(path), (std::vector<std::wstring>{L"Version", L"Strings"}));
    EXPECT_EQ(ini.SectionEntries(path, L"version"),
              (std::vector<std::wstring>{L"Signature=\"$Windows NT$\"", L"Class=Net"}));
    EXPECT_EQ(ini.ReadIniValue(path, L"Version", L"Class"), L"Net");
    EXPECT_EQ(ini.ReadIniValue(path, L"Version", L"Nothing"), L"");
}

TEST_F(IniFilesOnWine, LongSectionsAndNameListsAreReadWhole) {
    std::string text = "[Big]\r\n";
    for (int i = 0; i < 2000; ++i)
        text += "Key" + std::to_string(i) + "=" + std::string(45, 'v') + "\r\n"; // about 100,000 characters
    for (int i = 0; i < 3000; ++i)
        text += "[Section number " + std::to_string(i) + "]\r\nx=1\r\n"; // names beyond 32,768 characters
    Write(text);
    const auto entries = ini.SectionEntries(path, L"Big");
    ASSERT_EQ(entries.size(), 2000u);
    EXPECT_EQ(entries.back(), L"Key1999=" + std::wstring(45, L'v'));
    const auto names = ini.SectionNames(path);
    ASSERT_EQ(names.size(), 3001u);
    EXPECT_EQ(names.back(), L"Section number 2999");
}

TEST_F(IniFilesOnWine, AMissingFileHasNoSections) {
    EXPECT_TRUE(ini.SectionNames(path + L".missing").empty());
    EXPECT_TRUE(ini.SectionEntries(path + L".missing", L"Any").empty());
}

// A file that cannot be written says so, with the system's error; one that can be written takes the value.
// (Wine run as root writes read-only files too, so a folder that is not there stands for an unwritable
// place.)
TEST_F(IniFilesOnWine, WritesThatFailReportTheSystemError) {
    ASSERT_TRUE(ini.WriteIniValue(path, L"Main", L"XKey", L"HKLM\\Software"));
    EXPECT_EQ(ini.ReadIniValue(path, L"Main", L"XKey"), L"HKLM\\Software");

    const std::wstring nowhere = path + L"-missing folder\\view.kvf";
    const WriteResult missing = ini.WriteIniValue(nowhere, L"Main", L"XKey", L"x");
    ASSERT_FALSE(missing);
    EXPECT_NE(SystemMessage(missing.error().systemError),
              L"Error " + std::to_wstring(missing.error().systemError));
}

} // namespace
} // namespace vantrel
