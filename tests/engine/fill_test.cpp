// The fill driver: captions, enumeration, grid set-up, stopping, and the kinds of views it hands over.
#include "engine/view_fixture.h"

namespace vantrel::test {
namespace {

constexpr auto HKLM = RootKey::LocalMachine;
const std::wstring kServices = L"System\\CurrentControlSet\\Services\\";

void AddServices(MemoryRegistry& memory, int count) {
    for (int i = 0; i < count; ++i) {
        const std::wstring key = kServices + L"Svc" + std::to_wstring(100 + i);
        memory.SetString(L"", HKLM, key, L"DisplayName", L"Service " + std::to_wstring(i));
        memory.SetDword(L"", HKLM, key, L"Type", 16);
    }
}

TEST_F(ViewTest, ServicesViewCaptionHeadersAndRows) {
    AddServices(memory, 3);
    memory.SetDword(L"", HKLM, kServices + L"Driver", L"Type", 1);
    View& v = Fill(L"8");
    EXPECT_EQ(host.caption, L"Registered services view - Local - v6.1sp1");
    EXPECT_EQ(Headers(), (Texts{L"DisplayName", L"Program", L"Start", L"Group", L"Type", L"Account"}));
    EXPECT_EQ(v.grid.TextMatrix(0, 0), L"");
    EXPECT_EQ(Column(0), (Texts{L"1", L"2", L"3"}));
    EXPECT_EQ(Column(1), (Texts{L"Service 0", L"Service 1", L"Service 2"}));
    EXPECT_EQ(v.rowCount, 3);
    EXPECT_EQ(v.grid.ColWidth(1), 240 * 15);
    EXPECT_EQ(v.grid.ColWidth(0), 480);
    EXPECT_EQ(v.state(), ViewState::Idle);
    EXPECT_FALSE(host.busy);
    EXPECT_FALSE(host.cancelShown);

    host.listMode = 1;
    view->fillflex();
    EXPECT_EQ(Headers().front(), L"Name");
    EXPECT_EQ(Headers().size(), 10u);
}

TEST_F(ViewTest, CaptionWithoutServicePack) {
    memory.RemoveValue(L"", HKLM, L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", L"CSDVersion");
    memory.SetString(L"", HKLM, L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", L"CurrentVersion",
                     L"6.3");
    Fill(L"8");
    EXPECT_EQ(host.caption, L"Registered services view - Local - v6.3");
    memory.RemoveValue(L"", HKLM, L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", L"CurrentVersion");
    Fill(L"8");
    EXPECT_EQ(host.caption, L"Registered services view - Local");
}

TEST_F(ViewTest, ProgressShowsInTheCaptionWhileFilling) {
    AddServices(memory, 8);
    Fill(L"8");
    EXPECT_NE(std::find(host.captions.begin(), host.captions.end(),
                        L"Registered services view - Local - v6.1sp1 - 13%"),
              host.captions.end());
    EXPECT_NE(std::find(host.captions.begin(), host.captions.end(),
                        L"Registered services view - Local - v6.1sp1 - 88%"),
              host.captions.end());
    EXPECT_EQ(host.caption, L"Registered services view - Local - v6.1sp1");
}

TEST_F(ViewTest, ShowProgressReplacesItsOwnSuffixOnly) {
    View& v = NewView(L"8");
    host.caption = L"Installed";
    v.ShowProgress(5);
    EXPECT_EQ(host.caption, L"Installed -  5%");
    v.ShowProgress(45);
    EXPECT_EQ(host.caption, L"Installed - 45%");
    v.ShowProgress(100);
    EXPECT_EQ(host.caption, L"Installed");
    host.caption = L"Components of 100% view";
    v.ShowProgress(7);
    EXPECT_EQ(host.caption, L"Components of 100% view -  7%");
}

TEST_F(ViewTest, EscapeStopsTheFillAndKeepsTheRowsFound) {
    AddServices(memory, 20);
    View& v = NewView(L"8");
    host.onEvents = [&] {
        if (host.eventRuns == 6)
            v.Stop(); // Esc in the grid
    };
    v.fillflex();
    EXPECT_EQ(v.rowCount, 5);
    EXPECT_EQ(Column(0), (Texts{L"1", L"2", L"3", L"4", L"5"}));
    EXPECT_EQ(v.state(), ViewState::Idle);
    EXPECT_EQ(host.captions[host.captions.size() - 2], L"Registered services view - Local - v6.1sp1 - 25%");
    EXPECT_EQ(host.caption, L"Registered services view - Local - v6.1sp1");
}

TEST_F(ViewTest, SecondFillRequestDuringAFillStopsIt) {
    AddServices(memory, 10);
    View& v = NewView(L"8");
    host.onEvents = [&] {
        if (host.eventRuns == 3)
            v.fillflex();
    };
    v.fillflex();
    EXPECT_EQ(v.rowCount, 2);
    EXPECT_EQ(v.state(), ViewState::Idle);
}

TEST_F(ViewTest, RefillKeepsEditedColumnsAndDraggedWidths) {
    AddServices(memory, 2);
    View& v = Fill(L"8");
    v.columns.column(1).widthTwips = 1234;
    v.columns.column(1).header = L"Shown as";
    v.fillflex();
    EXPECT_EQ(v.grid.ColWidth(1), 1234);
    EXPECT_EQ(Headers().front(), L"Shown as");
}

TEST_F(ViewTest, EmptyOrderIsReported) {
    Fill(L"Software\\T,,0,T,|9,<key>");
    EXPECT_EQ(host.messages, (Texts{L"Unexpected 423 Columnstring error"}));
    EXPECT_EQ(view->grid.Cols(), 1);
}

TEST_F(ViewTest, UnansweringComputerIsReported) {
    computers.unreachable.insert(L"WS1");
    View& v = NewView(L"8");
    v.computerName = L"WS1";
    v.fillflex();
    EXPECT_EQ(host.messages, (Texts{L"No connection"}));
    EXPECT_TRUE(Rows().empty());
    EXPECT_EQ(host.caption, L"Registered services view on WS1");
}

TEST_F(ViewTest, LocalComputerNamesInAnglesMeanLocal) {
    AddServices(memory, 1);
    View& v = NewView(L"8");
    v.computerName = L"<local station>";
    v.fillflex();
    EXPECT_EQ(v.computerName, L"");
    EXPECT_EQ(v.rowCount, 1);
    EXPECT_TRUE(computers.asked.empty());
}

TEST_F(ViewTest, MergedViewRefreshCanBeCancelled) {
    View& v = NewView(L"8", ViewKind::Merged);
    host.yesNoAnswer = true;
    v.fillflex();
    EXPECT_EQ(host.messages,
              (Texts{L"Refresh can probably not give the same information\r\nCancel the refresh action?"}));
    EXPECT_EQ(v.state(), ViewState::New);
    EXPECT_TRUE(host.captions.empty());
}

TEST_F(ViewTest, HeadersDefaultToTheDataAndSizeColumnsAlignRight) {
    memory.SetString(L"", HKLM, L"Software\\T\\a", L"FileSize", L"12");
    environment.variables[L"who"] = L"admin";
    View& v = Fill(L"Software\\T,012,012,T,|9,<key>|9,FileSize|9,Owner,By %who%");
    EXPECT_EQ(Headers(), (Texts{L"<key>", L"FileSize", L"By admin"}));
    EXPECT_EQ(v.grid.ColAlignment(2), CellAlignment::RightCenter);
    EXPECT_EQ(v.grid.ColAlignment(1), CellAlignment::LeftCenter);
}

TEST_F(ViewTest, WildcardBaseIsCutAfterEnumeration) {
    memory.SetString(L"", HKLM, L"Software\\U\\S1\\Products\\P1", L"Name", L"one");
    View& v = Fill(L"Software\\U\\*\\Products,01,01,U,|9,<key>|9,Name");
    EXPECT_EQ(v.basePath, L"Software\\U");
    EXPECT_EQ(Rows(), (Table{{L"S1\\Products\\P1", L"one"}}));
}

TEST_F(ViewTest, ItemListsHaveNoFixedBound) {
    for (int i = 0; i < 15050; ++i)
        memory.CreateKey(L"", HKLM, L"Software\\Many\\K" + std::to_wstring(i));
    View& v = Fill(L"Software\\Many,0,0,Many,|9,<key>");
    EXPECT_EQ(v.rowCount, 15050);
}

TEST_F(ViewTest, KeyListingLetsEventsRunAndEscapeEndsIt) {
    for (int i = 0; i < 1000; ++i)
        memory.CreateKey(L"", HKLM, L"Software\\Many\\K" + std::to_wstring(i));
    View& v = NewView(L"Software\\Many,0,0,Many,|9,<key>");
    host.onEvents = [&] {
        if (host.eventRuns == 2)
            v.Stop(); // Esc in the grid while the key is listed
    };
    v.fillflex();
    EXPECT_EQ(v.itemCount(), 511u); // the listing ended at its second check, after 512 names
    EXPECT_EQ(host.eventRuns, 3);   // and the rows were not evaluated after it
    EXPECT_EQ(v.rowCount, 0);
    EXPECT_EQ(v.state(), ViewState::Idle);
}

TEST_F(ViewTest, FolderViewWalksTheFolderAndReadsFileProperties) {
    files.files = {L"C:\\Tools\\a.exe", L"C:\\Tools\\sub\\b.exe"};
    files.properties[L"C:\\Tools\\a.exe"] = {
        {L"<keyfile>", L"a.exe"}, {L"version", L"1.0"}, {L"filesize", L"100"}};
    files.properties[L"C:\\Tools\\sub\\b.exe"] = {{L"<keyfile>", L"b.exe"}, {L"filesize", L"200"}};
    View& v = Fill(L"C:\\Tools\\*.exe,0123,0123,T,|9,<key>|9,<keyfile>|9,Version!*|9,Filesize");
    EXPECT_EQ(files.walks, (Texts{L"C:\\Tools\\|*.exe|2"}));
    EXPECT_EQ(v.folderPath, L"C:\\Tools\\");
    EXPECT_EQ(v.columns.head.base, L"C:\\Tools\\*.exe(2)");
    EXPECT_EQ(Rows(), (Table{{L"C:\\Tools\\a.exe", L"a.exe", L"1.0", L"100"},
                             {L"C:\\Tools\\sub\\b.exe", L"b.exe", L"b.exe", L"200"}}));
    EXPECT_EQ(v.grid.ColAlignment(4), CellAlignment::RightCenter);
}

TEST_F(ViewTest, FolderWalkLetsEventsRunAndEscapeEndsIt) {
    for (int i = 0; i < 10; ++i)
        files.files.push_back(L"C:\\Tools\\f" + std::to_wstring(i) + L".exe");
    View& v = NewView(L"C:\\Tools\\*.exe(2),01,01,T,|9,<key>|9,<keyfile>");
    host.onEvents = [&] {
        if (host.eventRuns == 4)
            v.Stop(); // Esc in the grid while the walk runs
    };
    v.fillflex();
    EXPECT_EQ(v.itemCount(), 3u); // the walk ended at the check that saw the stop
    EXPECT_EQ(host.eventRuns, 5); // and the rows were not evaluated after it
    EXPECT_EQ(v.rowCount, 0);
    EXPECT_EQ(v.state(), ViewState::Idle);
}

TEST_F(ViewTest, FolderContentsViewUsesTheInstallFolderDefinition) {
    files.files = {L"D:\\Setup\\x.msi"};
    files.properties[L"D:\\Setup\\x.msi"] = {{L"title", L"X Setup"}, {L"productcode", L"{X}"}};
    View& v = NewView(L"", ViewKind::Folder);
    v.folderPath = L"D:\\Setup\\";
    v.fillflex();
    EXPECT_EQ(host.caption, L"Contents view of D:\\Setup\\");
    EXPECT_EQ(files.walks, (Texts{L"D:\\Setup\\|*.exe;*.msi;*.inf|2"}));
    EXPECT_EQ(Headers(), (Texts{L"File", L"Relative path", L"Title", L"Version", L"Product code"}));
    EXPECT_EQ(Rows()[0][2], L"X Setup");
    EXPECT_EQ(Rows()[0][4], L"{X}");
}

TEST_F(ViewTest, MissingFolderShowsItInTheHeader) {
    View& v = Fill(L"C:\\Nowhere\\*.exe(1),01,01,T,|9,<key>|9,<keyfile>");
    EXPECT_EQ(v.grid.TextMatrix(0, 1), L"Empty or invalid path");
    EXPECT_EQ(v.state(), ViewState::Idle);
    EXPECT_TRUE(files.walks.empty());
}

TEST_F(ViewTest, HandsOverToTheIniAndClassListFills) {
    ini.files[L"C:\\windows\\win.ini"] = {{L"fonts", {}}};
    View& table = NewView(L"", ViewKind::IniTable);
    host.startFile = L"C:\\windows\\win.ini";
    table.fillflex();
    EXPECT_EQ(table.folderPath, L"C:\\windows\\win.ini");
    EXPECT_EQ(host.caption, L"Table view of C:\\windows\\win.ini");
    EXPECT_EQ(table.grid.TextMatrix(1, 0), L"fonts");

    View& classes = NewView(L"", ViewKind::ClassList);
    classes.computerName = L"<local computer>";
    host.cancelShown = true;
    classes.fillflex();
    EXPECT_EQ(host.caption, L"Registered controls");
    EXPECT_EQ(classes.columns.head.title, L"Class-IDs");
    EXPECT_EQ(classes.state(), ViewState::Idle);
    EXPECT_FALSE(host.busy);
    EXPECT_FALSE(host.cancelShown);
}

} // namespace
} // namespace vantrel::test
