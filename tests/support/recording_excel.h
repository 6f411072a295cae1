#pragma once
// A stand-in for Excel's automation object in tests of the export: an "Excel.Application" of our own, served
// by the test process itself, with the part of Excel's object model the export reaches (application,
// workbooks, workbook, worksheets, worksheet, ranges). It writes every call it receives as one line of text,
// in order, and can be told to refuse a member or to stop answering as a closed Excel does.
//
// Lines: "<object>.<verb><Member>[(<arguments>)][ <value>]", where <object> is left out on the application
// and is "Workbooks", "workbook", "Worksheets", "sheet", "range(r,c)", "Columns(A:Z)" or
// "Columns(A:Z).EntireColumn"; <verb> is "get " or "put " for properties and nothing for methods. A call
// that fails ends in " (refused)", " (closed)" or " (invalid)" (flags or arguments Excel would not accept).
// Examples: "put Visible true", "Workbooks.Add", "sheet.put Name Vantrel1", "range(1,1).PasteSpecial".
//
// The test thread must be in a single-threaded apartment for as long as the RecordingExcel lives.
#include "platform/com_ptr.h"

#include <oaidl.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel::test {

struct ExcelRecord;

class RecordingExcel {
public:
    // The stand-in's own class id, which the ProgID points to.
    static const CLSID kClassId;

    // Removes what a test that crashed may have left registered.
    RecordingExcel();
    // Undoes every registration below.
    ~RecordingExcel();
    RecordingExcel(const RecordingExcel&) = delete;
    RecordingExcel& operator=(const RecordingExcel&) = delete;

    // The ProgID "Excel.Application" naming kClassId, and kClassId's own key:
    // Software\Classes\Excel.Application and Software\Classes\CLSID\{kClassId} under HKCU, and under HKLM too
    // where HKCU's are not seen (Wine).
    [[nodiscard]] bool RegisterClassKeys();
    // The class factory, as the local server Excel is (CoRegisterClassObject): creating the class makes a new
    // application with no workbook, recorded as "create Application".
    [[nodiscard]] HRESULT RegisterClassFactory();
    // An Excel that is already running (RegisterActiveObject), with one workbook of one sheet open.
    [[nodiscard]] HRESULT RegisterRunning();

    // Calls to `member` on any object fail with `error` from now on (as DISP_E_EXCEPTION with its code).
    void Refuse(std::wstring_view member, HRESULT error = E_FAIL);
    // Every application made so far fails every call, as when its user closes Excel.
    void CloseApplications();

    const std::vector<std::wstring>& Calls() const;
    // Adds a line of the test's own (a callback that ran) between the calls.
    void Note(std::wstring line);
    void ClearCalls();

    int ApplicationsCreated() const;
    // Objects of the stand-in that somebody still holds (the running application counts while registered).
    int LiveObjects() const;
    // The sheets of the active workbook of the application called last, in the order they were added.
    std::vector<std::wstring> SheetNames() const;

private:
    static bool WriteClassKeys(HKEY root);
    static void RemoveClassKeys();

    std::shared_ptr<ExcelRecord> record_;
    DWORD factoryCookie_ = 0;
    DWORD runningCookie_ = 0;
};

} // namespace vantrel::test
