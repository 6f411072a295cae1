// Installer packages read through Windows Installer, against the package wixl builds from
// tests/fixtures/test_package.wxs: the values below are the ones msiinfo shows for it.
#include "platform/msi_package.h"
#include "platform/win_file_source.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <memory>

namespace vantrel {
namespace {

// The build tree's path as Wine's drive Z: shows it.
std::wstring TestPackage() {
    std::wstring path = L"Z:";
    for (const char c : std::string_view(VANTREL_TEST_PACKAGE))
        path += c == '/' ? L'\\' : static_cast<wchar_t>(c);
    return path;
}

const std::wstring kDigits = [] {
    std::wstring digits;
    for (int i = 0; i < 20; ++i)
        digits += L"0123456789";
    return digits;
}();

std::wstring NotAPackage() {
    const std::wstring path = test::TempFolder(L"vantrel-msi") + L"\\not-a-package.msi";
    std::ofstream(path.c_str()) << "plain text, not a compound file\n";
    return path;
}

struct SummaryCase {
    int number;
    std::wstring expected;
};

TEST(MsiSummaryProperty, GivesTheTextsAndNumbersOfTheSummary) {
    const SummaryCase cases[] = {
        {2, L"Installation Database"},
        {3, L"Vantrel test package description"},
        {4, L"Vantrel Tests"},
        {5, L"vantrel,test"},
        {6, L"Comments longer than a first buffer: " + kDigits},
        {7, L"Intel;1033"},
        {10, L""}, // a number nobody writes
        {14, L"200"},
        {15, L"2"},
        {19, L"2"},
    };
    RowFileCache cache;
    for (const SummaryCase& c : cases)
        EXPECT_EQ(MsiSummaryProperty(TestPackage(), c.number, cache), c.expected) << "number " << c.number;
}

TEST(MsiSummaryProperty, GivesTheCreationTimeInLocalTimeToTheSecond) {
    RowFileCache cache;
    const std::wstring text = MsiSummaryProperty(TestPackage(), 12, cache);
    SYSTEMTIME fields{};
    ASSERT_EQ(std::swscanf(text.c_str(), L"%hu/%2hu/%2hu, %2hu:%2hu:%2hu", &fields.wYear, &fields.wMonth,
                           &fields.wDay, &fields.wHour, &fields.wMinute, &fields.wSecond),
              6)
        << text;
    ASSERT_EQ(text.size(), 20u) << text;
    // wixl stamps the package as it writes it, so the time is the file's own modification time.
    FILETIME local{};
    FILETIME created{};
    ASSERT_TRUE(SystemTimeToFileTime(&fields, &local));
    ASSERT_TRUE(LocalFileTimeToFileTime(&local, &created));
    WIN32_FILE_ATTRIBUTE_DATA data{};
    ASSERT_TRUE(GetFileAttributesExW(TestPackage().c_str(), GetFileExInfoStandard, &data));
    const auto ticks = [](const FILETIME& t) {
        return static_cast<long long>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) |
                                      t.dwLowDateTime);
    };
    EXPECT_LT(std::llabs(ticks(created) - ticks(data.ftLastWriteTime)), 60LL * 10'000'000) << text;
}

TEST(MsiSummaryProperty, OpensTheSummaryOncePerFileAndRow) {
    RowFileCache cache;
    EXPECT_EQ(MsiSummaryProperty(TestPackage(), 2, cache), L"Installation Database");
    const std::weak_ptr<void> opened = cache.state;
    ASSERT_FALSE(opened.expired());
    EXPECT_EQ(MsiSummaryProperty(TestPackage(), 3, cache), L"Vantrel test package description");
    EXPECT_EQ(MsiSummaryProperty(TestPackage(), 4, cache), L"Vantrel Tests");
    EXPECT_EQ(cache.state, opened.lock());

    // The next row opens it again.
    cache.Release();
    EXPECT_TRUE(opened.expired());
    EXPECT_EQ(MsiSummaryProperty(TestPackage(), 2, cache), L"Installation Database");
    EXPECT_NE(cache.state, nullptr);
}

