// "Open in E&xcel" from the main window: sheets of Excel through its automation object (here a recording
// stand-in), or of the run's own workbook where there is no Excel.
#include "engine/clipboard_text.h"
#include "platform/clipboard.h"
#include "shell/main_menu_ids.h"
#include "shell/main_window_fixture.h"
#include "support/expected_workbook.h"
#include "support/recording_excel.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace vantrel::test {
namespace {

class SpreadsheetExportTest : public MainWindowFixture {
protected:
    SpreadsheetExportTest() {
        folder = TempFolder(L"vantrel export shell");
        memory.SetString(L"", RootKey::CurrentUser, L"Software\\Ostrand\\Kivo", L"ExportFolder", folder);
        for (int i = 0; i < 3; ++i) {
            const std::wstring key = L"System\\CurrentControlSet\\Services\\Svc" + std::to_wstring(i);
            memory.SetString(L"", RootKey::LocalMachine, key, L"DisplayName",
                             L"Service " + std::to_wstring(i));
            memory.SetDword(L"", RootKey::LocalMachine, key, L"Type", 16);
        }
        ShowMain();
    }
    ~SpreadsheetExportTest() override {
        WIN32_FIND_DATAW found{};
        if (const UniqueFind find(FindFirstFileW((folder + L"\\*.xlsx").c_str(), &found)); find) {
            do
                DeleteFileW((folder + L"\\" + found.cFileName).c_str());
            while (FindNextFileW(find.get(), &found));
        }
        RemoveDirectoryW(folder.c_str());
    }
    ViewForm* Services() {
        ViewForm* form = main->NewView(L"", L"8", L"");
        if (form != nullptr)
            form->FillNow();
        return form;
    }
    // What the clipboard should hold after an export: the whole grid, every row ending in CR LF.
    static std::wstring WholeGrid(const GridModel& grid) { return grid.AllText() + L"\r\n"; }

    std::wstring folder;
};

TEST_F(SpreadsheetExportTest, TwoExportsAreTwoSheetsOfOneExcel) {
    RecordingExcel excel;
    ASSERT_TRUE(excel.RegisterClassKeys());
    ASSERT_EQ(excel.RegisterClassFactory(), S_OK);
    ViewForm* form = Services();
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(main->LinkExecute(L"[OutExcel]"));
    EXPECT_TRUE(main->LinkExecute(L"[OutExcel]"));
    EXPECT_EQ(excel.ApplicationsCreated(), 1);
    const std::vector<std::wstring> sheets = excel.SheetNames();
    EXPECT_NE(std::ranges::find(sheets, L"Vantrel1"), sheets.end());
    EXPECT_NE(std::ranges::find(sheets, L"Vantrel2"), sheets.end());
    const std::vector<std::wstring>& calls = excel.Calls();
    const auto named = std::ranges::find(calls, L"sheet.put Name Vantrel2");
    ASSERT_NE(named, calls.end());
    EXPECT_NE(std::find(named, calls.end(), L"range(1,1).PasteSpecial"), calls.end());
    // The whole grid stays selected, and its text is on the clipboard.
    const GridModel& grid = form->view().grid;
    EXPECT_EQ(grid.Row(), 0);
    EXPECT_EQ(grid.RowSel(), grid.Rows() - 1);
    EXPECT_EQ(ClipboardText(main->hwnd()), WholeGrid(grid));
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(SpreadsheetExportTest, AnExcelThatRefusesToShowItselfIsNotStarted) {
    RecordingExcel excel;
    ASSERT_TRUE(excel.RegisterClassKeys());
    ASSERT_EQ(excel.RegisterClassFactory(), S_OK);
    excel.Refuse(L"Visible");
    ASSERT_NE(Services(), nullptr);
    SendMessageW(main->hwnd(), WM_COMMAND, IDM_OPEN_IN_EXCEL, 0);
    EXPECT_EQ(prompter.messages, (std::vector<std::wstring>{L"Excel not started"}));
}

// Without Excel the run's exports are the sheets of one workbook in the export folder; a command string is
// not stopped by a box.
TEST_F(SpreadsheetExportTest, WithoutExcelTheSheetsGoToOneWorkbook) {
    ViewForm* form = Services();
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(main->LinkExecute(L"[OutExcel]"));
    const std::wstring workbook = main->spreadsheet().workbookPath();
    ASSERT_TRUE(workbook.starts_with(folder + L"\\Vantrel-")) << workbook;
    EXPECT_TRUE(workbook.ends_with(L".xlsx"));
    EXPECT_NE(GetFileAttributesW(workbook.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_EQ(ClipboardText(main->hwnd()), WholeGrid(form->view().grid));

    SendMessageW(main->hwnd(), WM_COMMAND, IDM_OPEN_IN_EXCEL, 0); // from the menu: the same workbook
    EXPECT_EQ(main->spreadsheet().workbookPath(), workbook);
    EXPECT_EQ(main->spreadsheet().sheetCount(), 2);
    // Both sheets hold the grid's texts: the read-back step shell_export_readback compares them.
    WorkbookSheet grid{L"", {}};
    const GridModel& model = form->view().grid;
    for (int r = 0; r < model.Rows(); ++r) {
        grid.rows.emplace_back();
        for (int c = 0; c < model.Cols(); ++c)
            grid.rows.back().push_back(model.TextMatrix(r, c));
    }
    std::vector<ExpectedSheet> expected;
    for (const wchar_t* name : {L"Vantrel1", L"Vantrel2"}) {
        grid.name = name;
        expected.push_back(ExpectedAsWritten(grid));
    }
    const std::wstring check = WorkbookCheckFolder(VANTREL_XLSX_CHECK_DIR);
    ASSERT_TRUE(CopyFileW(workbook.c_str(), (check + L"shell_export.xlsx").c_str(), FALSE));
    std::ofstream(std::filesystem::path(check + L"shell_export.json"), std::ios::binary)
        << ExpectedJson(expected);

    // Where no program opens workbooks, the user is told where it is.
    for (const std::wstring& message : prompter.messages)
        EXPECT_NE(message.find(workbook), std::wstring::npos) << message;
}

} // namespace
} // namespace vantrel::test
