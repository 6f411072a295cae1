#include "views/catalogue.h"

#include "views/definition.h"

#include <gtest/gtest.h>

namespace vantrel {
namespace {

constexpr int kTpp = kTwipsPerPixelAt96Dpi;

struct Expected {
    int number;
    std::wstring_view listTitle;
    std::wstring_view base;
    std::wstring_view colsOrder;
    std::wstring_view colsOrderD;
    std::wstring_view captionTitle;
    int columnCount;
};

// What every catalogue entry must parse to.
constexpr Expected kExpected[] = {
    {1, L"Installed software (uninstall key)", L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall",
     L"1245", L"012AB3789456", L"Installed", 12},
    {2, L"Registered ActiveX Control Classes", L"HKCR\\Clsid", L"01345", L"013457", L"ActiveX Controls", 8},
    {3, L"", L"Software\\Microsoft\\Windows\\CurrentVersion\\Installer\\UserData\\S-1-5-18\\Components",
     L"01", L"01", L"Components of %%", 2},
    {4, L"", L"HKCR\\CLSID", L"4710235", L"4710235", L"Classes with same InprocSrv32", 8},
    {5, L"", L"HKCR\\CLSID", L"4710235", L"4710235", L"Classes with same LocalSrv32", 8},
    {6, L"", L"HKCR\\CLSID", L"157023", L"157023", L"Classes with same Typelib", 8},
    {7, L"Component Categories", L"HKCR\\Component Categories", L"04", L"04", L"Component Categories", 5},
    {8, L"Registered Services", L"System\\CurrentControlSet\\Services", L"123456", L"0123456789",
     L"Registered services", 10},
    {9, L"COM Applications (Classes\\AppID)", L"HKCR\\Appid", L"013469", L"013469a78Bc", L"COM Components",
     13},
    {10, L"PCI devices (Double enum)", L"System\\CurrentControlSet\\enum\\pci\\*", L"01235", L"012345678",
     L"PCI devices", 9},
    {11, L"Windows Hotfixes", L"Software\\Microsoft\\Windows NT\\CurrentVersion\\HotFix", L"01234",
     L"0123456", L"Windows Hotfixes", 7},
    {12, L"Updates to Windows XP", L"Software\\Microsoft\\Updates\\Windows XP\\*", L"0123", L"012345",
     L"Windowx XP Updates", 6},
    {13, L"Updates to Windows XP - Files", L"Software\\Microsoft\\Updates\\Windows XP\\*\\*\\FileList",
     L"0123", L"01234", L"Files in XP Updates", 5},
    {14, L"MSI installations (Admin only)",
     L"Software\\Microsoft\\Windows\\CurrentVersion\\Installer\\UserData\\S-1-5-18\\Products", L"12345",
     L"0123456", L"MSI Installations", 7},
    {15, L"MSI installations (All users)",
     L"Software\\Microsoft\\Windows\\CurrentVersion\\Installer\\UserData\\*\\Products", L"1234567",
     L"12345678", L"MSI Installations", 9},
    {16, L"MSI installations (Shared)",
     L"Software\\Microsoft\\Windows\\CurrentVersion\\Installer\\UserData\\*\\Products", L"1234567",
     L"12345678", L"MSI Installations", 9},
    {98, L"", L"*.*(2)", L"1234", L"012345", L"Exe files", 6},
    {99, L"Install Folder", L"*.exe;*.msi;*.inf", L"12457", L"12457ab689", L"", 13},
};

int DefinedColumns(const ViewDefinition& view) {
    int count = 0;
    while (count <= kLastColumn && !view.column(count).data.empty())
        ++count;
    return count;
}

TEST(BuiltInView, EveryEntryParsesToItsHeadAndColumns) {
    for (const Expected& e : kExpected) {
        SCOPED_TRACE(e.number);
        EXPECT_EQ(BuiltInView(e.number, true), e.listTitle);
        const ViewDefinition view = ParseDefinition(BuiltInView(e.number, false), kTpp);
        EXPECT_EQ(view.head, (ViewHead{std::wstring(e.base), std::wstring(e.colsOrder),
                                       std::wstring(e.colsOrderD), std::wstring(e.captionTitle)}));
        EXPECT_EQ(DefinedColumns(view), e.columnCount);
        EXPECT_TRUE(view.column(0).data == L"<key>" || view.column(0).data == L"<Key>");
    }
}

TEST(BuiltInView, EveryEntryWritesBackToTheSameView) {
    for (const Expected& e : kExpected) {
        SCOPED_TRACE(e.number);
        const ViewDefinition view = ParseDefinition(BuiltInView(e.number, false), kTpp);
        EXPECT_EQ(ParseDefinition(MakCGp(view, kTpp), kTpp), view);
    }
}

TEST(BuiltInView, CountAndNumbersOutsideTheCatalogue) {
    EXPECT_EQ(BuiltInView(0, true), L"15");
    EXPECT_EQ(BuiltInView(0, false), L"15");
    for (const int n : {-1, 17, 50, 97, 100})
        for (const bool title : {true, false})
            EXPECT_EQ(BuiltInView(n, title), L"") << n;
}

TEST(BuiltInView, NotableColumns) {
    const ViewDefinition activeX = ParseDefinition(BuiltInView(2, false), kTpp);
    EXPECT_EQ(activeX.column(1), (ColumnSpec{3600, L"!*", L"Description", L"", L""}));
    EXPECT_EQ(activeX.column(4).condition, L"+>");

    const ViewDefinition services = ParseDefinition(BuiltInView(8, false), kTpp);
    EXPECT_EQ(services.column(5), (ColumnSpec{450, L"Type", L"Type", L"*>15", L""}));

    const ViewDefinition categories = ParseDefinition(BuiltInView(7, false), kTpp);
    EXPECT_EQ(categories.column(1), (ColumnSpec{0, L"199", L"", L"", L""}));
    EXPECT_EQ(categories.column(4).data, L"409!*");

    const ViewDefinition msi = ParseDefinition(BuiltInView(15, false), kTpp);
    EXPECT_EQ(msi.column(1).data, L"=%0~\\~2%");
    EXPECT_EQ(msi.column(6).data, L"=%0~\\~0%");

    const ViewDefinition files = ParseDefinition(BuiltInView(13, false), kTpp);
    EXPECT_EQ(files.column(3).condition, L"*^%Windir%\\System32\\Dllcache");

    EXPECT_EQ(BuiltInView(16, false), BuiltInView(15, false));
}

TEST(ResolveBuiltInView, ShortTextsAreCatalogueNumbers) {
    EXPECT_EQ(ResolveBuiltInView(L"12"), BuiltInView(12, false));
    EXPECT_EQ(ResolveBuiltInView(L"3"), BuiltInView(3, false));
    EXPECT_EQ(ResolveBuiltInView(L"99"), BuiltInView(99, false));
    EXPECT_EQ(ResolveBuiltInView(L" 8"), BuiltInView(8, false));
    EXPECT_EQ(ResolveBuiltInView(L"0"), L""); // the catalogue's size is no definition
    EXPECT_EQ(ResolveBuiltInView(L"17"), L"");
    EXPECT_EQ(ResolveBuiltInView(L"x"), L"");
    EXPECT_EQ(ResolveBuiltInView(L""), L"");
    EXPECT_EQ(ResolveBuiltInView(L"HKCR\\Clsid,0,0,T,"), L"HKCR\\Clsid,0,0,T,");
}

TEST(OtherViewsMenuItem, OpensTheViewsOfTheMenu) {
    const std::pair<int, int> numbered[] = {{1, 8}, {2, 10}, {4, 9}, {5, 14}, {6, 11}, {7, 12}, {8, 13}};
    for (const auto& [index, number] : numbered)
        EXPECT_EQ(OtherViewsMenuItem(index), (OtherViewsMenuTarget{false, number})) << index;
    EXPECT_EQ(OtherViewsMenuItem(3), (OtherViewsMenuTarget{true, 0}));
    EXPECT_EQ(OtherViewsMenuItem(0), std::nullopt);
    EXPECT_EQ(OtherViewsMenuItem(9), std::nullopt);
}

} // namespace
} // namespace vantrel
