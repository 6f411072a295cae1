// The main window's menus: every caption and shortcut as the program writes them, the entries that follow
// the active view, and the list-mode and cancel commands.
#include "dialogs/new_view/new_view_ids.h"
#include "shell/main_menu_ids.h"
#include "shell/main_window_fixture.h"
#include "ui/grid_window.h"
#include "views/catalogue.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstring>
#include <functional>
#include <set>
#include <shlobj.h>

namespace vantrel {
namespace {

using namespace std::chrono_literals;
constexpr auto HKLM = RootKey::LocalMachine;

std::wstring ItemText(HMENU menu, int position) {
    wchar_t text[128]{};
    GetMenuStringW(menu, static_cast<UINT>(position), text, 128, MF_BYPOSITION);
    return text;
}

// The captions of a menu's items; "-" for a separator, submenus as "caption{...}".
std::wstring Describe(HMENU menu) {
    std::wstring text;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        if (i > 0)
            text += L"|";
        // For a submenu the state's high byte counts its items, so look for the submenu first.
        if (const HMENU sub = GetSubMenu(menu, i); sub != nullptr) {
            text += ItemText(menu, i) + L"{" + Describe(sub) + L"}";
            continue;
        }
        const UINT state = GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION);
        text += state & MF_SEPARATOR ? std::wstring(L"-") : ItemText(menu, i);
    }
    return text;
}

bool Enabled(HMENU menu, UINT id) {
    return !(GetMenuState(menu, id, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED));
}
bool Checked(HMENU menu, UINT id) {
    return (GetMenuState(menu, id, MF_BYCOMMAND) & MF_CHECKED) != 0;
}
bool Present(HMENU menu, UINT id) {
    return GetMenuState(menu, id, MF_BYCOMMAND) != static_cast<UINT>(-1);
}

class MainMenuTest : public test::MainWindowFixture {
protected:
    MainMenuTest() {
        for (int i = 0; i < 3; ++i) {
            const std::wstring key = L"System\\CurrentControlSet\\Services\\Svc" + std::to_wstring(i);
            memory.SetString(L"", HKLM, key, L"DisplayName", L"Service " + std::to_wstring(i));
            memory.SetDword(L"", HKLM, key, L"Type", 16);
        }
        ShowMain();
    }
    ViewForm* OpenFilledServices() {
        ViewForm* form = main->NewView(L"", L"8", L"");
        RunPending();
        return form;
    }
    void Command(UINT id) { SendMessageW(main->hwnd(), WM_COMMAND, id, 0); }
};

TEST_F(MainMenuTest, CaptionsAndShortcutsAsWritten) {
    const HMENU bar = main->menu();
    ASSERT_EQ(GetMenuItemCount(bar), 5);
    EXPECT_EQ(ItemText(bar, 0), L"&File");
    EXPECT_EQ(ItemText(bar, 1), L"&Edit");
    EXPECT_EQ(ItemText(bar, 2), L"&View");
    EXPECT_EQ(ItemText(bar, 3), L"&Window");
    EXPECT_EQ(ItemText(bar, 4), L"&Help");
    EXPECT_EQ(
        Describe(GetSubMenu(bar, 0)),
        L"New &view ...|&Open a custom view ...\tCtrl+O|&Edit current view ...\tCtrl+E|&Save view as "
        L"...\tCtrl+S|"
        L"&Close\tCtrl+Q|-|&Locally Installed\tCtrl+L|Othe&r built-in views{Services|PCI hardware|ActiveX "
        L"Controls\tCtrl+R|ActiveX (COM) servers|MSI installations|Applied Hotfixes|Windows XP Updates|Files "
        L"in "
        L"WinXP Updates}|&Ini file as a matrix ...\tCtrl+I|List installs on &Path ...\tCtrl+P|-|Co&nnect to "
        L"Computer ...\tCtrl+N|-|E&xit");
    EXPECT_EQ(Describe(GetSubMenu(bar, 1)),
              L"P&roperties\tF3|&Edit value\tF2|-|&Delete value\tDel|&Select all\tCtrl+A|"
              L"&Copy\tCtrl+C|Open in E&xcel");
    EXPECT_EQ(Describe(GetSubMenu(bar, 2)), L"&Standard list\tF7|&Detailed list\tF8|-|&Refresh\tF5|S&how "
                                            L"Match column|Set Match &list|-|Toggle sort "
                                            L"&order\tCtrl+W|&Transpose\tCtrl+T|-|M&ultiple computers row "
                                            L"view\tF9|&Merge with another view ...\tF11|-|Hi&ghlight "
                                            L"differences");
    EXPECT_EQ(Describe(GetSubMenu(bar, 3)), L"&Fit to table\tF6|&Maximize\tCtrl+M|&Tile vertically");
    EXPECT_EQ(Describe(GetSubMenu(bar, 4)), L"Con&tents\tCtrl+F1|&Command line parameters ..|&About ..");
}

