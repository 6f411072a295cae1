// The .xlsx workbook written through the system's packaging API. This Wine cannot read a package back, so
// the test that writes two sheets also writes what a reader must find in them (xlsx.json), and the
// ctest step xlsx_readback reads both with openpyxl (scripts/check-workbook.py).
#include "platform/xlsx_file.h"
#include "support/expected_workbook.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <objbase.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <thread>

namespace vantrel {
namespace {

std::string FileBytes(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::vector<ExpectedSheet> TwoSheets() {
    std::vector<std::wstring> header{L"Name", L"Version", L"Size", L"Path", L"Notes"};
    for (int c = 6; c <= 28; ++c)
        header.push_back(L"Column " + std::to_wstring(c));
    std::vector<std::wstring> wide(28, L"");
    wide[0] = L"wide";
    wide[25] = L"in column Z, the last one with a width";
    wide[27] = L"in column AB, much longer than anything in the columns sized to their texts";
    const std::wstring loneSurrogate{wchar_t(0xD800), L'x'};

    ExpectedSheet first{
        {L"Vantrel1",
         {header,
          {L"Acme Tool", L"2.4.1", L"12", L"C:\\Program Files\\Acme", L"a & b < c > \"d\" 'e'"},
          {L"Zeta", L"0012", L"-3", L"", L"  padded  "},
          {L"\x00C9mile \x2603 \x65E5\x672C", L"1e5", L"2.5", L"\U0001F600 smile", L"line1\r\nline2\tend"},
          {L"separators", L"+3", L"1.50", std::wstring(L"one\0two", 7),
           L"\x01"
           L"ctl\x1F"},
          {L"texts", L"12345678901234567890", L"0x10", L"inf", loneSurrogate},
          {L"short"},
          wide,
          {},
          {L"", L"", L"after an empty row", L"0.001", L"-0"}}},
        {{{4, 3}, L"one two"}, {{4, 4}, L" ctl "}, {{5, 4}, L" x"}},
        {"C2", "C3", "C4", "D10"}};
    ExpectedSheet second{
        {L"Vantrel2", {{L"Key", L"Value"}, {L"HKLM\\Software\\Vantrel", L"4294967295"}, {L"pi", L"3.14159"}}},
        {},
        {"B2", "B3"}};
    return {first, second};
}

class WorkbookFileOnWine : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        folder = WorkbookCheckFolder(VANTREL_XLSX_CHECK_DIR);
    }
    void TearDown() override { CoUninitialize(); }

    // The names of the files in the folder that the writer may have left behind.
    std::vector<std::wstring> TemporaryFiles() const {
        std::vector<std::wstring> names;
        WIN32_FIND_DATAW found{};
        const HANDLE find = FindFirstFileW((folder + L"*.tmp").c_str(), &found);
        if (find == INVALID_HANDLE_VALUE)
            return names;
        do
            names.push_back(found.cFileName);
        while (FindNextFileW(find, &found));
        FindClose(find);
        return names;
    }

    std::wstring folder;
};

std::vector<WorkbookSheet> SheetsOf(const std::vector<ExpectedSheet>& expected) {
    std::vector<WorkbookSheet> sheets;
    for (const ExpectedSheet& e : expected)
        sheets.push_back(e.sheet);
    return sheets;
}

TEST_F(WorkbookFileOnWine, TwoSheetsForTheReadBack) {
    const std::wstring workbook = folder + L"xlsx.xlsx";
    const std::wstring json = folder + L"xlsx.json";
    DeleteFileW(workbook.c_str());
    DeleteFileW(json.c_str());

    const auto expected = TwoSheets();
    const WriteResult written = WriteWorkbook(workbook, SheetsOf(expected));
    ASSERT_TRUE(written) << "error " << written.error().systemError;
    EXPECT_TRUE(FileBytes(workbook).starts_with("PK\x03\x04"));
    EXPECT_TRUE(TemporaryFiles().empty());
    std::ofstream(json.c_str(), std::ios::binary) << ExpectedJson(expected);
}

// The names of a zip's entries are stored as they are: enough to see which workbook is in the file.
TEST_F(WorkbookFileOnWine, WritingAgainReplacesTheWorkbook) {
    const std::wstring workbook = folder + L"again.xlsx";
    const std::vector<WorkbookSheet> one{{L"Vantrel1", {{L"first"}}}};
    ASSERT_TRUE(WriteWorkbook(workbook, one));
    EXPECT_EQ(FileBytes(workbook).find("xl/worksheets/sheet2.xml"), std::string::npos);

    const std::vector<WorkbookSheet> two{{L"Vantrel1", {{L"first"}}}, {L"Vantrel2", {{L"second"}}}};
    ASSERT_TRUE(WriteWorkbook(workbook, two));
    EXPECT_NE(FileBytes(workbook).find("xl/worksheets/sheet2.xml"), std::string::npos);
    EXPECT_TRUE(TemporaryFiles().empty());
    DeleteFileW(workbook.c_str());
}

TEST_F(WorkbookFileOnWine, AMissingFolderFails) {
    const WriteResult written =
        WriteWorkbook(folder + L"no such folder\\book.xlsx", {{L"Vantrel1", {{L"x"}}}});
    ASSERT_FALSE(written);
    // ERROR_DIRECTORY here: the folder for the temporary file is no folder.
    EXPECT_TRUE(written.error().systemError == ERROR_DIRECTORY ||
                written.error().systemError == ERROR_PATH_NOT_FOUND)
        << "error " << written.error().systemError;
}

// Excel keeps a workbook it shows open without sharing it for writing: the write fails, the file there stays
// as it was, and no temporary file is left.
TEST_F(WorkbookFileOnWine, AWorkbookOpenElsewhereFailsAndStaysAsItWas) {
    const std::wstring workbook = folder + L"locked.xlsx";
    std::ofstream(workbook.c_str(), std::ios::binary) << "the earlier workbook";
    const HANDLE held = CreateFileW(workbook.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    const WriteResult written = WriteWorkbook(workbook, {{L"Vantrel1", {{L"x"}}}});
    CloseHandle(held);
    ASSERT_FALSE(written);
    EXPECT_TRUE(written.error().systemError == ERROR_SHARING_VIOLATION ||
                written.error().systemError == ERROR_ACCESS_DENIED)
        << "error " << written.error().systemError;
    EXPECT_EQ(FileBytes(workbook), "the earlier workbook");
    EXPECT_TRUE(TemporaryFiles().empty());

    EXPECT_TRUE(WriteWorkbook(workbook, {{L"Vantrel1", {{L"x"}}}})); // once it is closed
    DeleteFileW(workbook.c_str());
}

TEST_F(WorkbookFileOnWine, WithoutComOnTheThreadItFailsInsteadOfCrashing) {
    WriteResult written;
    std::thread([&] { written = WriteWorkbook(folder + L"no com.xlsx", {{L"Vantrel1", {{L"x"}}}}); }).join();
    ASSERT_FALSE(written);
    EXPECT_EQ(written.error().systemError, static_cast<std::uint32_t>(CO_E_NOTINITIALIZED));
}

} // namespace
} // namespace vantrel
