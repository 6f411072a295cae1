// Comparing a row or a block of cells across computers: what the compare command takes from a filled view,
// and the view of one row per computer it becomes.
#include "engine/compare_request.h"
#include "engine/view_fixture.h"

namespace vantrel::test {
namespace {

constexpr auto HKLM = RootKey::LocalMachine;
const std::wstring kUninstall(kUninstallKey);
const Texts kThreeComputers = {L"", L"PC1", L"PC2"};

class CompareTest : public ViewTest {
protected:
    CompareTest() {
        for (const wchar_t* computer : {L"", L"PC1", L"PC2"}) {
            const std::wstring pc = computer;
            memory.SetString(pc, HKLM, kUninstall + L"\\Acme", L"DisplayName", L"Acme " + pc);
            memory.SetString(pc, HKLM, kUninstall + L"\\Acme", L"DisplayVersion", L"1." + pc);
            memory.SetString(pc, HKLM, kUninstall + L"\\Zeta", L"DisplayName", L"Zeta");
            memory.SetString(pc, HKLM, kUninstall + L"\\Zeta", L"DisplayVersion", L"9");
        }
        computers.unreachable.insert(L"PC2");
    }

    // The installed-software view of the local computer, filled.
    View& Source() {
        source = std::make_unique<View>(ForViews(), sourceHost, 15);
        source->definition = std::wstring(kDefaultDefinition);
        source->fillflex();
        return *source;
    }
    static void Select(View& v, int row, int col, int rowSel, int colSel) {
        v.grid.SetRow(row);
        v.grid.SetCol(col);
        v.grid.SetRowSel(rowSel);
        v.grid.SetColSel(colSel);
    }
    // The compare view of what is selected in the source, over the computers given.
    View& Compare(const Texts& computerNames) {
        const auto request = MakeCompareRequest(*source);
        EXPECT_TRUE(request.has_value()) << (request ? L"" : request.error());
        View& v = NewView(request->definition);
        v.NewCompuRows(request->path, computerNames);
        v.fillflex();
        return v;
    }