TEST_F(MainMenuTest, InitialStatesWithoutAView) {
    const HMENU bar = main->menu();
    EXPECT_TRUE(Checked(bar, IDM_STANDARD_LIST));
    EXPECT_FALSE(Checked(bar, IDM_DETAILED_LIST));
    EXPECT_FALSE(Enabled(bar, IDM_DELETE_VALUE));
    for (const UINT id :
         {IDM_REFRESH, IDM_COPY, IDM_SELECT_ALL, IDM_SHOW_MATCH, IDM_SET_MATCH_LIST, IDM_CLOSE, IDM_SAVE_AS})
        EXPECT_FALSE(Enabled(bar, id)) << id;
    EXPECT_TRUE(Enabled(bar, IDM_NEW_VIEW));
    EXPECT_TRUE(Enabled(bar, IDM_LOCALLY_INSTALLED));
    EXPECT_FALSE(Present(bar, IDM_CANCEL));
    Command(IDM_REFRESH); // nothing to act on: nothing happens, nothing is said
    Command(IDM_COPY);
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(MainMenuTest, EntriesFollowTheActiveView) {
    ViewForm* form = OpenFilledServices();
    ASSERT_NE(form, nullptr);
    const HMENU bar = main->menu();
    for (const UINT id :
         {IDM_REFRESH, IDM_SHOW_MATCH, IDM_SET_MATCH_LIST, IDM_SAVE_AS, IDM_EDIT_VALUE, IDM_CLOSE})
        EXPECT_TRUE(Enabled(bar, id)) << id;
    wchar_t caption[64]{};
    GetMenuStringW(bar, IDM_MAXIMIZE, caption, 64, MF_BYCOMMAND);
    EXPECT_STREQ(caption, L"Maximiz&e\tCtrl+M");
    Command(IDM_MAXIMIZE);
    GetMenuStringW(bar, IDM_MAXIMIZE, caption, 64, MF_BYCOMMAND);
    EXPECT_STREQ(caption, L"R&estore\tCtrl+M");
    Command(IDM_CLOSE);
    RunPending();
    EXPECT_EQ(main->ActiveView(), nullptr);
    EXPECT_FALSE(Enabled(bar, IDM_REFRESH));
}

TEST_F(MainMenuTest, ClickingACellSetsTheStatusAndTheCellCommands) {
    memory.SetString(L"", HKLM, L"System\\CurrentControlSet\\Services\\Svc1", L"ImagePath",
                     L"C:\\svc\\one.exe");
    ViewForm* form = OpenFilledServices();
    ASSERT_NE(form, nullptr);
    GridWindow* grid = form->grid();
    const int tpp = grid->TwipsPerPixel();
    const auto click = [&](int row, int col) {
        const LPARAM at = MAKELPARAM((grid->ColPos(col) + 60) / tpp, (grid->RowPos(row) + 60) / tpp);
        SendMessageW(grid->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(grid->hwnd(), WM_LBUTTONUP, 0, at);
    };
    click(2, 2); // the Program cell of Svc1
    EXPECT_EQ(grid->ToolTipText(), L"Program (ImagePath): C:\\svc\\one.exe");
    EXPECT_EQ(grid->tag, L"1");
    EXPECT_TRUE(Enabled(main->menu(), IDM_PROPERTIES));
    EXPECT_TRUE(Enabled(main->menu(), IDM_DELETE_VALUE));
    click(2, 1); // the DisplayName cell: nothing to show properties of
    EXPECT_FALSE(Enabled(main->menu(), IDM_PROPERTIES));
    EXPECT_TRUE(Enabled(main->menu(), IDM_EDIT_VALUE));

    Command(IDM_TOGGLE_SORT); // by DisplayName, ascending first, then descending
    Command(IDM_TOGGLE_SORT);
    EXPECT_EQ(form->view().grid.TextMatrix(1, 1), L"Service 2");
    EXPECT_EQ(form->view().grid.TextMatrix(1, 0), L"3");
    Command(IDM_SELECT_ALL);
    EXPECT_EQ(grid->ToolTipText(), L"Index: 4 rows. Sorted descending on DisplayName");
}

TEST_F(MainMenuTest, HeaderDoubleClickSortsOrFitsAndEnterSorts) {
    ViewForm* form = OpenFilledServices();
    ASSERT_NE(form, nullptr);
    GridWindow* grid = form->grid();
    const int tpp = grid->TwipsPerPixel();
    const auto at = [&](int xTwips, int row) {
        return MAKELPARAM(xTwips / tpp, (grid->RowPos(row) + 60) / tpp);
    };
    const auto doubleClick = [&](LPARAM point, WPARAM keys = 0) {
        SendMessageW(grid->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON | keys, point);
        SendMessageW(grid->hwnd(), WM_LBUTTONUP, keys, point);
        SendMessageW(grid->hwnd(), WM_LBUTTONDBLCLK, MK_LBUTTON | keys, point);
        SendMessageW(grid->hwnd(), WM_LBUTTONUP, keys, point);
    };
    GridModel& model = form->view().grid;
    doubleClick(at(grid->ColPos(1) + 300, 0)); // the DisplayName header: sorts ascending
    doubleClick(at(grid->ColPos(1) + 300, 0)); // and then descending
    EXPECT_EQ(model.TextMatrix(1, 1), L"Service 2");

    const int before = model.ColWidth(4);
    doubleClick(at(grid->ColPos(4) + model.ColWidth(4) - tpp, 0)); // within 3 pixels of Group's right edge
    EXPECT_NE(model.ColWidth(4), before);
    EXPECT_EQ(model.TextMatrix(1, 1), L"Service 2") << "fitting a column does not sort";

    SendMessageW(grid->hwnd(), WM_MOUSEMOVE, 0, at(grid->ColPos(1) + 300, 0));
    SendMessageW(grid->hwnd(), WM_CHAR, VK_RETURN, 0); // Enter on the header row sorts again
    EXPECT_EQ(model.TextMatrix(1, 1), L"Service 0");

    doubleClick(at(grid->ColPos(1) + 300, 2), MK_CONTROL); // a data cell with Ctrl held
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0], L"Selected:\r\nDisplayName: Service 1\r\n\r\nService 1");
}

