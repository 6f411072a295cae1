// The custom view editor driven as a user drives it: keys and clicks on its grid, its in-place editors and
// its buttons, over the in-memory registry.
#include "dialogs/custom_view/custom_view_editor.h"
#include "dialogs/custom_view/custom_view_editor_ids.h"
#include "platform/clipboard.h"
#include "support/memory_registry.h"
#include "ui/window_text.h"
#include "views/catalogue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace vantrel::test {
namespace {

constexpr int kTwips = kTwipsPerPixelAt96Dpi;

class RecordedPrograms final : public Programs {
public:
    bool Start(std::wstring_view commandLine) override {
        started.emplace_back(commandLine);
        return true;
    }
    std::vector<std::wstring> started;
};

class CustomViewEditorTest : public ::testing::Test {
protected:
    ~CustomViewEditorTest() override { editor.RunPendingMessages(); }

    void Open(std::wstring_view definition, std::wstring_view caption = L"Services view") {
        editor.model().Load(ParseDefinition(definition, kTwips), caption, kTwips);
        ASSERT_TRUE(editor.Open(nullptr));
        editor.RunPendingMessages();
    }
    GridModel& grid() { return editor.model().grid; }
    HWND gridWindow() { return editor.grid()->hwnd(); }
    std::wstring Cell(int row, int col) { return grid().TextMatrix(row, col); }
    void Select(int row, int col) {
        grid().SetRow(row);
        grid().SetCol(col);
    }
    void Key(HWND window, int key) {
        PostMessageW(window, WM_KEYDOWN, static_cast<WPARAM>(key), 0);
        editor.RunPendingMessages();
    }
    void Char(HWND window, wchar_t character) {
        PostMessageW(window, WM_CHAR, character, 0);
        editor.RunPendingMessages();
    }
    void Click(int id) {
        SendMessageW(editor.control(id), BM_CLICK, 0, 0);
        editor.RunPendingMessages();
    }
    HWND EditorShown() {
        const HWND current = editor.currentEditor();
        return current != nullptr && IsWindowVisible(current) ? current : nullptr;
    }
    ViewDefinition Accepted() {
        Click(IDOK);
        EXPECT_EQ(editor.editResult(), 1);
        EXPECT_FALSE(editor.IsShown());
        ViewDefinition view;
        editor.model().ReadBack(view, kTwips);
        return view;
    }

