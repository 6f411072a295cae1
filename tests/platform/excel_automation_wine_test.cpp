// The export to Excel against the recording stand-in, registered as "Excel.Application" in the test prefix:
// the calls Excel receives, in order, and the outcomes the caller turns into messages or its own workbook.
#include "platform/excel_automation.h"
#include "platform/late_binding.h"
#include "support/recording_excel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace vantrel {
namespace {

using test::RecordingExcel;
using Lines = std::vector<std::wstring>;

// The user-interface thread's apartment, as the program sets it up.
class ComApartment {
public:
    ComApartment() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComApartment() {
        if (SUCCEEDED(result_))
            CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    HRESULT result() const { return result_; }

private:
    HRESULT result_;
};

// What one export sends to a sheet once it has its name, with the test's callbacks noted in between.
Lines SheetSteps(const std::wstring& name) {
    return {
        L"sheet.put Name " + name, L"put Interactive true",          L"clipboard",
        L"sheet.get Cells(1,1)",   L"range(1,1).PasteSpecial",       L"sheet.Activate",
        L"sheet.get Columns(A:Z)", L"Columns(A:Z).get EntireColumn", L"Columns(A:Z).EntireColumn.AutoFit"};
}

Lines Concat(Lines first, const Lines& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

class ExcelExport : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(apartment.result(), S_OK); }

    void Register() {
        ASSERT_TRUE(excel.RegisterClassKeys());
        ASSERT_EQ(excel.RegisterClassFactory(), S_OK);
    }
    ExcelOutcome Export(int sheetNumber) {
        return automation.Export(
            sheetNumber, [this] { excel.Note(L"clipboard"); }, [this] { excel.Note(L"messages"); });
    }
    bool Called(std::wstring_view line) const {
        return std::ranges::find(excel.Calls(), line) != excel.Calls().end();
    }