TEST_F(MainMenuTest, ASingleCellTooltipGoesWhenThePointerMovesOn) {
    ViewForm* form = OpenFilledServices();
    ASSERT_NE(form, nullptr);
    GridWindow* grid = form->grid();
    const int tpp = grid->TwipsPerPixel();
    const LPARAM cell = MAKELPARAM((grid->ColPos(1) + 300) / tpp, (grid->RowPos(2) + 60) / tpp);
    SendMessageW(grid->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, cell);
    SendMessageW(grid->hwnd(), WM_LBUTTONUP, 0, cell);
    EXPECT_EQ(grid->ToolTipText(), L"DisplayName: Service 1");
    SendMessageW(grid->hwnd(), WM_MOUSEMOVE, 0, cell); // records where the pointer is
    EXPECT_EQ(grid->tag, L"5");
    EXPECT_EQ(grid->ToolTipText(), L"DisplayName: Service 1");
    SendMessageW(grid->hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(LOWORD(cell) + 2, HIWORD(cell)));
    EXPECT_EQ(grid->ToolTipText(), L"");
    EXPECT_EQ(grid->tag, L"0");
}

// An HDROP as the shell hands dropped files over.
HDROP DroppedFiles(const std::vector<std::wstring>& paths) {
    std::wstring list;
    for (const std::wstring& path : paths)
        list += path + L'\0';
    list += L'\0';
    const SIZE_T bytes = sizeof(DROPFILES) + list.size() * sizeof(wchar_t);
    const HGLOBAL memory = GlobalAlloc(GHND, bytes);
    auto* header = static_cast<DROPFILES*>(GlobalLock(memory));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    std::memcpy(reinterpret_cast<BYTE*>(header) + sizeof(DROPFILES), list.data(),
                list.size() * sizeof(wchar_t));
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

TEST_F(MainMenuTest, IniFileAsAMatrixAsksForTheFile) {
    wchar_t temp[MAX_PATH]{};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring file = std::wstring(temp) + L"vantrel chosen.ini";
    CloseHandle(CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    ini.files[file] = {{L"Colors", {L"Window=255 255 255"}}};
    environment.variables[L"systemroot"] = L"C:\\windows";

    prompter.fileDialogAnswer = file;
    Command(IDM_INI_FILE);
    ASSERT_EQ(prompter.fileDialogs.size(), 1u);
    EXPECT_EQ(prompter.fileDialogs[0].title, L"Open ini file");
    EXPECT_EQ(prompter.fileDialogs[0].filter, L"ini files (*.ini)|*.ini|All files (*.*)|*.*");
    EXPECT_EQ(prompter.fileDialogs[0].folder, L"C:\\windows\\");
    EXPECT_EQ(prompter.fileDialogs[0].fileName, L"win.ini");
    RunPending();
    ViewForm* table = main->ActiveView();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->view().viewKind, ViewKind::IniTable);
    EXPECT_EQ(table->view().grid.TextMatrix(1, 0), L"Colors");

    prompter.fileDialogAnswer.clear(); // cancelled: nothing opens
    Command(IDM_CLOSE);
    RunPending();
    Command(IDM_INI_FILE);
    RunPending();
    EXPECT_EQ(main->ActiveView(), nullptr);
    EXPECT_EQ(prompter.fileDialogs[1].fileName, L"vantrel chosen.ini"); // starts from the last file chosen

    SendMessageW(main->hwnd(), WM_DROPFILES,
                 reinterpret_cast<WPARAM>(DroppedFiles({file, std::wstring(temp)})), 0);
    RunPending();
    ViewForm* dropped = main->ActiveView();
    ASSERT_NE(dropped, nullptr);
    EXPECT_EQ(dropped->view().viewKind, ViewKind::Folder); // the folder, dropped last
    EXPECT_TRUE(dropped->CaptionText().starts_with(L"Contents view of "))
        << std::string(dropped->CaptionText().begin(), dropped->CaptionText().end());
    DeleteFileW(file.c_str());
}

TEST_F(MainMenuTest, SortCommandsSetTheDirection) {
    ViewForm* form = OpenFilledServices();
    ASSERT_NE(form, nullptr);
    const GridModel& grid = form->view().grid;
    EXPECT_TRUE(main->LinkExecute(L"[Sort 1 -]"));
    EXPECT_EQ(grid.TextMatrix(1, 1), L"Service 2");
    EXPECT_TRUE(main->LinkExecute(L"[Sort 1]"));
    EXPECT_EQ(grid.TextMatrix(1, 1), L"Service 0");
    EXPECT_TRUE(main->LinkExecute(L"[Sort -1]"));
    EXPECT_EQ(grid.TextMatrix(1, 1), L"Service 2");
    EXPECT_TRUE(main->LinkExecute(L"[Sort 1 +]"));
    EXPECT_EQ(grid.TextMatrix(1, 1), L"Service 0");
    EXPECT_EQ(form->view().sortText, L" Sorted ascending");
}

TEST_F(MainMenuTest, ConnectCopiesTheActiveViewToAnotherComputer) {
    memory.SetString(L"PC7", HKLM, L"System\\CurrentControlSet\\Services\\Remote", L"DisplayName",
                     L"Remote service");
    memory.SetDword(L"PC7", HKLM, L"System\\CurrentControlSet\\Services\\Remote", L"Type", 32);
    ViewForm* local = OpenFilledServices();
    ASSERT_NE(local, nullptr);
    EXPECT_TRUE(main->LinkExecute(L"[Connect PC7]"));
    ViewForm* remote = main->ActiveView();
    ASSERT_NE(remote, local);
    EXPECT_EQ(remote->view().computerName, L"PC7");
    EXPECT_EQ(remote->view().grid.TextMatrix(1, 1), L"Remote service");
    EXPECT_EQ(remote->CaptionText(), L"Registered services view on PC7");
    EXPECT_EQ(local->view().computerName, L""); // the view it was copied from stays as it was
}

TEST_F(MainMenuTest, AStartFileThatIsNotThereIsReported) {
    main->SetStartFile(L"C:\\nowhere\\x.ini");
    main->OpenStartFile();
    EXPECT_EQ(prompter.messages, (std::vector<std::wstring>{L"Could not open C:\\nowhere\\x.ini"}));
    EXPECT_EQ(main->ActiveView(), nullptr);
    EXPECT_NE(main->hwnd(), nullptr);
}

TEST_F(MainMenuTest, DetailedListChecksItsEntryAndRefills) {
    ViewForm* form = OpenFilledServices();
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->view().grid.TextMatrix(0, 1), L"DisplayName");
    Command(IDM_DETAILED_LIST);
    RunPending();
    EXPECT_TRUE(Checked(main->menu(), IDM_DETAILED_LIST));
    EXPECT_FALSE(Checked(main->menu(), IDM_STANDARD_LIST));
    EXPECT_EQ(form->view().grid.TextMatrix(0, 1), L"Name");
    Command(IDM_STANDARD_LIST);
    RunPending();
    EXPECT_TRUE(Checked(main->menu(), IDM_STANDARD_LIST));
    EXPECT_EQ(form->view().grid.TextMatrix(0, 1), L"DisplayName");
}

