// The registry value behind a cell, edited from the view: the question when the cell does not show the value
// as it is, the editor, the write and what the user is told when it fails.
#include "shell/main_menu_ids.h"
#include "shell/main_window_fixture.h"

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
    ViewForm* form = nullptr;
};

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
