// Column evaluation: fallbacks, existence tests, computed values, conditions, marks and markers, checked on
// the rows a fill keeps.
#include "engine/view_fixture.h"
#include "views/markers.h"

namespace vantrel::test {
namespace {

constexpr auto HKLM = RootKey::LocalMachine;
constexpr auto HKCR = RootKey::ClassesRoot;

TEST_F(ViewTest, DescriptionFallsBackThrough409To800To400To199) {
    const std::wstring base = L"Component Categories\\";
    memory.SetString(L"", HKCR, base + L"{A}", L"409", L"english");
    memory.SetString(L"", HKCR, base + L"{B}", L"800", L"neutral");
    memory.SetString(L"", HKCR, base + L"{C}", L"400", L"default");
    memory.SetString(L"", HKCR, base + L"{D}", L"199", L"old");
    memory.SetString(L"", HKCR, base + L"{E}", L"409", L"");
    memory.SetString(L"", HKCR, base + L"{E}", L"400", L"four hundred");
    Fill(L"7");
    EXPECT_EQ(Rows(), (Table{{L"{A}", L"english"},
                             {L"{B}", L"neutral"},
                             {L"{C}", L"default"},
                             {L"{D}", L"old"},
                             {L"{E}", L"four hundred"}}));
}

TEST_F(ViewTest, FallbackToTheColumnBeforeIsEvaluatedAgain) {
    const std::wstring cls = L"CLSID\\{1}";
    memory.SetString(L"", HKCR, cls + L"\\ProgID", L"", L"Acme.Chart.1");
    memory.SetString(L"", HKCR, L"CLSID\\{2}\\ProgID", L"", L"Acme.Gauge.1");
    memory.SetString(L"", HKCR, L"CLSID\\{2}\\VersionIndependentProgID", L"", L"Acme.Gauge");
    // Without a description, "!*" falls back to the row key.
    Fill(L"HKCR\\CLSID,0123,0123,Classes,|100,<key>|100,!*|100,ProgId\\|100,VersionIndependentProgId\\!*");
    EXPECT_EQ(Rows(), (Table{{L"{1}", L"{1}", L"Acme.Chart.1", L"Acme.Chart.1"},
                             {L"{2}", L"{2}", L"Acme.Gauge.1", L"Acme.Gauge"}}));
}

TEST_F(ViewTest, ExistenceTestWithAlternativeConditions) {
    memory.CreateKey(L"", HKCR, L"CLSID\\{A}\\Control");              // key without default value
    memory.SetString(L"", HKCR, L"CLSID\\{B}\\Control", L"", L"x");   // key with default value
    memory.SetString(L"", HKCR, L"CLSID\\{C}\\TypeLib", L"", L"{T}"); // no Control, but a type library
    memory.SetString(L"", HKCR, L"CLSID\\{D}", L"", L"Plain class");  // neither: dropped
    Fill(L"2");
    EXPECT_EQ(Column(0), (Texts{L"1", L"2", L"3"}));
    EXPECT_EQ(Column(1), (Texts{L"{A}", L"{B}", L"{C}"}));
    EXPECT_EQ(Column(4), (Texts{L"!", L"x", L""}));
    EXPECT_EQ(Column(5), (Texts{L"", L"", L"{T}"}));
}

TEST_F(ViewTest, ComputedValuesFromFieldsOfTheRowKey) {
    const std::wstring userData = L"Software\\Microsoft\\Windows\\CurrentVersion\\Installer\\UserData\\";
    memory.SetString(L"", HKLM, userData + L"S-1-5-18\\Products\\ABC\\InstallProperties", L"DisplayName",
                     L"Acme");
    memory.SetString(L"", HKCR, L"Installer\\Products\\ABC\\SourceList", L"PackageName", L"acme.msi");
    Fill(L"15");
    ASSERT_EQ(Rows().size(), 1u);
    EXPECT_EQ(Headers()[0], L"Key");
    EXPECT_EQ(Rows()[0][0], L"ABC"); // =%0~\~2%
    EXPECT_EQ(Rows()[0][1], L"Acme");
    EXPECT_EQ(Rows()[0][3], L"acme.msi"); // through %1%
    EXPECT_EQ(Rows()[0][5], L"S-1-5-18"); // =%0~\~0%
}

TEST_F(ViewTest, ConditionOnAColumnEvaluatedBeforeItsReference) {
    memory.SetString(L"", HKLM, L"Software\\T\\a", L"V", L"1");
    memory.SetString(L"", HKLM, L"Software\\T\\a", L"W", L"1");
    memory.SetString(L"", HKLM, L"Software\\T\\b", L"W", L"2");
    // Column 2 compares with column 1; evaluated first, it sees an empty reference and keeps only rows whose
    // own value is empty.
    Fill(L"Software\\T,021,021,T,|9,<key>|9,V,V|9,W,W,*=%1%");
    EXPECT_EQ(Column(2), (Texts{}));
    Fill(L"Software\\T,012,012,T,|9,<key>|9,V,V|9,W,W,*=%1%");
    EXPECT_EQ(Column(1), (Texts{L"a"}));
    memory.SetString(L"", HKLM, L"Software\\T\\c", L"X", L"");
    Fill(L"Software\\T,021,021,T,|9,<key>|9,V,V|9,X,X,*=%1%");
    EXPECT_EQ(Column(1), (Texts{L"a", L"b", L"c"}));
}

TEST_F(ViewTest, ConditionsOfColumnsOutsideTheOrderDoNothing) {
    memory.SetDword(L"", HKLM, L"System\\CurrentControlSet\\Services\\Driver", L"Type", 1);
    memory.SetDword(L"", HKLM, L"System\\CurrentControlSet\\Services\\Service", L"Type", 16);
    Fill(L"System\\CurrentControlSet\\Services,0,05,S,|80,<key>|30,Type,Type|30,Type,Type|30,Type|30,Type|30,"
         L"Type,Type,*>15");
    EXPECT_EQ(Column(1), (Texts{L"Driver", L"Service"}));
    host.listMode = 1;
    Fill(L"System\\CurrentControlSet\\Services,0,05,S,|80,<key>|30,Type,Type|30,Type,Type|30,Type|30,Type|30,"
         L"Type,Type,*>15");
    EXPECT_EQ(Column(1), (Texts{L"Service"}));
}

TEST_F(ViewTest, ConditionsCompareNumbersAsNumbersAndTextWithoutCase) {
    const std::wstring services = L"System\\CurrentControlSet\\Services\\";
    memory.SetDword(L"", HKLM, services + L"Small", L"Type", 9);
    memory.SetDword(L"", HKLM, services + L"Large", L"Type", 100);
    memory.SetString(L"", HKLM, services + L"Text", L"Type", L"many");
    Fill(L"8");
    EXPECT_EQ(Column(0), (Texts{L"1"}));
    EXPECT_EQ(Rows()[0][4], L"100");
    EXPECT_EQ(view->RowKeys(), (Texts{L"Large"}));

    const std::wstring pci = L"System\\CurrentControlSet\\enum\\pci\\";
    memory.SetString(L"", HKLM, pci + L"VEN_1\\1", L"Class", L"SYSTEM");
    memory.SetString(L"", HKLM, pci + L"VEN_1\\2", L"Class", L"Net");
    memory.SetString(L"", HKLM, pci + L"VEN_2\\3", L"Class", L"Display");
    Fill(L"10");
    EXPECT_EQ(Column(1), (Texts{L"VEN_1\\2", L"VEN_2\\3"}));
}

TEST_F(ViewTest, ConditionCommentIsCutAndStoredCut) {
    memory.SetDword(L"", HKLM, L"Software\\T\\a", L"N", 20);
    memory.SetDword(L"", HKLM, L"Software\\T\\b", L"N", 5);
    View& v = Fill(L"Software\\T,01,01,T,|9,<key>|9,N,N,*>15(only the big ones)");
    EXPECT_EQ(Column(1), (Texts{L"a"}));
    EXPECT_EQ(v.columns.column(1).condition, L"*>15");
}

TEST_F(ViewTest, InvalidRequiredOperatorDropsEveryRowAndOtherKindsAreInert) {
    memory.SetString(L"", HKLM, L"Software\\T\\a", L"N", L"x");
    Fill(L"Software\\T,01,01,T,|9,<key>|9,N,N,*!x");
    EXPECT_TRUE(Rows().empty());
    Fill(L"Software\\T,01,01,T,|9,<key>|9,N,N,-=y");
    EXPECT_EQ(Rows().size(), 1u);
}

TEST_F(ViewTest, DataVariableIsAskedOnceAndSubstituted) {
    const std::wstring components =
        L"Software\\Microsoft\\Windows\\CurrentVersion\\Installer\\UserData\\S-1-5-18\\Components\\";
    memory.SetString(L"", HKLM, components + L"C1", L"76EBC7F13913D5342AFC8C2AFB530CE8",
                     L"C:\\Acme\\acme.exe");
    memory.SetString(L"", HKLM, components + L"C2", L"00000000000000000000000000000000", L"C:\\Other");
    memory.SetString(L"", HKLM, components + L"C3", L"76EBC7F13913D5342AFC8C2AFB530CE8", L"C:\\Acme\\b.dll");
    host.textAnswer = L"{1F7CBE67-3193-435D-A2CF-C8A2BF35C08E}";
    Fill(L"3");
    EXPECT_EQ(host.prompts, (Texts{L"Enter the data variable:"}));
    EXPECT_EQ(host.captions.front(), L"Components of {1F7CBE67-3193-435D-A2CF-C8A2BF35C08E} view");
    EXPECT_EQ(Rows(), (Table{{L"C1", L"C:\\Acme\\acme.exe"}, {L"C3", L"C:\\Acme\\b.dll"}}));
    view->fillflex(); // a refill keeps the answer
    EXPECT_EQ(host.prompts.size(), 1u);
}

TEST_F(ViewTest, EmptyDataVariableStopsTheFill) {
    memory.CreateKey(
        L"", HKLM,
        L"Software\\Microsoft\\Windows\\CurrentVersion\\Installer\\UserData\\S-1-5-18\\Components\\C1");
    host.textAnswer = L"";
    View& v = Fill(L"3");
    EXPECT_EQ(host.prompts.size(), 1u);
    EXPECT_TRUE(Rows().empty());
    EXPECT_EQ(v.state(), ViewState::Idle);
}

TEST_F(ViewTest, MarkColumnMatchesInstalledNamesAndWindowsXpQNumbers) {
    const std::wstring uninstall = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
    memory.SetString(L"", HKLM, uninstall + L"Q123456", L"DisplayName", L"Windows XP Hotfix Q123456 (SP2)");
    memory.SetString(L"", HKLM, uninstall + L"Acme Tools", L"DisplayName", L"Acme tools 4.2 for Windows");
    memory.SetString(L"", HKLM, uninstall + L"Other", L"DisplayName", L"Something else");
    View& v = NewView(L"");
    v.definition = std::wstring(kDefaultDefinition);
    v.markOption = true;
    v.fillflex();
    EXPECT_EQ(v.colMap, (std::vector<int>{-2, 1, -1, 2, 6, 5}));
    EXPECT_EQ(Headers()[1], L"!*");
    EXPECT_EQ(Column(2), (Texts{L" *", L"", L" *"}));
    EXPECT_EQ(Column(1),
              (Texts{L"Acme tools 4.2 for Windows", L"Something else", L"Windows XP Hotfix Q123456 (SP2)"}));
}

TEST_F(ViewTest, UnreachableComputerShowsNotConnectedAndEndsTheRow) {
    memory.SetString(L"PC7", HKLM, L"Software\\T\\a", L"N", L"1");
    memory.SetString(L"PC7", HKLM, L"Software\\T\\b", L"N", L"2");
    memory.SetString(L"PC7", HKLM, L"Software\\T\\b", L"M", L"3");
    View& v = NewView(L"Software\\T,0123,0123,T,|9,<key>|9,N,N|9,M,M|9,=%1%,Copy");
    v.computerName = L"PC7";
    int items = 0;
    host.onEvents = [&] {
        if (++items == 2)
            memory.Disconnect(L"PC7"); // lost after the first row
    };
    v.fillflex();
    EXPECT_EQ(Rows(), (Table{{L"a", L"1", L"", L"1"}, {L"b", L"Not connected", L"", L""}}));
    EXPECT_EQ(host.captions.front(), L"T view");
    EXPECT_EQ(host.caption, L"T view on PC7"); // PC7 tells no version
}

TEST_F(ViewTest, MultiComputerRowsCarryTheirComputer) {
    memory.SetString(L"PC7", HKLM, L"Software\\Acme", L"Version", L"4.2");
    memory.SetString(L"", HKLM, L"Software\\Acme", L"Version", L"4.0");
    memory.SetString(L"PC8", HKLM, L"Software\\Acme", L"Version", L"3.9");
    computers.unreachable.insert(L"PC8");
    View& v = NewView(L"Software,01,01,Compare,|120,<key>,Computer|120,Acme\\Version,Version",
                      ViewKind::MultiComputer);
    GetCico(v.definition, v.columns, 15);
    v.itemKeys = {L"/PC7/", L"/PC8/", L"//"};
    v.basePath = L"Software";
    v.fillflex();
    EXPECT_EQ(Rows(), (Table{{L"PC7", L"4.2"}, {L"PC8", L"Not connected"}, {L"<local computer>", L"4.0"}}));
}

} // namespace
} // namespace vantrel::test