TEST_F(MainMenuTest, OtherBuiltInViewsOpenTheirViews) {
    Command(IDM_OTHER_VIEW_FIRST + 1); // "PCI hardware"
    RunPending();
    ViewForm* form = main->ActiveView();
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->view().definition, BuiltInView(10, false));
    EXPECT_FALSE(form->view().markOption);
}

// "ActiveX Controls" of the menu, its shortcut Ctrl+R, the toolbar's "View 'Controls'" and the command
// "openocx" open the class list, filled, of the local computer or the one the command names.
TEST_F(MainMenuTest, TheRegisteredControlsOpenFromEveryEntry) {
    const std::wstring control = L"SOFTWARE\\Classes\\CLSID\\{AA}";
    for (const std::wstring computer : {L"", L"PC7"}) {
        memory.SetString(computer, HKLM, control, L"", L"Control of " + computer);
        memory.CreateKey(computer, HKLM, control + L"\\Control");
        memory.SetString(computer, HKLM, control + L"\\InProcServer32", L"", L"C:\\CONTROL.OCX");
    }
    const struct {
        const char* entry;
        std::function<void()> open;
        std::wstring computer;
    } entries[] = {
        {"menu", [&] { Command(IDM_OTHER_VIEW_FIRST + 2); }, L""},
        {"Ctrl+R",
         [&] {
             BYTE keys[256]{};
             GetKeyboardState(keys);
             keys[VK_CONTROL] = 0x80;
             SetKeyboardState(keys);
             MSG key{main->hwnd(), WM_KEYDOWN, 'R', 0};
             EXPECT_TRUE(main->TranslateFrameMessage(key));
             keys[VK_CONTROL] = 0;
             SetKeyboardState(keys);
         },
         L""},
        {"toolbar", [&] { Command(kToolbarCommandBase + 20); }, L""},
        {"openocx", [&] { EXPECT_TRUE(main->LinkExecute(L"[OpenOCX]")); }, L""},
        {"openocx PC7", [&] { EXPECT_TRUE(main->LinkExecute(L"[OpenOCX PC7]")); }, L"PC7"},
    };
    for (const auto& entry : entries) {
        SCOPED_TRACE(entry.entry);
        ViewForm* before = main->ActiveView();
        entry.open();
        RunPending();
        ViewForm* form = main->ActiveView();
        ASSERT_NE(form, nullptr);
        ASSERT_NE(form, before);
        EXPECT_EQ(form->view().viewKind, ViewKind::ClassList);
        EXPECT_EQ(form->CaptionText(),
                  L"Registered controls" + (entry.computer.empty() ? L"" : L" on " + entry.computer));
        EXPECT_EQ(form->view().grid.TextMatrix(1, 1), L"Control of " + entry.computer);
        EXPECT_EQ(form->view().grid.TextMatrix(1, 2), L"C:\\Control.ocx");
    }
}

