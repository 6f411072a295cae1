// The registry value editor, driven as a person would: read the boxes, type, press a button.
#include "dialogs/registry_value/registry_value_dialog.h"
#include "dialogs/registry_value/registry_value_dialog_ids.h"
#include "support/scripted_modal.h"
#include "ui/window_text.h"

#include <gtest/gtest.h>

#include <functional>
#include <utility>

namespace vantrel {
namespace {

using Script = test::DialogScript;

bool ShowAndRun(RegistryValueEdit& edit, const Script& script) {
    return test::RunScriptedModal(L"Registry value reference", script,
                                  [&] { return ShowRegistryValueEditor(nullptr, edit); });
}

std::wstring Text(HWND dialog, int id) {
    return WindowTextOf(GetDlgItem(dialog, id));
}

RegistryValueEdit Edit(std::wstring computer, std::wstring currentData) {
    return {L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Vantrel", L"Colour", std::move(computer), std::move(currentData),
            L"blue"};
}

struct ShownCase {
    RegistryValueEdit edit;
    std::wstring computerLine;
    std::wstring data;
};

TEST(RegistryValueDialog, ShowsTheValueWithMarkersSpeltOutAndTheComputerNamed) {
    const ShownCase cases[] = {
        {Edit(L"", L"red"), L"", L"red"},
        {Edit(L"PC7", L"?"), L"On computer: \\\\PC7", L"<value not present>"},
        {Edit(L"", L"\u00AC"), L"", L"<key not present>"},
    };
    for (ShownCase test : cases) {
        SCOPED_TRACE(testing::PrintToString(test.data));
        std::wstring key, name, data, computer, newData, focused;
        ShowAndRun(test.edit, [&](HWND dialog) {
            key = Text(dialog, IDC_REGVALUE_KEY);
            name = Text(dialog, IDC_REGVALUE_NAME);
            data = Text(dialog, IDC_REGVALUE_DATA);
            computer = Text(dialog, IDC_REGVALUE_COMPUTER);
            newData = Text(dialog, IDC_REGVALUE_NEW_DATA);
            EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDC_REGVALUE_NEW_DATA));
            SendMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
        });
        EXPECT_EQ(key, L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Vantrel");
        EXPECT_EQ(name, L"Colour");
        EXPECT_EQ(data, test.data);
        EXPECT_EQ(computer, test.computerLine);
        EXPECT_EQ(newData, L"blue");
    }
}

TEST(RegistryValueDialog, KeepsTheShownValueAndHandsBackTheNewDataOnlyAfterModify) {
    for (const int button : {IDOK, IDCANCEL}) {
        SCOPED_TRACE(button == IDOK ? "M&odify" : "&Close");
        RegistryValueEdit edit = Edit(L"", L"?");
        std::wstring key, data;
        const bool modified = ShowAndRun(edit, [&](HWND dialog) {
            SetDlgItemTextW(dialog, IDC_REGVALUE_KEY, L"HKEY_CURRENT_USER");
            SendDlgItemMessageW(dialog, IDC_REGVALUE_DATA, EM_REPLACESEL, TRUE, LPARAM(L"typed"));
            key = Text(dialog, IDC_REGVALUE_KEY);
            data = Text(dialog, IDC_REGVALUE_DATA);
            SendDlgItemMessageW(dialog, IDC_REGVALUE_NEW_DATA, EM_REPLACESEL, TRUE, LPARAM(L"green"));
            SendDlgItemMessageW(dialog, button, BM_CLICK, 0, 0);
        });
        EXPECT_EQ(key, L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Vantrel");
        EXPECT_EQ(data, L"<value not present>");
        EXPECT_EQ(modified, button == IDOK);
        EXPECT_EQ(edit.newData, button == IDOK ? L"green" : L"blue");
    }
}

} // namespace
} // namespace vantrel
