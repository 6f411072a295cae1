// The registry value behind a cell, edited from the view: the question when the cell does not show the value
// as it is, the editor, the write and what the user is told when it fails.
#include "shell/main_menu_ids.h"
#include "shell/main_window_fixture.h"
#include "views/catalogue.h"

namespace vantrel {
namespace {

constexpr auto HKLM = RootKey::LocalMachine;
const std::wstring kKey = L"Software\\Apps\\Acme";
const std::wstring kAppsView =
    L"Software\\Apps,0123,0123,Apps,|100,<key>,Key|120,Version,Version|120,Title!*,Title|80,Blob,Blob";
const std::wstring kWarningEnd =
    L"\nIt was either not read directly from this registry location or the registry value has changed "
    L"recently.\n\nDo you still want to edit the referred registry value?";

class CellActionsTest : public test::MainWindowFixture {
protected:
    CellActionsTest() {
        memory.SetString(L"", HKLM, kKey, L"Version", L"1.0");
        memory.SetBinary(L"", HKLM, kKey, L"Blob", {1, 2});
        ShowMain();
        form = main->NewView(L"<", kAppsView, L"");
        RunPending();
    }
    void EditCell(int col) {
        form->view().grid.SetRow(1);
        form->view().grid.SetCol(col);
        Command(IDM_EDIT_VALUE);
    }
    // "P&roperties" on a cell that shows `text`; the active view afterwards.
    ViewForm* Properties(const std::wstring& text) {
        form->view().grid.SetRow(1);
        form->view().grid.SetCol(3);
        form->view().grid.SetTextMatrix(1, 3, text);
        return Command(IDM_PROPERTIES);
    }
    ViewForm* form = nullptr;
};

TEST_F(CellActionsTest, PropertiesOfAGuidOpenTheRelatedViewOnTheViewsComputer) {
    const std::wstring guid = L"{11111111-2222-3333-4444-555555555555}";
    memory.SetString(L"", RootKey::ClassesRoot, L"CLSID\\" + guid + L"\\InprocServer32", L"", L"x.dll");
    ViewForm* opened = Properties(guid);
    ASSERT_NE(opened, form);
    EXPECT_EQ(opened->view().dataVariable, guid);
    EXPECT_EQ(opened->view().computerName, L"");
    EXPECT_EQ(opened->view().definition, BuiltInView(4, false));

    SendMessageW(main->mdiClient(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(form->hwnd()), 0);
    EXPECT_EQ(Properties(L"{00000000-0000-0000-0000-000000000000}"), form);
    EXPECT_EQ(
        prompter.messages,
        (std::vector<std::wstring>{L"Could not find a matching:  msi,inprocsrv,localsrv,typelib,category"}));
}

TEST_F(CellActionsTest, PropertiesOfAPciDeviceOfferItsVendorsPage) {
    memory.SetString(L"", RootKey::CurrentUser, L"Software\\Ostrand\\Kivo", L"PciLookupAddress",
                     L"http://127.0.0.1:9/");
    prompter.messageAnswer = IDCANCEL;
    Properties(L"VEN_8086&DEV_27C8&SUBSYS_01DA1028");
    prompter.messageAnswer = IDOK;
    Properties(L"VEN_8086&DEV_27C8&SUBSYS_01DA1028");
    EXPECT_EQ(prompter.messages,
              (std::vector<std::wstring>(2, L"Vendor: 8086\rDevice: 27C8\rLook up on sourceforge?")));
    EXPECT_EQ(prompter.recordingLauncher.launches,
              (std::vector<std::vector<std::wstring>>{{L"open", L"http://127.0.0.1:9/iii/?i=8086", L""}}));
}

TEST_F(CellActionsTest, PropertiesOfAnArticleLookItUpWhereTheSettingSays) {
    Properties(L"SP2\\KB123456");
    memory.SetString(L"", RootKey::CurrentUser, L"Software\\Ostrand\\Kivo", L"KBSearchAddress",
                     L"http://127.0.0.1:9/kb");
    Properties(L"Q123456");
    EXPECT_EQ(prompter.articles,
              (std::vector<std::wstring>{L"KB123456 at https://support.microsoft.com/default.aspx",
                                         L"Q123456 at http://127.0.0.1:9/kb"}));
}

TEST_F(CellActionsTest, PropertiesOfAFileShowItOrSayItIsMissing) {
    files.existing = {L"c:\\program files\\app\\app.exe"};
    Properties(L"\"C:\\Program Files\\App\\app.exe\" /s");
    Properties(L"C:\\Program Files\\App\\app.exe /s");
    EXPECT_EQ(prompter.fileProperties, (std::vector<std::wstring>{L"C:\\Program Files\\App\\app.exe"}));
    EXPECT_EQ(prompter.messages, (std::vector<std::wstring>{L"File: \"C:\\Program\"\rcould not be found."}));

    // The row-number column has no properties, and neither has a transposed window.
    form->view().grid.SetCol(0);
    Command(IDM_PROPERTIES);
    ViewForm* transposed = Command(IDM_TRANSPOSE);
    ASSERT_NE(transposed, form);
    transposed->view().grid.SetRow(1);
    transposed->view().grid.SetCol(1);
    Command(IDM_PROPERTIES);
    EXPECT_EQ(prompter.fileProperties.size(), 1u);
    EXPECT_EQ(prompter.messages.size(), 1u);
}

TEST_F(CellActionsTest, ModifyWritesTheValueAndTheCell) {
    prompter.typedData = L"2.0";
    EditCell(2);
    ASSERT_EQ(prompter.valueEdits.size(), 1u);
    const RegistryValueEdit& edit = prompter.valueEdits[0];
    EXPECT_EQ(edit.keyPath, L"Software\\Apps\\Acme");
    EXPECT_EQ(edit.valueName, L"Version");
    EXPECT_EQ(edit.currentData, L"1.0");
    EXPECT_EQ(edit.newData, L"1.0");
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_EQ(form->view().grid.TextMatrix(1, 2), L"2.0");
    EXPECT_EQ(test::Utf16Text(memory.Get(L"", HKLM, kKey, L"Version")->bytes), L"2.0");
}

TEST_F(CellActionsTest, ACellThatDoesNotShowTheValueAsksFirst) {
    prompter.messageAnswer = IDCANCEL;
    EditCell(3); // Title is missing: the cell shows the key
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.messages[0], L"The referred value does not exist in the registry." + kWarningEnd);
    EXPECT_EQ(prompter.titles, (std::vector<std::wstring>{L"Edit registry data"}));
    EXPECT_TRUE(prompter.valueEdits.empty());
}

TEST_F(CellActionsTest, FailedWritesAreReported) {
    struct Case {
        int col;
        std::function<void()> meanwhile;
        std::wstring message;
    };
    const Case cases[] = {
        {2, [&] { memory.SetString(L"", HKLM, kKey, L"Version", L"1.1"); },
         L"Error 33: the value has changed since the view was filled; refresh the view."},
        {4, nullptr, L"Error 1804: "},
    };
    for (const Case& c : cases) {
        prompter.messages.clear();
        prompter.messageAnswer = IDOK;
        prompter.typedData = L"7";
        prompter.whileEditing = c.meanwhile;
        EditCell(c.col);
        ASSERT_FALSE(prompter.messages.empty());
        EXPECT_TRUE(prompter.messages.back().starts_with(c.message)) << prompter.messages.back();
        EXPECT_NE(form->view().grid.TextMatrix(1, c.col), L"7");
    }
}

} // namespace
} // namespace vantrel