TEST_F(MainMenuTest, CancelIsThereOnlyWhileAViewFills) {
    main->StartDone();
    for (int i = 0; i < 30000; ++i)
        memory.SetString(L"", HKLM, L"Software\\Many\\K" + std::to_wstring(10000 + i), L"Name", L"item");
    ViewForm* form = main->NewView(L"", L"Software\\Many,01,01,Many,|9,<key>|9,Name", L"");
    ASSERT_NE(form, nullptr);
    static std::function<bool()> onTimer;
    bool shownWhileFilling = false;
    bool busyWhileFilling = false;
    onTimer = [&] {
        if (!form->IsFilling() || form->view().rowCount == 0)
            return false;
        shownWhileFilling = Present(main->menu(), IDM_CANCEL);
        busyWhileFilling = main->BusyForCommands(); // other programs' commands wait for the fill
        Command(IDM_CANCEL);
        return true;
    };
    // The timer's procedure runs inside the fill, which lets messages run.
    SetTimer(nullptr, 0, 20, [](HWND, UINT, UINT_PTR id, DWORD) {
        if (!onTimer || onTimer()) {
            KillTimer(nullptr, id);
            onTimer = nullptr;
        }
    });
    const auto until = std::chrono::steady_clock::now() + 10s;
    while (std::chrono::steady_clock::now() < until && (onTimer || form->view().state() != ViewState::Idle))
        RunFor(10ms);
    RunPending();
    EXPECT_TRUE(shownWhileFilling);
    EXPECT_TRUE(busyWhileFilling);
    EXPECT_LT(form->view().rowCount, 30000);
    EXPECT_FALSE(Present(main->menu(), IDM_CANCEL));
    EXPECT_FALSE(main->BusyForCommands());
}