    ScriptedHost sourceHost;
    std::unique_ptr<View> source;
};

TEST_F(CompareTest, OneRowOnThreeComputers) {
    View& from = Source();
    Select(from, 1, 2, 1, 2); // Acme
    View& v = Compare(kThreeComputers);
    EXPECT_EQ(v.viewKind, ViewKind::MultiComputer);
    EXPECT_EQ(host.captions.front(), L"Comparing computers on 'Uninstall\\Acme' ");
    EXPECT_EQ(Column(1), (Texts{L"<local computer>", L"PC1", L"PC2"}));
    EXPECT_EQ(Column(2), (Texts{L"Acme ", L"Acme PC1", L"Not connected"}));
    EXPECT_EQ(Column(3), (Texts{L"1.", L"1.PC1", L""}));
    EXPECT_EQ(computers.asked, (Texts{L"PC1", L"PC2"}));
}

TEST_F(CompareTest, ABlockOfCellsGivesAColumnPerCell) {
    View& from = Source();
    Select(from, 1, 1, 2, 3); // 2 rows x 3 columns: name, version, publisher
    View& v = Compare({L"", L"PC1"});
    EXPECT_EQ(Headers(), (Texts{L"Key", L"0-DisplayName", L"0-Version", L"0-Publisher", L"1-DisplayName",
                                L"1-Version", L"1-Publisher"}));
    EXPECT_EQ(Rows(), (Table{{L"<local computer>", L"Acme ", L"1.", L"", L"Zeta", L"9", L""},
                             {L"PC1", L"Acme PC1", L"1.PC1", L"", L"Zeta", L"9", L""}}));
    EXPECT_EQ(v.columns.head.base, kUninstall);
}

TEST_F(CompareTest, SelectionsThatCannotBeCompared) {
    struct Case {
        int row, col, rowSel, colSel;
        ViewKind kind;
        std::wstring message;
    };
    const Case cases[] = {
        {0, 1, 0, 1, ViewKind::Registry, L"First select a datarow or row-column area to compare."},
        {1, 1, 2, 12, ViewKind::Registry, L"Please select one datarow or a row-column area to compare."},
        {1, 1, 6, 6, ViewKind::Registry,
         L"Sorry, a selected row-column area to expand can have max 35 cells."},
        {1, 1, 1, 1, ViewKind::Merged, L"Sorry - not supported for this view "},
        {1, 1, 1, 1, ViewKind::MultiComputer, L"Sorry - not supported for this view "},
    };
    for (int i = 0; i < 6; ++i) // enough rows for a 6 x 6 block
        memory.SetString(L"", HKLM, kUninstall + L"\\Item" + std::to_wstring(i), L"DisplayName", L"x");
    sourceHost.listMode = 1; // the detailed list: 12 data columns
    View& from = Source();
    for (const Case& c : cases) {
        from.viewKind = c.kind;
        Select(from, c.row, c.col, c.rowSel, c.colSel);
        const auto request = MakeCompareRequest(from);
        ASSERT_FALSE(request.has_value()) << c.message;
        EXPECT_EQ(request.error(), c.message);
    }
}

TEST_F(CompareTest, AFileComparedReadsItThroughEachComputersAdministrativeShare) {
    files.files = {L"D:\\Tools\\a.exe"};
    files.properties[L"D:\\Tools\\a.exe"][L"size"] = L"10";
    files.properties[L"\\\\PC1\\D$\\Tools\\a.exe"][L"size"] = L"12";
    source = std::make_unique<View>(ForViews(), sourceHost, 15);
    source->definition = L"D:\\Tools\\*.exe(1),01,01,Files,|120,<key>,File|60,Size,Size";
    source->fillflex();
    Select(*source, 1, 1, 1, 1);
    Compare({L"", L"PC1"});
    EXPECT_EQ(Rows(), (Table{{L"<local computer>", L"10"}, {L"PC1", L"12"}}));
}

TEST_F(CompareTest, TheComputerColumnComesFirstUnlessTheOrderHasIt) {
    View& v = NewView(L"Software,12,102,T,|100,<key>,Key|100,A|100,B");
    v.NewCompuRows(L"Software\\Acme", {L"", L"PC1"});
    EXPECT_EQ(v.columns.head.colsOrder, L"012");
    EXPECT_EQ(v.columns.head.colsOrderD, L"102");
    EXPECT_EQ(v.columns.head.base, L"Software\\Acme");
    EXPECT_EQ(v.itemKeys, (Texts{L"//", L"/PC1/"}));
}

TEST_F(CompareTest, RowNumbersFollowTheGridThroughASort) {
    View& v = Source();
    int n = 0;
    EXPECT_EQ(v.GetPlRt0(n), L"");
    n = v.rowCount + 1;
    EXPECT_EQ(v.GetPlRt0(n), L"");
    EXPECT_EQ(n, 0);
    v.SortColumn(2, true); // Zeta first
    n = 1;
    int gridRow = 0;
    EXPECT_EQ(v.GetCol0(n, gridRow), L"Acme");
    EXPECT_EQ(gridRow, 2);
}

TEST_F(CompareTest, ColumnLookUps) {
    View& v = NewView(L"Software,0123,0123,T,|100,<key>,Key|100,A!*,First|100,A,Second|100,B,Third");
    v.SetType(L"PC7", L"");
    v.SetMarkOption(true);
    v.fillflex();
    std::wstring header, data;
    int width = 0;
    EXPECT_EQ(v.GetACol(1, header, data, width), 1); // the key column
    EXPECT_EQ(v.GetACol(2, header, data, width), 0);
    EXPECT_EQ(data, L"/PC7/A"); // the data names the computer it was read on
    EXPECT_EQ(header, L"First");
    EXPECT_EQ(width, 1500);
    EXPECT_EQ(v.GetACol(3, header, data, width), 1); // the mark column
    EXPECT_EQ(v.GetACol(v.grid.Cols(), header, data, width), -1);
    v.viewKind = ViewKind::Merged;
    EXPECT_EQ(v.GetACol(2, header, data, width), 2); // column 2 reads the same data
    EXPECT_EQ(v.GetACol(4, header, data, width), 0);
}

TEST_F(CompareTest, CellValuesNameTheirComputerApartFromKeyAndValue) {
    View& from = Source();
    Select(from, 1, 2, 1, 2); // Acme
    View& v = Compare(kThreeComputers);
    struct Case {
        int row, col;
        std::wstring computer, key, name;
    };
    const Case cases[] = {
        {1, 2, L"", kUninstall + L"\\Acme", L"DisplayName"},
        {2, 3, L"PC1", kUninstall + L"\\Acme", L"DisplayVersion"},
    };
    for (const Case& c : cases) {
        const View::CellValue value = v.CellValueOf(c.row, c.col);
        EXPECT_EQ(value.computer, c.computer);
        EXPECT_EQ(value.keyPath, c.key);
        EXPECT_EQ(value.valueName, c.name);
    }
    ASSERT_EQ(v.DeleteCellValue(2, 3), 0);
    EXPECT_FALSE(memory.Get(L"PC1", HKLM, kUninstall + L"\\Acme", L"DisplayVersion").has_value());
    EXPECT_TRUE(memory.Get(L"", HKLM, kUninstall + L"\\Acme", L"DisplayVersion").has_value());
    EXPECT_EQ(v.grid.TextMatrix(2, 3), L"");
    EXPECT_EQ(v.grid.Rows(), 4); // the row stays

    View& local = Source(); // a value changed since the fill is left alone
    memory.SetString(L"", HKLM, kUninstall + L"\\Acme", L"DisplayVersion", L"changed");
    EXPECT_EQ(local.DeleteCellValue(1, 2), kValueChangedMeanwhile);
    EXPECT_EQ(local.grid.TextMatrix(1, 2), L"1.");
}

TEST_F(CompareTest, AMergedColumnNamesTheComputerItsValueIsOn) {
    View& merged = NewView(L"");
    View& pc1 = Source();
    pc1.SetType(L"PC1", L"");
    pc1.fillflex();
    View* sources[] = {&pc1};
    merged.NewMergeFrom(sources);
    const View::CellValue value = merged.CellValueOf(1, 2);
    EXPECT_EQ(value.computer, L"PC1");
    EXPECT_EQ(value.keyPath, kUninstall + L"\\Acme");
    EXPECT_EQ(value.valueName, L"DisplayName");
}

} // namespace
} // namespace vantrel::test