    ComApartment apartment;
    RecordingExcel excel;
    ExcelAutomation automation;
};

TEST_F(ExcelExport, TwoExportsMakeTwoSheetsInOneExcel) {
    Register();
    ASSERT_EQ(Export(1), ExcelOutcome::Exported);
    const Lines firstExport = {L"create Application",      L"put Visible true", L"messages",
                               L"put Visible true",        L"messages",         L"get Workbooks",
                               L"Workbooks.get Count",     L"Workbooks.Add",    L"get ActiveWorkbook",
                               L"workbook.get Worksheets", L"Worksheets.Add",   L"messages"};
    EXPECT_EQ(excel.Calls(), Concat(firstExport, SheetSteps(L"Vantrel1")));

    // The kept Excel still has its workbook: no second one is looked for, and no workbook added.
    excel.ClearCalls();
    ASSERT_EQ(Export(2), ExcelOutcome::Exported);
    const Lines secondExport = {L"get ActiveWorkbook",
                                L"workbook.get Worksheets",
                                L"Worksheets.get Count",
                                L"put Visible true",
                                L"messages",
                                L"put Visible true",
                                L"messages",
                                L"get Workbooks",
                                L"Workbooks.get Count",
                                L"get ActiveWorkbook",
                                L"workbook.get Worksheets",
                                L"Worksheets.Add",
                                L"messages"};
    EXPECT_EQ(excel.Calls(), Concat(secondExport, SheetSteps(L"Vantrel2")));
    EXPECT_EQ(excel.ApplicationsCreated(), 1);
    EXPECT_EQ(excel.SheetNames(), (Lines{L"Sheet1", L"Vantrel1", L"Vantrel2"}));

    // Nothing of Excel's is held once the program lets go of the application.
    automation = ExcelAutomation{};
    EXPECT_EQ(excel.LiveObjects(), 0);
}

TEST_F(ExcelExport, ARunningExcelIsUsedRatherThanANewOne) {
    Register();
    ASSERT_EQ(excel.RegisterRunning(), S_OK);
    ASSERT_EQ(Export(1), ExcelOutcome::Exported);
    EXPECT_EQ(excel.ApplicationsCreated(), 0);
    // Its open workbook takes the sheet.
    EXPECT_FALSE(Called(L"Workbooks.Add"));
    EXPECT_EQ(excel.SheetNames(), (Lines{L"Sheet1", L"Vantrel1"}));
}

TEST_F(ExcelExport, AClosedExcelIsReplacedByANewOne) {
    Register();
    ASSERT_EQ(Export(1), ExcelOutcome::Exported);
    excel.CloseApplications();
    excel.ClearCalls();
    ASSERT_EQ(Export(2), ExcelOutcome::Exported);
    EXPECT_EQ(excel.ApplicationsCreated(), 2);
    ASSERT_GE(excel.Calls().size(), 3u);
    EXPECT_EQ(excel.Calls()[0], L"get ActiveWorkbook (closed)");
    EXPECT_EQ(excel.Calls()[1], L"create Application");
    EXPECT_EQ(excel.Calls()[2], L"put Visible true");
    EXPECT_EQ(excel.SheetNames(), (Lines{L"Sheet1", L"Vantrel2"}));
}

TEST_F(ExcelExport, NoExcelWhenNoneRunsAndNoneCanBeStarted) {
    // No "Excel.Application" at all.
    EXPECT_EQ(Export(1), ExcelOutcome::NoExcel);
    // The name is known but nothing serves the class.
    ASSERT_TRUE(excel.RegisterClassKeys());
    EXPECT_EQ(Export(1), ExcelOutcome::NoExcel);
    EXPECT_TRUE(excel.Calls().empty());
}

TEST_F(ExcelExport, ASheetNameAlreadyTakenStopsTheExport) {
    // As after a second start of the program, whose sheet numbers start again at 1, with the same workbook.
    Register();
    ASSERT_EQ(Export(1), ExcelOutcome::Exported);
    excel.ClearCalls();
    EXPECT_EQ(Export(1), ExcelOutcome::NotStarted);
    EXPECT_TRUE(Called(L"sheet.put Name Vantrel1 (refused)"));
    EXPECT_FALSE(Called(L"clipboard"));
}

TEST_F(ExcelExport, FailuresAfterTheSheetIsNamedAreIgnored) {
    Register();
    excel.Refuse(L"PasteSpecial");
    excel.Refuse(L"AutoFit");
    EXPECT_EQ(Export(1), ExcelOutcome::Exported);
    const Lines expected = {L"sheet.put Name Vantrel1",
                            L"put Interactive true",
                            L"clipboard",
                            L"sheet.get Cells(1,1)",
                            L"range(1,1).PasteSpecial (refused)",
                            L"sheet.Activate",
                            L"sheet.get Columns(A:Z)",
                            L"Columns(A:Z).get EntireColumn",
                            L"Columns(A:Z).EntireColumn.AutoFit (refused)"};
    ASSERT_GE(excel.Calls().size(), expected.size());
    EXPECT_EQ(Lines(excel.Calls().end() - static_cast<std::ptrdiff_t>(expected.size()), excel.Calls().end()),
              expected);
}

// A refusal of any of these members means Excel did not come up: nothing reaches the clipboard or the sheet.
class ExcelRefusal : public ExcelExport, public ::testing::WithParamInterface<const wchar_t*> {};

TEST_P(ExcelRefusal, StopsTheExportBeforeTheClipboard) {
    Register();
    excel.Refuse(GetParam());
    EXPECT_EQ(Export(1), ExcelOutcome::NotStarted);
    EXPECT_FALSE(Called(L"clipboard"));
    EXPECT_FALSE(Called(L"range(1,1).PasteSpecial"));
    EXPECT_FALSE(Called(L"sheet.Activate"));
}

// Worksheets: without a new sheet there is no name to give it.
INSTANTIATE_TEST_SUITE_P(Members, ExcelRefusal,
                         ::testing::Values(L"Visible", L"Name", L"Interactive", L"Worksheets"));

TEST_F(ExcelExport, LateBoundCallsPassArgumentsInOrderAndReportFailures) {
    Register();
    ComPtr<IDispatch> application;
    ASSERT_EQ(CoCreateInstance(RecordingExcel::kClassId, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch,
                               application.put_void()),
              S_OK);
    // No workbook open: Excel answers Nothing, which is no object.
    const auto none = GetObjectProperty(*application, L"ActiveWorkbook");
    ASSERT_FALSE(none.has_value());
    EXPECT_EQ(none.error(), E_NOINTERFACE);

    const auto workbooks = GetObjectProperty(*application, L"Workbooks");
    ASSERT_TRUE(workbooks.has_value());
    const auto workbook = InvokeForObject(**workbooks, L"Add", DispatchKind::Method);
    ASSERT_TRUE(workbook.has_value());
    const auto sheets = GetObjectProperty(**workbook, L"Worksheets");
    ASSERT_TRUE(sheets.has_value());
    const auto sheet = InvokeForObject(**sheets, L"Add", DispatchKind::Method);
    ASSERT_TRUE(sheet.has_value());
    EXPECT_EQ(GetNumberProperty(**sheets, L"Count"), 2);
    excel.ClearCalls();
    EXPECT_TRUE(GetObjectProperty(**sheet, L"Cells", {2, 5}).has_value());
    EXPECT_EQ(PutProperty(**sheet, L"Name", L"Report"), S_OK);
    EXPECT_EQ(excel.Calls(), (Lines{L"sheet.get Cells(2,5)", L"sheet.put Name Report"}));

    EXPECT_EQ(CallMethod(**sheet, L"NoSuchMember"), DISP_E_UNKNOWNNAME);
    excel.Refuse(L"Activate", E_ACCESSDENIED);
    EXPECT_EQ(CallMethod(**sheet, L"Activate"), E_ACCESSDENIED);
}

} // namespace
} // namespace vantrel