TEST_F(MainMenuTest, FilesOpenAsIniTablesAndFoldersAsFolderViews) {
    wchar_t temp[MAX_PATH]{};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + L"vantrel open test\\";
    const std::wstring file = folder + L"my layout.ini";
    CreateDirectoryW(folder.c_str(), nullptr);
    CloseHandle(CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    ini.files[file] = {{L"Fonts", {L"Arial=arial.ttf"}}};

    EXPECT_TRUE(main->LinkExecute(L"[OpenIni \"" + file + L"\"]"));
    ViewForm* table = main->ActiveView();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->view().viewKind, ViewKind::IniTable);
    EXPECT_EQ(table->view().grid.TextMatrix(1, 0), L"Fonts"); // filled before the command returned
    EXPECT_EQ(table->CaptionText(), L"Table view of " + file);

    EXPECT_TRUE(main->LinkExecute(L"[open \"" + file + L"\"]"));
    EXPECT_EQ(main->ActiveView()->view().folderPath, file);

    ViewForm* contents = main->OpeniniFile(folder, true);
    ASSERT_NE(contents, nullptr);
    EXPECT_EQ(contents->view().viewKind, ViewKind::Folder);
    EXPECT_EQ(contents->view().definition, BuiltInView(98, false)); // no .msi in it
    EXPECT_EQ(main->OpeniniFile(folder, false), nullptr);
    EXPECT_EQ(main->OpeniniFile(folder + L"none.ini", true), nullptr);

    const std::wstring package = folder + L"setup.msi"; // a folder with an installer package in it
    CloseHandle(CreateFileW(package.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    SendMessageW(main->hwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(DroppedFiles({folder})), 0);
    ViewForm* installs = main->ActiveView();
    ASSERT_NE(installs, nullptr);
    EXPECT_EQ(installs->view().viewKind, ViewKind::Folder);
    EXPECT_EQ(installs->view().definition, BuiltInView(99, false));
    EXPECT_EQ(installs->view().folderPath, folder);

    RunPending();
    DeleteFileW(package.c_str());
    DeleteFileW(file.c_str());
    RemoveDirectoryW(folder.c_str());
}

TEST_F(MainMenuTest, CommandStringsDriveTheWindows) {
    EXPECT_TRUE(main->BusyForCommands()); // until the start's own command line has run
    main->StartDone();
    EXPECT_FALSE(main->BusyForCommands());
    EXPECT_TRUE(main->LinkExecute(L"[OpenSW][Detail 1]"));
    RunPending();
    ViewForm* form = main->ActiveView();
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(main->listMode(), 1);
    EXPECT_TRUE(Checked(main->menu(), IDM_DETAILED_LIST));
    EXPECT_EQ(form->view().definition, kDefaultDefinition);
    EXPECT_TRUE(main->LinkExecute(L"[Close]"));
    RunPending();
    EXPECT_EQ(main->ActiveView(), nullptr);
    EXPECT_FALSE(
        main->LinkExecute(L"[open \"C:\\nowhere.kvf\"][Detail 0]")); // the failed open is reported...
    EXPECT_EQ(main->listMode(), 0);                                  // ...and the rest still runs
    EXPECT_TRUE(main->LinkExecute(L"[NoSuchCommand x]"));
}

TEST_F(MainMenuTest, NewViewDialogOpensTheChosenViewOnTheLocalRegistry) {
    prompter.newViewChoice = NewViewChoice{2, 8};
    Command(IDM_NEW_VIEW);
    RunPending();
    EXPECT_EQ(prompter.newViewDialogs, 1);
    ViewForm* form = main->ActiveView();
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->view().definition, BuiltInView(8, false));
    EXPECT_EQ(form->view().computerName, L"");
    prompter.newViewChoice.reset(); // cancelled: nothing opens
    Command(IDM_CLOSE);
    RunPending();
    Command(IDM_NEW_VIEW);
    RunPending();
    EXPECT_EQ(main->ActiveView(), nullptr);
}

// The real dialog: its list holds the titled catalogue entries with their numbers, the third selected.
TEST(NewViewDialog, ListsTheTitledBuiltInViewsAndOpensTheSelectedOneLocally) {
    test::ScriptedPrompter prompter;
    static std::vector<std::wstring> titles;
    static int selected = -1;
    titles.clear();
    SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR id, DWORD) {
        const HWND dialog = FindWindowW(L"#32770", L"New view");
        if (dialog == nullptr)
            return;
        KillTimer(nullptr, id);
        const HWND list = GetDlgItem(dialog, IDC_NEW_BUILT_IN_LIST);
        for (int i = 0; i < SendMessageW(list, CB_GETCOUNT, 0, 0); ++i) {
            wchar_t text[128]{};
            SendMessageW(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
            titles.push_back(std::to_wstring(SendMessageW(list, CB_GETITEMDATA, i, 0)) + L" " + text);
        }
        selected = static_cast<int>(SendMessageW(list, CB_GETCURSEL, 0, 0));
        SendMessageW(dialog, WM_COMMAND, IDOK, 0); // Enter while the list has the focus
    });
    const auto choice = ShowNewViewDialog(nullptr, prompter);
    ASSERT_EQ(titles.size(), 11u);
    EXPECT_EQ(titles[0], L"1 Installed software (uninstall key)");
    EXPECT_EQ(titles[2], L"7 Component Categories");
    EXPECT_EQ(titles[10], L"15 MSI installations (All users)");
    EXPECT_EQ(selected, 2);
    EXPECT_EQ(choice, (NewViewChoice{2, 7}));
}

