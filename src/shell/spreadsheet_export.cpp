#include "shell/spreadsheet_export.h"

#include "platform/system_message.h"
#include "platform/xlsx_file.h"
#include "shell/view_form.h"
#include "ui/message_pump.h"

#include <shellapi.h>
#include <shlobj.h>

namespace vantrel {
namespace {

std::wstring TwoDigits(int number) {
    return (number < 10 ? L"0" : L"") + std::to_wstring(number);
}

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::vector<std::wstring>> GridRows(const GridModel& grid) {
    std::vector<std::vector<std::wstring>> rows(static_cast<size_t>(std::max(grid.Rows(), 0)));
    for (int r = 0; r < grid.Rows(); ++r)
        for (int c = 0; c < grid.Cols(); ++c)
            rows[static_cast<size_t>(r)].push_back(grid.TextMatrix(r, c));
    return rows;
}

} // namespace

std::wstring NewWorkbookPath(const std::wstring& folder) {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    std::wstring stem = folder;
    if (!stem.empty() && !stem.ends_with(L'\\'))
        stem += L'\\';
    stem += L"Vantrel-" + std::to_wstring(now.wYear) + TwoDigits(now.wMonth) + TwoDigits(now.wDay) + L"-" +
            TwoDigits(now.wHour) + TwoDigits(now.wMinute) + TwoDigits(now.wSecond);
    std::wstring path = stem + L".xlsx";
    for (int n = 2; Exists(path); ++n)
        path = stem + L"-" + std::to_wstring(n) + L".xlsx";
    return path;
}

std::wstring DocumentsFolder() {
    wchar_t* known = nullptr;
    std::wstring folder;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_Documents, 0, nullptr, &known)) && known != nullptr)
        folder = known;
    CoTaskMemFree(known);
    return folder;
}

SpreadsheetExport::SpreadsheetExport(Messages& messages, std::wstring folder)
    : messages_(messages), folder_(std::move(folder)) {}

void SpreadsheetExport::Export(ViewForm& view, bool quiet) {
    MessagePump pump;
    const auto putGridOnClipboard = [&view] {
        view.SelectAll();
        (void)view.Copy2clip(); // a clipboard another program holds: Excel pastes what it finds
    };
    switch (excel_.Export(sheetCount_ + 1, putGridOnClipboard, [&pump] { (void)pump.LetMessagesRun(); })) {
    case ExcelOutcome::Exported:
        ++sheetCount_;
        return;
    case ExcelOutcome::NotStarted:
        messages_.Message(view.hwnd(), L"Excel not started", MB_OK);
        return;
    case ExcelOutcome::NoExcel:
        ExportToWorkbook(view, quiet);
        return;
    }
}

// Without Excel: the grid becomes the run's next sheet, and the whole workbook is written again. A workbook
// the program showing it holds locked gives way to a new file.
void SpreadsheetExport::ExportToWorkbook(ViewForm& view, bool quiet) {
    view.SelectAll();
    (void)view.Copy2clip(); // the grid's text on the clipboard, as with Excel
    ++sheetCount_;
    sheets_.push_back({L"Vantrel" + std::to_wstring(sheetCount_), GridRows(view.view().grid)});
    const bool firstFile = workbookPath_.empty();
    if (firstFile)
        workbookPath_ = NewWorkbookPath(folder_);
    WriteResult written = WriteWorkbookFile();
    if (!written && !firstFile) {
        workbookPath_ = NewWorkbookPath(folder_);
        written = WriteWorkbookFile();
    }
    if (!written) {
        messages_.Message(
            view.hwnd(),
            L"Could not save " + workbookPath_ + L": " + SystemMessage(written.error().systemError), MB_OK);
        workbookPath_.clear();
        return;
    }
    const auto opened = reinterpret_cast<INT_PTR>(
        ShellExecuteW(view.hwnd(), L"open", workbookPath_.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    if (opened <= 32 && !quiet)
        messages_.Message(
            view.hwnd(),
            L"No program here opens workbooks. The view is saved in the workbook\r\n" + workbookPath_, MB_OK);
}

WriteResult SpreadsheetExport::WriteWorkbookFile() {
    return WriteWorkbook(workbookPath_, sheets_);
}

} // namespace vantrel
