// The commands that reach other computers: a view copied onto a computer chosen in the computer list, and a
// data row compared across several computers, over in-memory computers and a scripted computer list.
#include "shell/main_menu_ids.h"
#include "shell/main_window_fixture.h"

namespace vantrel {
namespace {

using test::WindowText;
constexpr auto HKLM = RootKey::LocalMachine;
const std::wstring kUninstall(kUninstallKey);

class ComputersTest : public test::MainWindowFixture {
protected:
    ComputersTest() {
        for (const wchar_t* computer : {L"", L"PC1", L"PC2"}) {
            const std::wstring pc = computer;
            memory.SetString(pc, HKLM, kUninstall + L"\\Acme", L"DisplayName", L"Acme" + pc);
            memory.SetString(pc, HKLM, kUninstall + L"\\Acme", L"DisplayVersion", L"1" + pc);
        }
        computers.unreachable.insert(L"PC2");
        ShowMain();
    }

    ViewForm* OpenFilled() {
        ViewForm* form = main->OpenInstalledView(L"");
        RunPending();
        return form;
    }
};

TEST_F(ComputersTest, ARowComparedOnThreeComputers) {
    ViewForm* from = OpenFilled();
    from->view().grid.SetRow(1);
    prompter.computersAnswer = {L"", L"PC1", L"PC2"};
    ViewForm* compared = Command(IDM_MULTIPLE_COMPUTERS);
    ASSERT_NE(compared, from);
    EXPECT_EQ(prompter.computerRowcols, (std::vector<std::wstring>{kUninstall + L"\\Acme"}));
    const View& v = compared->view();
    EXPECT_EQ(v.viewKind, ViewKind::MultiComputer);
    EXPECT_EQ(WindowText(compared->hwnd()), L"Comparing computers on 'Uninstall\\Acme' ");
    ASSERT_EQ(v.grid.Rows(), 4);
    const std::pair<std::wstring, std::wstring> rows[] = {
        {L"<local computer>", L"Acme"}, {L"PC1", L"AcmePC1"}, {L"PC2", L"Not connected"}};
    for (int r = 1; r <= 3; ++r) {
        EXPECT_EQ(v.grid.TextMatrix(r, 1), rows[r - 1].first);
        EXPECT_EQ(v.grid.TextMatrix(r, 2), rows[r - 1].second);
    }
}

TEST_F(ComputersTest, FewerThanTwoComputersOpenNothing) {
    ViewForm* from = OpenFilled();
    from->view().grid.SetRow(1);
    prompter.computersAnswer = {L""};
    EXPECT_EQ(Command(IDM_MULTIPLE_COMPUTERS), from);
    EXPECT_EQ(prompter.computerRowcols.size(), 1u);
}

TEST_F(ComputersTest, ACompareViewIsNotComparedAgain) {
    ViewForm* from = OpenFilled();
    from->view().viewKind = ViewKind::MultiComputer;
    from->view().grid.SetRow(1);
    Command(IDM_MULTIPLE_COMPUTERS);
    EXPECT_EQ(prompter.messages, (std::vector<std::wstring>{L"Sorry - not supported for this view "}));
    EXPECT_TRUE(prompter.computerRowcols.empty());
}

TEST_F(ComputersTest, ConnectOpensTheViewOnTheChosenComputer) {
    ViewForm* from = OpenFilled();
    prompter.computerAnswer = L"PC1";
    ViewForm* copy = Command(IDM_CONNECT);
    ASSERT_NE(copy, from);
    EXPECT_EQ(copy->view().computerName, L"PC1");
    EXPECT_EQ(copy->view().grid.TextMatrix(1, 1), L"AcmePC1");
    EXPECT_NE(WindowText(copy->hwnd()).find(L" on PC1"), std::wstring::npos);

    prompter.computerAnswer.reset(); // not opened
    EXPECT_EQ(Command(IDM_CONNECT), copy);
    EXPECT_EQ(prompter.computerDialogs, 2);
}

TEST_F(ComputersTest, AnIniTableIsNotConnected) {
    OpenFilled()->view().viewKind = ViewKind::IniTable;
    Command(IDM_CONNECT);
    EXPECT_EQ(prompter.computerDialogs, 0);
}

TEST_F(ComputersTest, TheComputersOfACompareViewAreChosenAgain) {
    ViewForm* from = OpenFilled();
    from->view().grid.SetRow(1);
    prompter.computersAnswer = {L"", L"PC1", L"PC2"};
    ViewForm* compared = Command(IDM_MULTIPLE_COMPUTERS);
    prompter.messageAnswer = IDYES; // edit the computers, not the columns
    prompter.computersAnswer = {L"PC1", L"PC2"};
    compared->EditCols();
    RunPending();
    EXPECT_EQ(compared->view().grid.Rows(), 3);
    EXPECT_EQ(compared->view().grid.TextMatrix(1, 1), L"PC1");
    EXPECT_EQ(compared->view().columns.head.base, kUninstall + L"\\Acme");
}

TEST_F(ComputersTest, ABuiltInViewOnAnotherComputer) {
    prompter.newViewChoice = NewViewChoice{.button = 3, .viewNumber = 1};
    prompter.computerAnswer = L"PC1";
    SendMessageW(main->hwnd(), WM_COMMAND, IDM_NEW_VIEW, 0);
    RunPending();
    ViewForm* opened = main->ActiveView();
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(opened->view().computerName, L"PC1");
}

TEST_F(ComputersTest, AValueDeletedInACompareViewGoesFromItsComputer) {
    ViewForm* from = OpenFilled();
    from->view().grid.SetRow(1);
    prompter.computersAnswer = {L"", L"PC1"};
    ViewForm* compared = Command(IDM_MULTIPLE_COMPUTERS);
    GridModel& grid = compared->view().grid;
    grid.SetRow(2); // PC1
    grid.SetCol(3); // DisplayVersion
    prompter.messageAnswer = IDCANCEL;
    Command(IDM_DELETE_VALUE);
    EXPECT_EQ(grid.TextMatrix(2, 3), L"1PC1");
    prompter.messageAnswer = IDOK;
    Command(IDM_DELETE_VALUE);
    EXPECT_EQ(prompter.titles, (std::vector<std::wstring>{L"Delete source data", L"Delete source data"}));
    EXPECT_EQ(prompter.messages.back(), L"Registry key: \r" + kUninstall +
                                            L"\\Acme\\/PC1/\r\rValue: \r"
                                            L"DisplayVersion = 1PC1\r\rErase value?");
    EXPECT_EQ(grid.TextMatrix(2, 3), L"");
    EXPECT_FALSE(memory.Get(L"PC1", HKLM, kUninstall + L"\\Acme", L"DisplayVersion").has_value());
    EXPECT_TRUE(memory.Get(L"", HKLM, kUninstall + L"\\Acme", L"DisplayVersion").has_value());
}

} // namespace
} // namespace vantrel