// Each view shows its own cell commands as soon as it is activated or filled, without a click in its grid:
// an ini table's cells are no registry values but it has a file, a registry view's cells are values.
TEST_F(MainMenuTest, EachActivatedViewShowsItsOwnCellCommands) {
    wchar_t temp[MAX_PATH]{};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring file = std::wstring(temp) + L"vantrel activation.ini";
    CloseHandle(CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    ini.files[file] = {{L"Colors", {L"Window=255 255 255"}}};

    using States = std::array<bool, 3>; // "P&roperties", "&Edit value", "&Delete value"
    const auto states = [&] {
        const HMENU bar = main->menu();
        return States{Enabled(bar, IDM_PROPERTIES), Enabled(bar, IDM_EDIT_VALUE),
                      Enabled(bar, IDM_DELETE_VALUE)};
    };
    constexpr States kServicesHeader{false, true, false}; // a filled view's current cell is the corner
    constexpr States kServices{false, true, true};        // a service's name: a registry value
    constexpr States kIniTable{true, false, false};

    ViewForm* services = main->NewView(L"", L"8", L"");
    ASSERT_NE(services, nullptr);
    services->FillNow();
    EXPECT_TRUE(RunUntil([&] { return states() == kServicesHeader; }));
    services->view().grid.SetRow(1); // moved while another view is active: no click reports it
    services->view().grid.SetCol(1);
    ViewForm* table = main->OpeniniFile(file, false);
    ASSERT_NE(table, nullptr);
    table->FillNow();
    EXPECT_TRUE(RunUntil([&] { return states() == kIniTable; }));

    for (int round = 0; round < 2; ++round) {
        SendMessageW(main->mdiClient(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(services->hwnd()), 0);
        EXPECT_TRUE(RunUntil([&] { return states() == kServices; })) << "round " << round;
        SendMessageW(main->mdiClient(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(table->hwnd()), 0);
        EXPECT_TRUE(RunUntil([&] { return states() == kIniTable; })) << "round " << round;
    }
    DeleteFileW(file.c_str());
}

// Every command of the table once: no menu entry, toolbar picture or command word twice, every button of
// the toolbar's text table and every word of the command language carried out.
TEST_F(MainMenuTest, TheCommandTableNamesEachCommandOnce) {
    std::set<int> menuIds, pictures;
    std::set<std::wstring_view> words;
    for (const MainCommand& command : MainWindow::Commands()) {
        EXPECT_NE(command.run, nullptr);
        EXPECT_TRUE(command.menuId == 0 || menuIds.insert(command.menuId).second) << command.menuId;
        EXPECT_TRUE(command.picture == 0 || pictures.insert(command.picture).second) << command.picture;
        EXPECT_TRUE(command.word.empty() || words.insert(command.word).second);
    }
    for (const ToolbarEntry& entry : main->toolbar().entries())
        EXPECT_TRUE(entry.number == 0 || pictures.contains(entry.number)) << entry.number;
    const std::function<void(HMENU)> everyEntryCarriedOut = [&](HMENU menu) {
        for (int i = 0; i < GetMenuItemCount(menu); ++i) {
            const HMENU sub = GetSubMenu(menu, i);
            const UINT id = GetMenuItemID(menu, i);
            if (sub != nullptr)
                everyEntryCarriedOut(sub);
            const bool command = sub == nullptr && id != 0 && id != static_cast<UINT>(-1);
            EXPECT_TRUE(!command || menuIds.contains(static_cast<int>(id))) << ItemText(menu, i);
        }
    };
    everyEntryCarriedOut(main->menu());
    EXPECT_EQ(words, (std::set<std::wstring_view>{L"open", L"opensw", L"openocx", L"openini", L"connect",
                                                  L"outexcel", L"outfile", L"detail", L"setmatch", L"sort",
                                                  L"transpose", L"close", L"exit"}));
}

} // namespace
} // namespace vantrel
