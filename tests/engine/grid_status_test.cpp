// The status tooltip, column descriptions, cell commands and sorting of a filled view.
#include "engine/grid_status.h"

#include "engine/view_fixture.h"

namespace vantrel::test {
namespace {

constexpr auto HKLM = RootKey::LocalMachine;
const std::wstring kUninstall = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

class GridStatusTest : public ViewTest {
protected:
    GridStatusTest() {
        const struct {
            const wchar_t* key;
            const wchar_t* name;
            const wchar_t* version;
            const wchar_t* publisher;
        } products[] = {{L"A", L"Acme Tools", L"10", L"Acme"},
                        {L"B", L"Beta Viewer", L"9", L"Zeta Corp"},
                        {L"C", L"Contoso PDF", L"100", L"Contoso"},
                        {L"D", L"", L"2", L"Delta"}};
        for (const auto& p : products) {
            if (*p.name)
                memory.SetString(L"", HKLM, kUninstall + p.key, L"DisplayName", p.name);
            memory.SetString(L"", HKLM, kUninstall + p.key, L"DisplayVersion", p.version);
            memory.SetString(L"", HKLM, kUninstall + p.key, L"Publisher", p.publisher);
        }
    }
    // The installed-software view (columns DisplayName, Version, Publisher, UninstallString).
    View& Installed(bool mark = false) {
        View& v = NewView(L"1");
        v.markOption = mark;
        v.fillflex();
        return v;
    }
    void Select(View& v, int row, int col, int rowSel, int colSel) {
        v.grid.SetRow(row);
        v.grid.SetCol(col);
        v.grid.SetRowSel(rowSel);
        v.grid.SetColSel(colSel);
    }
};

TEST_F(GridStatusTest, OneCellShowsItsWholeText) {
    View& v = Installed();
    Select(v, 2, 1, 2, 1);
    EXPECT_EQ(StatusText(v), (StatusTip{L"DisplayName: Beta Viewer", L"1"}));
    Select(v, 2, 2, 2, 2);
    EXPECT_EQ(StatusText(v), (StatusTip{L"Version (DisplayVersion): 9", L"1"}));
    Select(v, 2, 0, 2, 0); // the row numbers: nothing to tell
    EXPECT_EQ(StatusText(v), (StatusTip{L"", L"1"}));
}

TEST_F(GridStatusTest, SeveralRowsAndColumns) {
    View& v = Installed();
    Select(v, 1, 3, 3, 3);
    EXPECT_EQ(StatusText(v).text, L"Selected: 3 rows in column Publisher");
    Select(v, 3, 3, 2, 1);
    EXPECT_EQ(StatusText(v).text, L"Selected: 2 rows, 3 columns: Publisher etc.");
    EXPECT_EQ(StatusText(v).tag, L"0");
}

TEST_F(GridStatusTest, AllRowsTellTheLastSort) {
    View& v = Installed();
    Select(v, 1, 1, 4, 1);
    EXPECT_EQ(StatusText(v).text, L"DisplayName: 4 rows.");
    v.FlipSort(3); // by Publisher
    Select(v, 1, 1, 4, 1);
    EXPECT_EQ(StatusText(v).text, L"DisplayName: 4 rows. Sorted ascending on Publisher");
    Select(v, 1, 3, 4, 3);
    EXPECT_EQ(StatusText(v).text, L"Publisher: 4 rows. Sorted ascending");
}

TEST_F(GridStatusTest, OneRowIsAllRows) {
    memory.SetString(L"", HKLM, L"Software\\One\\Only", L"Name", L"x");
    View& v = Fill(L"Software\\One,01,01,One,|9,<key>,Key|9,Name,Name");
    Select(v, 1, 2, 1, 2);
    EXPECT_EQ(StatusText(v).text, L"Name: 1 rows.");
}

TEST_F(GridStatusTest, MarkColumnTexts) {
    matchList.Replace({L"Acme Tools"});
    View& v = Installed(true);
    ASSERT_EQ(v.colMap[2], kMarkColumn);
    Select(v, 1, 2, 1, 2);
    EXPECT_EQ(StatusText(v).text, L"Matching/installed: Acme Tools");
    Select(v, 2, 2, 2, 2);
    EXPECT_EQ(StatusText(v).text, L"No match on Beta Viewer");
    v.grid.SetTextMatrix(2, 1, L"");
    EXPECT_EQ(StatusText(v).text, L"No match data");
    Select(v, 1, 2, 4, 2);
    EXPECT_EQ(StatusText(v).text, L"Match info on DisplayName: 4 rows.");
}

TEST_F(GridStatusTest, ColumnDescriptions) {
    View& v =
        Fill(L"Software\\T,0123,0123,T,|9,<key>,Key|9,/PC7/Version,Version|9,Name,Name|9,Other,Shown as");
    v.grid.SetCol(0);
    EXPECT_EQ(ColInfo(v), L"Index");
    v.grid.SetCol(1);
    EXPECT_EQ(ColInfo(v), L"Key (<key>)");
    v.grid.SetCol(2);
    EXPECT_EQ(ColInfo(v), L"Version (Version) on PC7");
    v.grid.SetCol(3);
    EXPECT_EQ(ColInfo(v), L"Name");
    v.grid.SetCol(4);
    EXPECT_EQ(ColInfo(v), L"Shown as (Other)");
}

TEST_F(GridStatusTest, SortingTogglesAndKeepsRowsTogether) {
    View& v = Installed();
    v.FlipSort(2); // Version: numbers as numbers
    EXPECT_EQ(Column(2), (Texts{L"2", L"9", L"10", L"100"}));
    EXPECT_EQ(Column(0), (Texts{L"4", L"2", L"1", L"3"})); // the row numbers travel with their rows
    EXPECT_EQ(Column(1), (Texts{L"D", L"Beta Viewer", L"Acme Tools", L"Contoso PDF"}));
    v.FlipSort(1); // another column: descending the second time
    EXPECT_EQ(Column(1), (Texts{L"D", L"Contoso PDF", L"Beta Viewer", L"Acme Tools"}));
    EXPECT_EQ(v.sortText, L" Sorted descending");
    std::vector<Texts> whileFilling;
    host.onEvents = [&] { // no sorting while the view fills again
        v.FlipSort(1);
        whileFilling.push_back(Column(0));
    };
    v.fillflex();
    EXPECT_EQ(Column(0), (Texts{L"1", L"2", L"3", L"4"}));
    ASSERT_FALSE(whileFilling.empty());
    for (const Texts& rowNumbers : whileFilling) {
        for (size_t i = 0; i < rowNumbers.size(); ++i) {
            if (!rowNumbers[i].empty()) {
                EXPECT_EQ(rowNumbers[i], std::to_wstring(i + 1));
            }
        }
    }
}

TEST_F(GridStatusTest, SetTypeGivesComputerFolderAndCustomFile) {
    View& v = NewView(L"1");
    v.SetType(L"PC7", L"C:\\Tools\\", L"C:\\Views\\x.kvf");
    EXPECT_EQ(v.computerName, L"PC7");
    EXPECT_EQ(v.folderPath, L"C:\\Tools\\");
    EXPECT_EQ(v.GetModeCus(), L"C:\\Views\\x.kvf");
}

TEST_F(GridStatusTest, SelectAllTakesTheHeaderRowToo) {
    View& v = Installed();
    v.selectall();
    EXPECT_EQ(v.grid.Row(), 0);
    EXPECT_EQ(v.grid.RowSel(), 4);
    EXPECT_EQ(v.grid.ColSel(), v.grid.Cols() - 1);
    EXPECT_TRUE(v.grid.Clip().starts_with(L"\tDisplayName\tVersion\tPublisher"));
}

TEST(CellNamesAnObject, PathsSharesClassesArticles) {
    for (const wchar_t* cell :
         {L"C:\\Program Files\\x.exe", L"\"C:\\Program Files\\x.exe\" -service", L"\\\\server\\share",
          L"{441D94CB-16C9-48F9-B33C-9BA0B9134396}", L"%SystemRoot%\\system32\\svchost.exe", L"KB123456",
          L"Q123456", L"SP2\\KB123456", L"VEN_8086&DEV_1234", L"system32\\x.dll",
          L"SYSTEM32\\drivers\\e1000.sys"})
        EXPECT_TRUE(CellNamesAnObject(cell)) << cell;
    for (const wchar_t* cell : {L"", L"Acme Tools", L"KB1234567", L"Q12345", L"16", L"LocalSystem"})
        EXPECT_FALSE(CellNamesAnObject(cell)) << cell;
}

TEST_F(GridStatusTest, CellCommandsFollowTheViewAndTheCell) {
    View& v = Installed();
    Select(v, 1, 1, 1, 1);
    EXPECT_EQ(CellCommandsFor(v), (CellCommands{false, true, true}));
    v.grid.SetTextMatrix(1, 1, L"C:\\Acme\\acme.exe");
    EXPECT_EQ(CellCommandsFor(v), (CellCommands{true, true, true}));
    v.viewKind = ViewKind::IniTable;
    EXPECT_EQ(CellCommandsFor(v), (CellCommands{true, false, false}));
    v.viewKind = ViewKind::CustomFile;
    v.folderPath = L"C:\\Tools\\";
    v.grid.SetTextMatrix(1, 1, L"x");
    EXPECT_EQ(CellCommandsFor(v), (CellCommands{true, false, false}));
}

TEST_F(GridStatusTest, DeleteValueOnlyForOneFilledValueCell) {
    View& v = Installed();
    Select(v, 1, 2, 1, 2);
    EXPECT_TRUE(CellCommandsFor(v).deleteValue);
    Select(v, 1, 2, 2, 2); // two cells
    EXPECT_FALSE(CellCommandsFor(v).deleteValue);
    Select(v, 1, 0, 1, 0); // the row numbers
    EXPECT_FALSE(CellCommandsFor(v).deleteValue);
    v.grid.SetTextMatrix(1, 3, L"");
    Select(v, 1, 3, 1, 3); // an empty cell: no value to delete
    EXPECT_FALSE(CellCommandsFor(v).deleteValue);
    Select(v, 1, 2, 1, 2);
    v.viewKind = ViewKind::IniTable;
    EXPECT_FALSE(CellCommandsFor(v).deleteValue);
    v.viewKind = ViewKind::Registry;
    v.folderPath = L"C:\\Tools\\";
    EXPECT_FALSE(CellCommandsFor(v).deleteValue);
}

TEST(SelectionMessage, TwentyFiveLinesThenEtc) {
    EXPECT_EQ(SelectionMessage(L"a\tb\rc\td", L"Selected: 2 rows, 2 columns: X etc."),
              L"Selected:\r2 rows, 2 columns: X etc.\r\ra\tb\rc\td");
    std::wstring thirty;
    for (int i = 1; i <= 30; ++i)
        thirty += std::to_wstring(i) + (i < 30 ? L"\r" : L"");
    const std::wstring message = SelectionMessage(thirty, L"X: 30 rows.");
    EXPECT_TRUE(message.ends_with(L"\r24\r25\retc..")) << std::string(message.begin(), message.end());
    EXPECT_TRUE(message.starts_with(L"Selected:\rX: 30 rows.\r\r1\r"));
}

TEST(ColReSizeWidth, EstimateMeasureAndLimit) {
    GridModel grid;
    grid.SetCols(2);
    grid.SetRows(3);
    grid.SetColWidth(1, 600);
    grid.SetTextMatrix(0, 1, L"Name");
    grid.SetTextMatrix(1, 1, L"0123456789");
    grid.SetTextMatrix(2, 1, L"short");
    const auto narrow = [](std::wstring_view) {
        return 0;
    };
    EXPECT_EQ(ColReSizeWidth(grid, 1, 9, 100000, narrow), 825); // 10 × 1.05 + 1 = 11 characters of 75 twips
    EXPECT_EQ(ColReSizeWidth(grid, 1, 6, 100000, narrow), 750); // two thirds of the way
    std::vector<std::wstring> measured;
    const auto wide = [&](std::wstring_view text) {
        measured.emplace_back(text);
        return 2000;
    };
    EXPECT_EQ(ColReSizeWidth(grid, 1, 9, 100000, wide),
              2000);                                         // the measured label is wider than the estimate
    EXPECT_EQ(measured.front(), L"0123456789    ");          // the longest text first, with four blanks
    EXPECT_EQ(ColReSizeWidth(grid, 1, 9, 1500, wide), 1350); // never wider than the inner width less 150
    grid.SetColWidth(1, 5000);
    EXPECT_EQ(ColReSizeWidth(grid, 1, 9, 100000, narrow), 825); // a wide column shrinks to its text
}

} // namespace
} // namespace vantrel::test
