// The folder walk and the file properties over folders the tests write: programs copied from the fixtures
// built beside this test, setup files, driver information files and plain text files.
#include "platform/file_info.h"
#include "platform/program_file.h"
#include "platform/win_file_source.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <regex>
#include <string>
#include <vector>

namespace vantrel::test {
namespace {

using Files = std::vector<std::wstring>;

void CreateFolder(const std::wstring& path) {
    CreateDirectoryW(path.c_str(), nullptr);
}

void WriteTextFile(const std::wstring& path, std::string_view content,
                   DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
    const HANDLE file =
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, attributes, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
    DWORD written = 0;
    ::WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(file);
}

void CopyFixture(std::wstring_view fixture, const std::wstring& destination) {
    const std::wstring source = ProgramFolder() + std::wstring(fixture) + L".exe";
    ASSERT_TRUE(CopyFileW(source.c_str(), destination.c_str(), FALSE)) << source;
}

// A fresh folder of the test's own, with a trailing "\".
std::wstring FreshFolder(std::wstring_view name) {
    const std::wstring folder = TempFolder(name) + L"\\";
    WIN32_FIND_DATAW entry{};
    const HANDLE find = FindFirstFileW((folder + L"*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do
            if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
                SetFileAttributesW((folder + entry.cFileName).c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW((folder + entry.cFileName).c_str());
            }
        while (FindNextFileW(find, &entry));
        FindClose(find);
    }
    return folder;
}

TEST(FolderWalk, PatternsInOrderNormalFilesOnlyAndOneLevelDown) {
    const std::wstring root = FreshFolder(L"vantrel-walk");
    CreateFolder(root + L"sub");
    CreateFolder(root + L"sub\\deeper");
    WriteTextFile(root + L"a.ocx", "");
    WriteTextFile(root + L"z.dll", "");
    WriteTextFile(root + L"hidden.dll", "", FILE_ATTRIBUTE_HIDDEN);
    WriteTextFile(root + L"system.dll", "", FILE_ATTRIBUTE_SYSTEM);
    WriteTextFile(root + L"sub\\y.dll", "");
    WriteTextFile(root + L"sub\\deeper\\x.dll", "");
    WinFileSource source;
    EXPECT_EQ(source.FolderWalk(root.substr(0, root.size() - 1), L"*.dll;*.ocx", 1, {}),
              (Files{root + L"z.dll", root + L"a.ocx", root + L"sub\\y.dll"}));
    EXPECT_EQ(source.FolderWalk(root, L"*.ocx;;*.dll", 0, {}), (Files{root + L"a.ocx"}));
}

// A folder of 18,001 subfolders. Under Wine the build makes it on the Linux side; Wine itself looks through
// the whole folder for each new name and would take about a minute.
std::wstring WideFolder(int names) {
#ifdef VANTREL_WIDE_FOLDER
    (void)names;
    std::wstring root = L"Z:";
    for (const char c : std::string_view(VANTREL_WIDE_FOLDER))
        root += c == '/' ? L'\\' : static_cast<wchar_t>(c);
    return root + L"\\";
#else
    const std::wstring root = TempFolder(L"vantrel-walk-wide") + L"\\";
    for (int i = 0; i < names; ++i)
        CreateFolder(root + L"d" + std::to_wstring(i));
    return root;
#endif
}

// The walk once kept at most 18,000 names of a folder to descend into; a folder may hold more. Every entry
// is a folder here, so that the one listed last, which a bound would drop, can hold the file to be found.
TEST(FolderWalk, DescendsIntoEveryOneOfMoreThan18000Names) {
    constexpr int kNames = 18001;
    const std::wstring root = WideFolder(kNames);
    std::wstring last;
    WIN32_FIND_DATAW entry{};
    const HANDLE find = FindFirstFileW((root + L"*").c_str(), &entry);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    int names = 0;
    do {
        const std::wstring_view name = entry.cFileName;
        if (name != L"." && name != L"..") {
            last = name;
            ++names;
        }
    } while (FindNextFileW(find, &entry));
    FindClose(find);
    ASSERT_EQ(names, kNames);
    WriteTextFile(root + last + L"\\found.txt", "");

    WinFileSource source;
    EXPECT_EQ(source.FolderWalk(root, L"*.txt", 1, {}), (Files{root + last + L"\\found.txt"}));
    DeleteFileW((root + last + L"\\found.txt").c_str());
}

// The walk asks its check before each folder and every 256 entries; false ends it with the files found so
// far, so that a fill over a huge tree stays responsive and stops on Esc.
TEST(FolderWalk, TheCheckIsAskedBeforeEachFolderAndWhileListingAndEndsTheWalk) {
    const std::wstring root = FreshFolder(L"vantrel-walk-check");
    constexpr int kFiles = 600;
    for (int i = 0; i < kFiles; ++i)
        WriteTextFile(root + L"f" + std::to_wstring(i) + L".txt", "");
    CreateFolder(root + L"sub");
    WriteTextFile(root + L"sub\\deeper.txt", "");
    WinFileSource source;

    int checks = 0;
    const auto all = source.FolderWalk(root, L"*.txt", 1, [&] { return ++checks > 0; });
    EXPECT_EQ(all.size(), kFiles + 1u);
    EXPECT_GE(checks, 1 + kFiles / 256 + 1); // the root, its listing, the subfolder

    checks = 0;
    const auto stopped = source.FolderWalk(root, L"*.txt", 1, [&] { return ++checks < 2; });
    EXPECT_EQ(checks, 2);
    EXPECT_EQ(stopped.size(), 256u); // the listing ended at its first check

    EXPECT_TRUE(source.FolderWalk(root, L"*.txt", 1, [] { return false; }).empty());
}

class FilePropertyTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        base = FreshFolder(L"vantrel-file-properties");
        for (const wchar_t* folder : {L"setup", L"oldsetup", L"sub"}) {
            FreshFolder(std::wstring(L"vantrel-file-properties\\") + folder);
        }
        CopyFixture(L"vantrel_described_tool", base + L"tool.exe");
        CopyFixture(L"vantrel_mislabelled_tool", base + L"Mislabelled.DLL");
        CopyFixture(L"vantrel_plain_tool", base + L"plain.sys");
        CopyFixture(L"vantrel_described_tool", base + L"setup\\Setup.exe");
        WriteTextFile(base + L"setup\\setup.ini", "[StartUp]\r\nAppName=\r\nProduct=Vantrel Suite\r\n");
        WriteTextFile(base + L"setup\\setup.lst", "[NT Intel Params]\r\nWndTitle=Not this one\r\n");
        CopyFixture(L"vantrel_plain_tool", base + L"oldsetup\\setup.exe");
        WriteTextFile(base + L"oldsetup\\setup.lst", "[NT Intel Params]\r\nWndTitle=Old Suite Setup\r\n");
        WriteTextFile(base + L"disk.inf", "[Version]\r\nSignature=\"$Windows NT$\"\r\nClass=%DiskClass%\r\n"
                                          "Provider=\"Vantrel Drivers\"\r\n\r\n[Manufacturer]\r\n"
                                          "%Acme%=Acme,NTamd64\r\n\r\n[Strings]\r\nDiskClass=Disk drives\r\n"
                                          "Acme=Acme Devices\r\n");
        WriteTextFile(base + L"sub\\notes.txt", "hello");
        WriteTextFile(base + L"empty.txt", "");
    }
    static std::wstring Property(std::wstring_view file, std::wstring_view token) {
        WinFileSource source;
        RowFileCache cache;
        return source.FileProperty(base + std::wstring(file), token, base, cache);
    }
    static inline std::wstring base;
};

TEST_F(FilePropertyTest, ProgramsSetupsAndDriversByToken) {
    const struct {
        std::wstring_view file, token, expected;
    } cases[] = {
        {L"tool.exe", L"Title", L"Vantrel Test Tool"},
        {L"tool.exe", L"VERSION", L"1.2.3.4"},
        {L"tool.exe", L"subject", L""},
        {L"Mislabelled.DLL", L"title", L"Mislabelled Tool"},
        {L"Mislabelled.DLL", L"version", L"2.0.0.17"},
        {L"plain.sys", L"title", L""},
        {L"plain.sys", L"version", L""},
        {L"setup\\Setup.exe", L"title", L"Vantrel Suite"},
        {L"setup\\Setup.exe", L"version", L"1.2.3.4"},
        {L"oldsetup\\setup.exe", L"title", L"Old Suite Setup"},
        {L"disk.inf", L"title", L"Acme Devices"},
        {L"disk.inf", L"subject", L"Disk drives"},
        {L"disk.inf", L"author", L"Vantrel Drivers"},
        {L"disk.inf", L"version", L""},
        {L"missing.exe", L"title", L""},
    };
    for (const auto& [file, token, expected] : cases)
        EXPECT_EQ(Property(file, token), expected) << std::wstring(file) << L" " << std::wstring(token);
}

TEST_F(FilePropertyTest, TextFileHasOnlyPathSizeAndTimeTokens) {
    const std::wstring file = L"sub\\notes.txt";
    EXPECT_EQ(Property(file, L"<keyfile>"), L"notes.txt");
    EXPECT_EQ(Property(file, L"<KeyPath>"), base + L"sub\\");
    EXPECT_EQ(Property(file, L"<relfile>"), L"\\sub\\notes.txt");
    EXPECT_EQ(Property(file, L"<relpath>"), L"\\sub\\");
    EXPECT_EQ(Property(file, L"filesize"), L"5");
    EXPECT_FALSE(Property(file, L"filetime").empty());
    for (const wchar_t* token : {L"title", L"version", L"subject", L"author", L"name", L"Security"})
        EXPECT_EQ(Property(file, token), L"") << token;
}

TEST_F(FilePropertyTest, SizeAndTimeComeFromTheDirectoryEntry) {
    EXPECT_EQ(Property(L"empty.txt", L"FileSize"), L"0");
    EXPECT_EQ(Property(L"missing.txt", L"filesize"), L"0");
    EXPECT_EQ(Property(L"missing.txt", L"filetime"), L"");
    EXPECT_EQ(Get_FSize(base + L"tool.exe"), Get_FSize(ProgramFolder() + L"vantrel_described_tool.exe"));

    const std::wstring time = Property(L"sub\\notes.txt", L"filetime");
    EXPECT_TRUE(std::regex_match(time, std::wregex(LR"(\d{4}/\d\d/\d\d, \d\d:\d\d:\d\d\.\d{3})"))) << time;
    WIN32_FIND_DATAW entry{};
    const HANDLE find = FindFirstFileW((base + L"sub\\notes.txt").c_str(), &entry);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    FindClose(find);
    EXPECT_EQ(time, FileTimeText(entry.ftLastWriteTime));
}

TEST(FileTimeText, WritesLocalTimeWithPaddedFields) {
    SYSTEMTIME local{.wYear = 2004,
                     .wMonth = 3,
                     .wDayOfWeek = 0,
                     .wDay = 15,
                     .wHour = 9,
                     .wMinute = 5,
                     .wSecond = 7,
                     .wMilliseconds = 23};
    FILETIME localTime{}, utc{};
    ASSERT_TRUE(SystemTimeToFileTime(&local, &localTime));
    ASSERT_TRUE(LocalFileTimeToFileTime(&localTime, &utc));
    EXPECT_EQ(FileTimeText(utc), L"2004/03/15, 09:05:07.023");
    local.wYear = 12345;
    ASSERT_TRUE(SystemTimeToFileTime(&local, &localTime));
    ASSERT_TRUE(LocalFileTimeToFileTime(&localTime, &utc));
    EXPECT_EQ(FileTimeText(utc), L"12345/03/15, 09:05:07.023");
}

} // namespace
} // namespace vantrel::test
