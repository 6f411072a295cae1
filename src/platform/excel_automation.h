#pragma once
// The export to Excel: the grid pasted into a new worksheet of a running (or newly started) Excel, driven by
// late binding so that no Excel type library or version is needed at build time.
//
// COM belongs to the caller: the thread that exports has joined a single-threaded apartment
// (CoInitializeEx with COINIT_APARTMENTTHREADED, the user-interface thread) before the first export and
// leaves it only after the ExcelAutomation is gone, since it holds Excel's application object.
#include "platform/com_ptr.h"

#include <oaidl.h>

#include <functional>

namespace vantrel {

enum class ExcelOutcome { Exported, NotStarted, NoExcel };

class ExcelAutomation {
public:
    // One export as a new sheet named "Vantrel" + sheetNumber. `putGridOnClipboard` selects the whole grid
    // and puts its text on the clipboard; it runs after the sheet is made and named and before the paste.
    // `letMessagesRun` lets waiting window messages through while Excel comes up.
    // NoExcel: no "Excel.Application" can be had (no running one, none can be created): the caller falls back
    // to its own workbook. NotStarted: Excel refused Visible or the sheet's Name/Interactive: the caller
    // shows "Excel not started"; nothing was pasted. Other automation failures are ignored: the export does
    // as much as Excel accepts.
    [[nodiscard]] ExcelOutcome Export(int sheetNumber, const std::function<void()>& putGridOnClipboard,
                                      const std::function<void()>& letMessagesRun);

private:
    bool StillAnswers() const;
    bool Acquire();

    // Kept between exports for as long as it answers with an active workbook.
    ComPtr<IDispatch> application_;
};

} // namespace vantrel
