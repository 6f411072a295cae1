#include "platform/excel_automation.h"

#include "platform/late_binding.h"

#include <string>

namespace vantrel {
namespace {

constexpr const wchar_t* kProgId = L"Excel.Application";
constexpr std::wstring_view kSheetPrefix = L"Vantrel";
// Auto-fitting stops at Z: wider grids are pasted whole but keep Excel's column widths beyond it.
constexpr std::wstring_view kFittedColumns = L"A:Z";

void Run(const std::function<void()>& step) {
    if (step)
        step();
}

// Excel's running instance registers itself in the running object table; GetActiveObject finds it there.
ComPtr<IDispatch> RunningInstance(const CLSID& clsid) {
    ComPtr<IUnknown> running;
    if (FAILED(GetActiveObject(clsid, nullptr, running.put())))
        return {};
    return running.As<IDispatch>();
}

ComPtr<IDispatch> NewInstance(const CLSID& clsid) {
    ComPtr<IDispatch> created;
    if (FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_LOCAL_SERVER | CLSCTX_INPROC_SERVER, IID_IDispatch,
                                created.put_void())))
        return {};
    return created;
}

} // namespace

// An application whose user closed it, or closed every workbook, fails here; a new one is then looked for.
bool ExcelAutomation::StillAnswers() const {
    if (!application_)
        return false;
    const auto workbook = GetObjectProperty(*application_, L"ActiveWorkbook");
    if (!workbook)
        return false;
    const auto sheets = GetObjectProperty(**workbook, L"Worksheets");
    return sheets && GetNumberProperty(**sheets, L"Count").has_value();
}

bool ExcelAutomation::Acquire() {
    application_.reset();
    CLSID clsid{};
    if (FAILED(CLSIDFromProgID(kProgId, &clsid)))
        return false;
    application_ = RunningInstance(clsid);
    if (!application_)
        application_ = NewInstance(clsid);
    return static_cast<bool>(application_);
}

ExcelOutcome ExcelAutomation::Export(int sheetNumber, const std::function<void()>& putGridOnClipboard,
                                     const std::function<void()>& letMessagesRun) {
    if (!StillAnswers() && !Acquire())
        return ExcelOutcome::NoExcel;
    // The object stays ours for this export even if a message handler ends the program's hold on it.
    const ComPtr<IDispatch> application = application_;
    IDispatch& excel = *application;

    if (FAILED(PutProperty(excel, L"Visible", true)))
        return ExcelOutcome::NotStarted;
    Run(letMessagesRun);
    // Once more after the messages ran: an Excel that is still starting may not have taken the first one.
    (void)PutProperty(excel, L"Visible", true);
    Run(letMessagesRun);

    if (const auto workbooks = GetObjectProperty(excel, L"Workbooks")) {
        const auto count = GetNumberProperty(**workbooks, L"Count");
        if (count && *count == 0)
            (void)CallMethod(**workbooks, L"Add");
    }

    ComPtr<IDispatch> sheet;
    if (const auto workbook = GetObjectProperty(excel, L"ActiveWorkbook")) {
        if (const auto sheets = GetObjectProperty(**workbook, L"Worksheets")) {
            if (auto added = InvokeForObject(**sheets, L"Add", DispatchKind::Method))
                sheet = std::move(*added);
        }
    }
    Run(letMessagesRun);
    // Without a sheet its name cannot be set: that is the same refusal.
    if (!sheet)
        return ExcelOutcome::NotStarted;
    const std::wstring name = std::wstring(kSheetPrefix) + std::to_wstring(sheetNumber);
    if (FAILED(PutProperty(*sheet, L"Name", name)) || FAILED(PutProperty(excel, L"Interactive", true)))
        return ExcelOutcome::NotStarted;

    Run(putGridOnClipboard);
    if (const auto firstCell = GetObjectProperty(*sheet, L"Cells", {1, 1}))
        (void)CallMethod(**firstCell, L"PasteSpecial");
    (void)CallMethod(*sheet, L"Activate");
    if (const auto columns = GetObjectProperty(*sheet, L"Columns", {kFittedColumns})) {
        if (const auto entire = GetObjectProperty(**columns, L"EntireColumn"))
            (void)CallMethod(**entire, L"AutoFit");
    }
    return ExcelOutcome::Exported;
}

} // namespace vantrel