    MemoryRegistry memory;
    Registry registry{memory};
    RecordedPrograms programs;
    CustomViewEditor editor{registry, programs, kTwips};
};

constexpr std::wstring_view kSixColumns = L"Software\\Acme,0125,012345,Acme,|80,<key>,Key|100,Name,Name|60,"
                                          L"Size,Size|70,Date,Date|90,Path,Path,*>|50,Kind,Kind";

TEST_F(CustomViewEditorTest, ShowsTheViewInItsFieldsAndGrid) {
    Open(kSixColumns);
    EXPECT_EQ(WindowTextOf(editor.hwnd()), L"Editing: Services view");
    EXPECT_EQ(WindowTextOf(editor.control(IDC_CV_ORDER)), L"0125");
    EXPECT_EQ(WindowTextOf(editor.control(IDC_CV_ORDER_D)), L"012345");
    EXPECT_EQ(WindowTextOf(editor.control(IDC_CV_BASE_KEY)), L"Software\\Acme");
    EXPECT_TRUE(IsWindowVisible(editor.control(IDC_CV_FRAME_KEY)));
    EXPECT_FALSE(IsWindowVisible(editor.control(IDC_CV_FRAME_PATH)));
    EXPECT_EQ(IsDlgButtonChecked(editor.hwnd(), IDC_CV_SAME_ORDER), BST_CHECKED);
    EXPECT_EQ(Cell(0, 2), L"Data");
    EXPECT_EQ(Cell(6, 0), L"  5");
    EXPECT_EQ(Cell(5, 4), L"*>");
    EXPECT_EQ(Cell(2, 1), L"100");
    EXPECT_EQ(SendMessageW(editor.control(IDC_CV_STANDARD_VIEWS), CB_GETCOUNT, 0, 0),
              static_cast<LRESULT>(editor.model().standardViews.size()));
    // The grid shows its columns side by side, the Data column filling what is left.
    RECT inner{};
    GetClientRect(gridWindow(), &inner);
    int total = 0;
    for (int c = 0; c < kEditorCols; ++c)
        total += grid().ColWidth(c);
    EXPECT_NEAR(total, inner.right * kTwips - 105, 2 * kTwips);

    const ViewDefinition view = Accepted();
    EXPECT_EQ(view.head.base, L"Software\\Acme");
    EXPECT_EQ(view.column(5).data, L"Kind");
    EXPECT_EQ(view.column(4).widthTwips, 90 * kTwips);
}

TEST_F(CustomViewEditorTest, FifteenColumnsLoadThirteen) {
    std::wstring definition = L"Software\\Acme,01,01,T,";
    for (int i = 0; i < 15; ++i)
        definition += L"|20,V" + std::to_wstring(i) + L",H";
    Open(definition);
    EXPECT_EQ(Cell(13, 2), L"V12");
    const ViewDefinition view = Accepted();
    EXPECT_EQ(view.column(12).data, L"V12");
    EXPECT_EQ(view.column(13).data, L"");
}

TEST_F(CustomViewEditorTest, TypingOpensTheEditorAndEnterCommits) {
    Open(kSixColumns);
    Select(3, kHeaderCol);
    Char(gridWindow(), L'Q');
    const HWND text = EditorShown();
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(GetDlgCtrlID(text), IDC_CV_EDIT_TEXT);
    EXPECT_EQ(WindowTextOf(text), L"Q");
    Key(text, VK_RETURN);
    EXPECT_EQ(EditorShown(), nullptr);
    EXPECT_EQ(Cell(3, kHeaderCol), L"Q");
    EXPECT_EQ(GetFocus(), gridWindow());

    // F2 opens the Data editor on the cell's own text; a new Data in an empty row gets a width and a header.
    Select(7, kDataCol);
    Key(gridWindow(), VK_F2);
    const HWND data = EditorShown();
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(GetDlgCtrlID(data), IDC_CV_EDIT_DATA);
    SetWindowTextW(data, L"Software\\x\\DisplayName");
    Key(GetFocus(), VK_RETURN);
    EXPECT_EQ(Cell(7, kDataCol), L"Software\\x\\DisplayName");
    EXPECT_EQ(Cell(7, kWidthCol), L"50");
    EXPECT_EQ(Cell(7, kHeaderCol), L"DisplayName");
}

TEST_F(CustomViewEditorTest, TheConditionEditorStartsFromTheCellNotFromItsLastText) {
    Open(kSixColumns);
    Select(5, kConditionCol);
    Key(gridWindow(), VK_F2);
    ASSERT_NE(EditorShown(), nullptr);
    EXPECT_EQ(WindowTextOf(EditorShown()), L"*>");
    Key(GetFocus(), VK_RETURN);
    Select(2, kConditionCol); // an empty condition stays empty when the user only looks
    Key(gridWindow(), VK_F2);
    EXPECT_EQ(WindowTextOf(EditorShown()), L"");
    SetFocus(gridWindow()); // leaving the editor commits
    editor.RunPendingMessages();
    EXPECT_EQ(EditorShown(), nullptr);
    EXPECT_EQ(Cell(2, kConditionCol), L"");
    EXPECT_EQ(Cell(5, kConditionCol), L"*>");
}

TEST_F(CustomViewEditorTest, F4OnDataOffersTheValuesFoundUnderTheBase) {
    for (int i = 0; i < 5; ++i)
        memory.SetString(L"", RootKey::LocalMachine, L"Software\\Acme\\App" + std::to_wstring(i),
                         L"DisplayName", L"x");
    Open(kSixColumns);
    Select(3, kDataCol);
    Key(gridWindow(), VK_F4);
    const HWND data = EditorShown();
    ASSERT_NE(data, nullptr);
    EXPECT_NE(SendMessageW(data, CB_GETDROPPEDSTATE, 0, 0), 0);
    EXPECT_NE(SendMessageW(data, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                           reinterpret_cast<LPARAM>(L"DisplayName")),
              CB_ERR);
    EXPECT_EQ(WindowTextOf(data), L"Size"); // the cell's text stays until the user picks an entry
    SendMessageW(data, CB_SHOWDROPDOWN, FALSE, 0);
    Key(GetFocus(), VK_ESCAPE);
    EXPECT_EQ(Cell(3, kDataCol), L"Size");
}

// Four row keys under the base, each with a value of that name: the name is offered as a data expression.
void AddRows(MemoryRegistry& memory, std::wstring_view base, std::wstring_view name) {
    for (int i = 0; i < 4; ++i)
        memory.SetString(L"", RootKey::LocalMachine, std::wstring(base) + L"\\Row" + std::to_wstring(i),
                         std::wstring(name), L"x");
}

bool Holds(const std::vector<std::wstring>& entries, std::wstring_view entry) {
    return std::ranges::find(entries, entry) != entries.end();
}

TEST_F(CustomViewEditorTest, TheDataListHoldsTheNamesUnderTheBaseKeyBeingEdited) {
    AddRows(memory, L"Software\\Acme", L"DisplayName");
    AddRows(memory, L"Software\\Other", L"Version");
    // F4 on a Data cell: the entries of the dropped list, which then closes without a change.
    const auto dataList = [&] {
        Select(3, kDataCol);
        Key(gridWindow(), VK_F4);
        std::vector<std::wstring> entries;
        const HWND data = EditorShown();
        if (data == nullptr) {
            ADD_FAILURE() << "F4 opened no Data editor";
            return entries;
        }
        for (LRESULT i = 0; i < SendMessageW(data, CB_GETCOUNT, 0, 0); ++i) {
            wchar_t text[256]{};
            SendMessageW(data, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
            entries.emplace_back(text);
        }
        SendMessageW(data, CB_SHOWDROPDOWN, FALSE, 0);
        Key(GetFocus(), VK_ESCAPE);
        return entries;
    };

    Open(kSixColumns);
    EXPECT_TRUE(Holds(dataList(), L"DisplayName"));

    // Another base key typed over it in the same edit.
    const HWND baseKey = GetWindow(editor.control(IDC_CV_BASE_KEY), GW_CHILD);
    SendMessageW(baseKey, EM_SETSEL, 0, -1);
    for (const wchar_t c : std::wstring_view(L"Software\\Other"))
        Char(baseKey, c);
    ASSERT_EQ(editor.model().baseKey, L"Software\\Other");
    std::vector<std::wstring> entries = dataList();
    EXPECT_TRUE(Holds(entries, L"Version"));
    EXPECT_FALSE(Holds(entries, L"DisplayName")) << "a name under the key typed over";
    Accepted(); // the editor stays for the next view

    Open(kSixColumns);
    entries = dataList();
    EXPECT_TRUE(Holds(entries, L"DisplayName"));
    EXPECT_FALSE(Holds(entries, L"Version")) << "a name under the base of the view edited before";
}

TEST_F(CustomViewEditorTest, NoEditorOnTheRowKeyDataOrBelowAnEmptyRow) {
    Open(kSixColumns);
    Select(1, kDataCol);
    Key(gridWindow(), VK_F2);
    EXPECT_EQ(EditorShown(), nullptr);
    const auto doubleClick = [&](int row, int col) {
        const LPARAM at =
            MAKELPARAM(editor.grid()->ColPos(col) / kTwips + 4, editor.grid()->RowPos(row) / kTwips + 4);
        SendMessageW(gridWindow(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(gridWindow(), WM_LBUTTONUP, 0, at);
        SendMessageW(gridWindow(), WM_LBUTTONDBLCLK, MK_LBUTTON, at);
        SendMessageW(gridWindow(), WM_LBUTTONUP, 0, at);
        editor.RunPendingMessages();
    };
    doubleClick(9, kHeaderCol); // row 8 has no Data
    EXPECT_EQ(grid().Row(), 9);
    EXPECT_EQ(EditorShown(), nullptr);
    doubleClick(7, kHeaderCol); // the last filled row and the one below it may be edited
    EXPECT_NE(EditorShown(), nullptr);
}

TEST_F(CustomViewEditorTest, EscapeEndsTheEditThenCloses) {
    Open(kSixColumns);
    Select(2, kHeaderCol);
    Key(gridWindow(), VK_F2);
    const HWND text = EditorShown();
    ASSERT_NE(text, nullptr);
    SetWindowTextW(text, L"changed");
    Key(text, VK_ESCAPE);
    EXPECT_TRUE(editor.IsShown());
    EXPECT_EQ(EditorShown(), nullptr);
    EXPECT_EQ(Cell(2, kHeaderCol), L"Name");
    EXPECT_EQ(editor.model().editCell, 0);

    Key(gridWindow(), VK_ESCAPE);
    EXPECT_TRUE(editor.IsClosed());
    EXPECT_EQ(editor.editResult(), 0);
}

TEST_F(CustomViewEditorTest, ButtonsMoveEraseAndListColumns) {
    Open(kSixColumns);
    Select(3, 1); // column 2 down: the orders follow it
    Click(IDC_CV_DOWN);
    EXPECT_EQ(Cell(4, kDataCol), L"Size");
    EXPECT_EQ(WindowTextOf(editor.control(IDC_CV_ORDER)), L"0135");
    EXPECT_EQ(grid().Row(), 4);

    Select(4, 1); // erase it again: the rows below move up and its character goes
    Click(IDC_CV_ERASE);
    EXPECT_EQ(Cell(4, kDataCol), L"Path");
    EXPECT_EQ(Cell(6, kDataCol), L"");
    EXPECT_EQ(WindowTextOf(editor.control(IDC_CV_ORDER)), L"014");

    Select(1, 1); // the row key stays where it is
    Click(IDC_CV_DOWN);
    EXPECT_EQ(Cell(1, kDataCol), L"<key>");

    SetWindowTextW(editor.control(IDC_CV_ORDER), L"");
    Click(IDC_CV_ALL);
    EXPECT_EQ(WindowTextOf(editor.control(IDC_CV_ORDER_D)), L"01234");
    EXPECT_EQ(WindowTextOf(editor.control(IDC_CV_ORDER)), L"01234");
    EXPECT_EQ(GetFocus(), editor.control(IDC_CV_ORDER_D));
}

TEST_F(CustomViewEditorTest, DeleteCopyAndPasteWorkOnTheSelection) {
    Open(kSixColumns);
    Select(2, kDataCol);
    grid().SetColSel(kHeaderCol);
    Char(gridWindow(), 3); // Ctrl+C
    EXPECT_EQ(ClipboardText(nullptr), L"Name\tName");

    Select(3, kHeaderCol);
    grid().SetColSel(kConditionCol);
    Char(gridWindow(), 22); // Ctrl+V fills the selected block
    EXPECT_EQ(Cell(3, kHeaderCol), L"Name");
    EXPECT_EQ(Cell(3, kConditionCol), L"Name");
    EXPECT_EQ(Cell(3, kDataCol), L"Size");

    Select(3, kConditionCol);
    Key(gridWindow(), VK_DELETE);
    EXPECT_EQ(Cell(3, kConditionCol), L"");
    EXPECT_EQ(EditorShown(), nullptr);
}

std::wstring MenuCaptions(HMENU menu) {
    std::wstring captions;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        wchar_t text[64]{};
        GetMenuStringW(menu, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
        captions += std::wstring(text) +
                    (GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_GRAYED ? L"(off)|" : L"|");
    }
    DestroyMenu(menu);
    return captions;
}

TEST(CustomViewEditorMenus, ACellOrABlockOfCells) {
    EXPECT_EQ(MenuCaptions(CreateGridMenu(false, true)), L"&Modify|&Copy|&Paste|Move &Up|Move &Down|&Erase|");
    EXPECT_EQ(MenuCaptions(CreateGridMenu(false, false)),
              L"&Modify|&Copy|&Paste(off)|Move &Up|Move &Down|&Erase|");
    EXPECT_EQ(MenuCaptions(CreateGridMenu(true, true)), L"&Copy|");
}

TEST_F(CustomViewEditorTest, MenuCommandsActOnTheCurrentCell) {
    Open(kSixColumns);
    Select(3, kHeaderCol);
    SendMessageW(editor.hwnd(), WM_COMMAND, IDM_CV_MOVE_DOWN, 0);
    EXPECT_EQ(Cell(4, kDataCol), L"Size");
    SendMessageW(editor.hwnd(), WM_COMMAND, IDM_CV_MODIFY, 0);
    ASSERT_NE(EditorShown(), nullptr);
    EXPECT_EQ(WindowTextOf(EditorShown()), L"Size");
}

TEST_F(CustomViewEditorTest, AFolderBaseShowsItsFrameAndComesBackWhole) {
    Open(L"C:\\Windows\\*.dll(2),01,01,Files,|200,<keyfile>,File|80,Filesize,Size");
    EXPECT_TRUE(IsWindowVisible(editor.control(IDC_CV_FRAME_PATH)));
    EXPECT_FALSE(IsWindowVisible(editor.control(IDC_CV_FRAME_KEY)));
    EXPECT_EQ(WindowTextOf(editor.control(IDC_CV_FOLDER)), L"C:\\Windows\\");
    EXPECT_EQ(WindowTextOf(editor.control(IDC_CV_MASK)), L"*.dll");
    EXPECT_EQ(WindowTextOf(editor.control(IDC_CV_LEVELS)), L"2");

    Key(editor.control(IDC_CV_LEVELS), VK_UP); // one level more
    EXPECT_EQ(WindowTextOf(editor.control(IDC_CV_LEVELS)), L"3");
    SetWindowTextW(editor.control(IDC_CV_FOLDER), L"D:\\Setup");
    Click(IDC_CV_EXPLORER);
    ASSERT_EQ(programs.started.size(), 1u);
    EXPECT_EQ(programs.started[0], L"Explorer.exe /e,D:\\Setup");
    EXPECT_EQ(Accepted().head.base, L"D:\\Setup\\*.dll(3)");
}

TEST_F(CustomViewEditorTest, TheBaseKeyFrameFollowsTheBaseAndItsButtonsAct) {
    Open(L"hklm\\Software\\Acme,01,01,T,|100,<key>,Key");
    EXPECT_TRUE(IsWindowVisible(editor.control(IDC_CV_FRAME_KEY)));
    Click(IDC_CV_REGEDIT);
    EXPECT_EQ(programs.started, (std::vector<std::wstring>{L"Regedit.exe"}));
    Click(IDC_CV_FAVORITES);
    EXPECT_EQ(registry.ReadValue(L"", RootKey::CurrentUser,
                                 L"Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Regedit\\Favorites",
                                 L"Vantrel base key"),
              L"My Computer\\HKEY_LOCAL_MACHINE\\hklm\\Software\\Acme");
    Click(IDCANCEL);
    EXPECT_TRUE(editor.IsClosed());

    Open(L"\\\\server\\share\\*.msi(1),01,01,T,|100,<keyfile>,File");
    EXPECT_TRUE(IsWindowVisible(editor.control(IDC_CV_FRAME_PATH)));
}

} // namespace
} // namespace vantrel::test
