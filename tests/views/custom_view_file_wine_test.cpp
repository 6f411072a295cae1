// Custom view files written and read through the system's profile functions.
#include "platform/win_ini_files.h"
#include "views/catalogue.h"
#include "views/custom_view_file.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace vantrel::test {
namespace {

constexpr int kTwips = kTwipsPerPixelAt96Dpi;

class CustomViewFileTest : public ::testing::Test {
protected:
    CustomViewFileTest() {
        wchar_t temp[MAX_PATH]{};
        GetTempPathW(MAX_PATH, temp);
        path = std::wstring(temp) + L"vantrel custom view.kvf";
        DeleteFileW(path.c_str());
    }
    ~CustomViewFileTest() override { DeleteFileW(path.c_str()); }

    void WriteRaw(const std::string& bytes) const {
        std::ofstream(std::filesystem::path(path), std::ios::binary) << bytes;
    }
    std::wstring Key(const wchar_t* key) { return ini.ReadIniValue(path, L"Main", key); }
    ViewDefinition Read() {
        ViewDefinition view;
        view.head.title = L"stale";
        view.column(7).data = L"stale";
        ReadCustomView(ini, path, view, kTwips);
        return view;
    }

    WinIniFiles ini;
    std::wstring path;
};

TEST_F(CustomViewFileTest, AViewComesBackAsItWasSavedButForItsTitle) {
    const ViewDefinition services = ParseDefinition(BuiltInView(8, false), kTwips);
    ASSERT_TRUE(WriteCustomView(ini, path, services, kTwips));
    EXPECT_EQ(Key(L"XKey"), L"System\\CurrentControlSet\\Services");
    EXPECT_EQ(Key(L"ColsOrder"), services.head.colsOrder);
    EXPECT_EQ(Key(L"Column0"), L"80,<key>,Name,,");

    ViewDefinition read = Read();
    EXPECT_EQ(read.head.title, L"");
    read.head.title = services.head.title;
    EXPECT_EQ(read, services);
}

TEST_F(CustomViewFileTest, WidthsUnder1200ArePixelsAndOthersTwips) {
    WriteRaw("[Main]\r\nXKey=Software\\Acme\r\nColsOrder=012\r\nColsOrderD=012\r\n"
             "Column0=150,<key>,Key\r\nColumn1=1500,Name,Name,*>,x\r\nColumn2=abc,Size\r\n");
    const ViewDefinition view = Read();
    EXPECT_EQ(view.column(0).widthTwips, 150 * kTwips);
    EXPECT_EQ(view.column(1).widthTwips, 1500);
    EXPECT_EQ(view.column(1).condition, L"*>");
    EXPECT_EQ(view.column(1).extra, L"x");
    EXPECT_EQ(view.column(2).widthTwips, 0);
    EXPECT_EQ(view.column(2).header, L"");
    EXPECT_EQ(view.column(3).data, L""); // stale columns are gone
}

TEST_F(CustomViewFileTest, ColumnsStopAtTheFirstMissingLine) {
    WriteRaw("[Main]\r\nXKey=Software\\Acme\r\nColsOrder=0123\r\nColsOrderD=01234\r\n"
             "Column0=100,<key>,Key\r\nColumn2=100,Size,Size\r\nColumn3=100,Date,Date\r\n");
    const ViewDefinition view = Read();
    EXPECT_EQ(view.column(0).data, L"<key>");
    EXPECT_EQ(view.column(1).data, L"");
    EXPECT_EQ(view.column(2).data, L"");

    // Only as far as the highest column either order names.
    WriteRaw(
        "[Main]\r\nXKey=Software\\Acme\r\nColsOrder=01\r\nColsOrderD=013\r\nColumn0=1,a\r\nColumn1=1,b\r\n"
        "Column2=1,c\r\nColumn3=1,d\r\nColumn4=1,e\r\n");
    EXPECT_EQ(Read().column(3).data, L"d");
    EXPECT_EQ(Read().column(4).data, L"");
}

TEST_F(CustomViewFileTest, MergedViewColumnsUseTheCharactersAfterZ) {
    ViewDefinition merged;
    merged.head = {L"Software\\Acme", L"0{|}~", L"0123456789abcdefghijklmnopqrstuvwxyz{|}~", L""};
    for (int i = 0; i <= 45; ++i)
        merged.column(i) = {30 * kTwips, L"Value" + std::to_wstring(i), L"H" + std::to_wstring(i), L"", L""};
    ASSERT_TRUE(WriteCustomView(ini, path, merged, kTwips));
    EXPECT_EQ(Key(L"Column["), L"30,Value36,H36,,");
    EXPECT_EQ(Key(L"Column\\"), L"30,Value37,H37,,");
    EXPECT_EQ(Key(L"Column]"), L"30,Value38,H38,,");
    EXPECT_EQ(Key(L"Column^"), L"30,Value39,H39,,");
    // Column 42 would be "Columna", the same key as column 10's: it is not written over it.
    EXPECT_EQ(Key(L"ColumnA"), L"30,Value10,H10,,");

    const ViewDefinition read = Read();
    EXPECT_EQ(read.column(39).data, L"Value39");
    EXPECT_EQ(read.column(40).data, L"");
}

TEST_F(CustomViewFileTest, LongValuesAreReadWhole) {
    ViewDefinition view = ParseDefinition(L"Software\\Acme,01,01,T,|100,<key>,Key|100,Name,Name", kTwips);
    view.column(1).condition = L"*=" + std::wstring(9000, L'x');
    ASSERT_TRUE(WriteCustomView(ini, path, view, kTwips));
    EXPECT_EQ(Read().column(1).condition, view.column(1).condition);
}

TEST_F(CustomViewFileTest, DamagedFilesGiveFewerColumnsOrNone) {
    WriteRaw("XKey=Software\\Acme\r\nColsOrder=01\r\n"); // no [Main]
    EXPECT_EQ(Read().head.colsOrder, L"");
    EXPECT_EQ(Read().column(0).data, L"");

    std::string binary =
        "[Main]\r\nXKey=Soft\x01\xff\xfe\r\ngarbage line\r\n=\r\n[[[\r\nColsOrder=0z\x80\r\n";
    binary += "Column0=9999999999999,<key>,K\x02ey,,\r\n";
    for (int i = 1; i < 300; ++i)
        binary += "Column" + std::to_string(i) + "=5,v" + std::to_string(i) + "\r\n";
    binary += std::string("Junk=\0\x01\0\r\n", 11);
    WriteRaw(binary);
    const ViewDefinition view = Read();
    EXPECT_EQ(view.column(0).data, L"<key>");
    EXPECT_LE(view.column(0).widthTwips, 100000 * kTwips);
    EXPECT_EQ(view.head.colsOrder, L"0z\u20ac");
    EXPECT_EQ(view.column(1).data, L"v1");
    EXPECT_EQ(view.column(9).data, L"v9");
    EXPECT_EQ(view.column(10).data, L""); // "ColumnA" is not there; "Column10" names no column
}

TEST(CustomViewName, CaptionsBecomeFileNames) {
    EXPECT_EQ(ProposedCustomViewName(L"", L"Installed view on \\\\PC7 - C:"),
              L"Installed view on --PC7 - C.");
    EXPECT_EQ(ProposedCustomViewName(L"x", L"Services"), L"Services");
    EXPECT_EQ(ProposedCustomViewName(L"D:\\v.kvf", L"Services"), L"D:\\v.kvf");
}

} // namespace
} // namespace vantrel::test
