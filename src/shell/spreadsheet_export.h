#pragma once
// "Open in E&xcel": each export a new sheet "Vantrel1", "Vantrel2", … of one run of the program. Excel takes
// them through automation where it is there; elsewhere they are the sheets of one .xlsx workbook per run,
// written whole with each export and opened with whatever program the user has for workbooks.
#include "engine/workbook.h"
#include "platform/excel_automation.h"
#include "ui/messages.h"
#include "views/ini_files.h"

#include <string>
#include <vector>

namespace vantrel {

class ViewForm;

class SpreadsheetExport {
public:
    // The workbook goes to `folder` (the setting "ExportFolder", else the user's documents folder).
    SpreadsheetExport(Messages& messages, std::wstring folder);

    // Exports the whole grid of `view`, which is left selected with its text on the clipboard. `quiet`
    // while a command string runs: no box that only informs may block the next command.
    void Export(ViewForm& view, bool quiet);

    const std::wstring& workbookPath() const { return workbookPath_; }
    int sheetCount() const { return sheetCount_; }

private:
    void ExportToWorkbook(ViewForm& view, bool quiet);
    [[nodiscard]] WriteResult WriteWorkbookFile();

    Messages& messages_;
    std::wstring folder_;
    ExcelAutomation excel_;
    int sheetCount_ = 0; // sheets made in this run, by either way
    std::vector<WorkbookSheet> sheets_;
    std::wstring workbookPath_; // empty until the first sheet goes to a workbook
};

// "Vantrel-<yyyymmdd-hhmmss>.xlsx", with "-2", "-3" … before the extension while that name is taken.
std::wstring NewWorkbookPath(const std::wstring& folder);

// The folder exports go to when the setting names none: the user's documents.
std::wstring DocumentsFolder();

} // namespace vantrel