TEST(MsiSummaryProperty, NeverTakesAnotherFilesOrReadersStateForItsOwn) {
    RowFileCache cache;
    cache.state = std::make_shared<int>(7); // what some other reader keeps for its file
    EXPECT_EQ(MsiSummaryProperty(TestPackage(), 2, cache), L"Installation Database");

    const std::wstring other = NotAPackage();
    EXPECT_EQ(MsiSummaryProperty(other, 2, cache), L"");
    EXPECT_EQ(MsiSummaryProperty(TestPackage(), 4, cache), L"Vantrel Tests");
}

TEST(MsiSummaryProperty, GivesNothingForFilesThatAreNoPackage) {
    RowFileCache cache;
    EXPECT_EQ(MsiSummaryProperty(NotAPackage(), 2, cache), L"");
    cache.Release();
    EXPECT_EQ(MsiSummaryProperty(L"Z:\\no\\such\\package.msi", 2, cache), L"");
}

TEST(MsiTableProperty, GivesTheValuesOfThePropertyTable) {
    RowFileCache cache;
    EXPECT_EQ(MsiTableProperty(TestPackage(), L"ProductName", cache), L"Vantrel Test Package");
    EXPECT_EQ(MsiTableProperty(TestPackage(), L"ProductVersion", cache), L"1.2.3");
    EXPECT_EQ(MsiTableProperty(TestPackage(), L"Manufacturer", cache), L"Vantrel Tests");
    EXPECT_EQ(MsiTableProperty(TestPackage(), L"VantrelLongValue", cache),
              L"A value longer than a first buffer: " + kDigits);
}

TEST(MsiTableProperty, SharesTheRowsPackageWithTheSummary) {
    RowFileCache cache;
    EXPECT_EQ(MsiSummaryProperty(TestPackage(), 2, cache), L"Installation Database");
    const std::weak_ptr<void> opened = cache.state;
    EXPECT_EQ(MsiTableProperty(TestPackage(), L"ProductName", cache), L"Vantrel Test Package");
    EXPECT_EQ(MsiSummaryProperty(TestPackage(), 4, cache), L"Vantrel Tests");
    EXPECT_EQ(MsiTableProperty(TestPackage(), L"ProductVersion", cache), L"1.2.3");
    EXPECT_EQ(cache.state, opened.lock());
}

TEST(MsiTableProperty, GivesNothingWhenThereIsNoSuchValue) {
    RowFileCache cache;
    EXPECT_EQ(MsiTableProperty(TestPackage(), L"NoSuchProperty", cache), L"");
    EXPECT_EQ(MsiTableProperty(TestPackage(), L"ProductName' OR `Property` = 'ProductVersion", cache), L"");
    EXPECT_EQ(MsiTableProperty(NotAPackage(), L"ProductName", cache), L"");
    EXPECT_EQ(MsiTableProperty(L"Z:\\no\\such\\package.msi", L"ProductName", cache), L"");
}

// A folder view's columns on a package: summary tokens, the two short names of the Property table, and
// any other name taken as it is written.
TEST(MsiPackageColumns, ReadTheSummaryAndThePropertyTableByToken) {
    WinFileSource files;
    RowFileCache cache;
    const auto column = [&](std::wstring_view token) {
        return files.FileProperty(TestPackage(), token, L"Z:\\", cache);
    };
    EXPECT_EQ(column(L"Title"), L"Installation Database");
    EXPECT_EQ(column(L"Subject"), L"Vantrel test package description");
    EXPECT_EQ(column(L"Author"), L"Vantrel Tests");
    EXPECT_EQ(column(L"name"), L"Vantrel Test Package");
    EXPECT_EQ(column(L"Version"), L"1.2.3");
    EXPECT_EQ(column(L"ProductCode"), L"{BD15BA54-8B59-4CCA-BD04-C4FEBF3AD71C}");
}

} // namespace
} // namespace vantrel
