#include "support/recording_excel.h"

#include "platform/com_object.h"

#include <windows.h>

#include <oleauto.h>

#include <atomic>
#include <iterator>
#include <map>

namespace vantrel::test {

// {6F1C2A4E-93B7-4D2E-A8C5-1B7E30D9F452}
const CLSID RecordingExcel::kClassId = {
    0x6f1c2a4e, 0x93b7, 0x4d2e, {0xa8, 0xc5, 0x1b, 0x7e, 0x30, 0xd9, 0xf4, 0x52}};

namespace {

constexpr const wchar_t* kProgIdKey = L"Software\\Classes\\Excel.Application";
// What a real Excel answers once its process is gone.
constexpr HRESULT kServerUnavailable = HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE);
// Excel's answer to a sheet name that is taken (its generic "Application-defined or object-defined error").
constexpr HRESULT kExcelError = static_cast<HRESULT>(0x800A03EC);

std::wstring ClassIdText() {
    wchar_t text[40]{};
    StringFromGUID2(RecordingExcel::kClassId, text, static_cast<int>(std::size(text)));
    return text;
}

std::wstring ClassKey() {
    return L"Software\\Classes\\CLSID\\" + ClassIdText();
}

bool SameName(std::wstring_view a, std::wstring_view b) {
    return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()),
                                TRUE) == CSTR_EQUAL;
}

} // namespace

struct SheetState {
    std::wstring name;
};

struct WorkbookState {
    std::vector<std::shared_ptr<SheetState>> sheets;
};

struct ApplicationState {
    bool closed = false;
    bool visible = false;
    bool interactive = true;
    std::vector<std::shared_ptr<WorkbookState>> workbooks; // the last one is the active one

    void AddWorkbook() {
        auto workbook = std::make_shared<WorkbookState>();
        workbook->sheets.push_back(std::make_shared<SheetState>(SheetState{L"Sheet1"}));
        workbooks.push_back(std::move(workbook));
    }
};

struct ExcelRecord {
    std::vector<std::wstring> calls;
    std::map<std::wstring, HRESULT> refusals; // by lower-case member name
    std::vector<std::shared_ptr<ApplicationState>> applications;
    std::shared_ptr<ApplicationState> lastCalled;
    int applicationsCreated = 0;
    std::atomic<int> liveObjects = 0;

    std::shared_ptr<ApplicationState> NewApplication() {
        applications.push_back(std::make_shared<ApplicationState>());
        return applications.back();
    }
};

namespace {

std::wstring Lower(std::wstring_view text) {
    std::wstring lower(text);
    CharLowerBuffW(lower.data(), static_cast<DWORD>(lower.size()));
    return lower;
}

enum class Kind { Application, Workbooks, Workbook, Worksheets, Sheet, Range };
enum class Access { Get, GetPut, Method };

struct Member {
    const wchar_t* name;
    Kind kind;
    Access access;
};

// Excel's members that the export reaches, and nothing else: a misspelt name fails as it would in Excel.
// A member's DISPID is its position + 1.
constexpr Member kMembers[] = {
    {L"Visible", Kind::Application, Access::GetPut},
    {L"Interactive", Kind::Application, Access::GetPut},
    {L"Workbooks", Kind::Application, Access::Get},
    {L"ActiveWorkbook", Kind::Application, Access::Get},
    {L"Count", Kind::Workbooks, Access::Get},
    {L"Add", Kind::Workbooks, Access::Method},
    {L"Worksheets", Kind::Workbook, Access::Get},
    {L"Count", Kind::Worksheets, Access::Get},
    {L"Add", Kind::Worksheets, Access::Method},
    {L"Name", Kind::Sheet, Access::GetPut},
    {L"Cells", Kind::Sheet, Access::Get},
    {L"Columns", Kind::Sheet, Access::Get},
    {L"Activate", Kind::Sheet, Access::Method},
    {L"PasteSpecial", Kind::Range, Access::Method},
    {L"EntireColumn", Kind::Range, Access::Get},
    {L"AutoFit", Kind::Range, Access::Method},
};

// A VARIANT argument as the log shows it.
std::wstring ArgumentText(const VARIANT& value) {
    if (value.vt == VT_BOOL)
        return value.boolVal == VARIANT_FALSE ? L"false" : L"true";
    VARIANT source = value;
    VARIANT text;
    VariantInit(&text);
    if (FAILED(VariantChangeType(&text, &source, 0, VT_BSTR)))
        return L"<type " + std::to_wstring(value.vt) + L">";
    std::wstring result(text.bstrVal, SysStringLen(text.bstrVal));
    VariantClear(&text);
    return result;
}

// One object of the stand-in's object model; which one is told by its kind, and its state is shared with the
// record so that a test can look at it after the export let go of the object.
class StandInObject final : public ComObject<IDispatch, IID_IDispatch> {
public:
    StandInObject(Kind kind, std::wstring label, std::shared_ptr<ExcelRecord> record,
                  std::shared_ptr<ApplicationState> application, std::shared_ptr<WorkbookState> workbook = {},
                  std::shared_ptr<SheetState> sheet = {})
        : kind_(kind), label_(std::move(label)), record_(std::move(record)),
          application_(std::move(application)), workbook_(std::move(workbook)), sheet_(std::move(sheet)) {
        ++record_->liveObjects;
    }
    ~StandInObject() { --record_->liveObjects; }
    StandInObject(const StandInObject&) = delete;
    StandInObject& operator=(const StandInObject&) = delete;

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
        *info = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
        HRESULT result = S_OK;
        for (UINT i = 0; i < count; ++i) {
            ids[i] = DISPID_UNKNOWN;
            if (i == 0) {
                for (size_t m = 0; m < std::size(kMembers); ++m) {
                    if (kMembers[m].kind == kind_ && SameName(kMembers[m].name, names[0]))
                        ids[0] = static_cast<DISPID>(m + 1);
                }
            }
            if (ids[i] == DISPID_UNKNOWN)
                result = DISP_E_UNKNOWNNAME;
        }
        return result;
    }

    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* parameters,
                                     VARIANT* result, EXCEPINFO* exception, UINT*) override;

private:
    HRESULT Refused(std::wstring line, HRESULT error, EXCEPINFO* exception);
    HRESULT Get(const Member& member, const std::vector<std::wstring>& arguments, VARIANT* result);
    // kExcelError for what Excel refuses (a sheet name already taken).
    HRESULT Put(const Member& member, const VARIANT& value);
    HRESULT Call(const Member& member, VARIANT* result);
    HRESULT Answer(Kind kind, std::wstring label, VARIANT* result,
                   std::shared_ptr<WorkbookState> workbook = {}, std::shared_ptr<SheetState> sheet = {});

    Kind kind_;
    std::wstring label_;
    std::shared_ptr<ExcelRecord> record_;
    std::shared_ptr<ApplicationState> application_;
    std::shared_ptr<WorkbookState> workbook_;
    std::shared_ptr<SheetState> sheet_;
};

HRESULT StandInObject::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* parameters, VARIANT* result,
                              EXCEPINFO* exception, UINT*) {
    if (id < 1 || id > static_cast<DISPID>(std::size(kMembers)) || kMembers[id - 1].kind != kind_)
        return DISP_E_MEMBERNOTFOUND;
    const Member& member = kMembers[id - 1];
    record_->lastCalled = application_;

    const bool put = (flags & DISPATCH_PROPERTYPUT) != 0;
    const UINT named = parameters->cNamedArgs;
    // IDispatch passes the arguments last first; the named ones come before the positional ones.
    std::vector<std::wstring> arguments;
    for (UINT i = parameters->cArgs; i > named; --i)
        arguments.push_back(ArgumentText(parameters->rgvarg[i - 1]));

    std::wstring line = label_.empty() ? L"" : label_ + L".";
    line += put ? L"put " : member.access == Access::Method ? L"" : L"get ";
    line += member.name;
    if (!arguments.empty() && !put) {
        line += L"(";
        for (size_t i = 0; i < arguments.size(); ++i)
            line += (i == 0 ? L"" : L",") + arguments[i];
        line += L")";
    }

    // What Excel itself would reject: a put without its named value, a method read as a property and back.
    bool valid = false;
    if (put)
        valid = member.access == Access::GetPut && parameters->cArgs == 1 && named == 1 &&
                parameters->rgdispidNamedArgs[0] == DISPID_PROPERTYPUT;
    else if (member.access == Access::Method)
        valid = (flags & DISPATCH_METHOD) != 0 && named == 0;
    else
        valid = (flags & DISPATCH_PROPERTYGET) != 0 && named == 0;
    if (put && parameters->cArgs >= 1)
        line += L" " + ArgumentText(parameters->rgvarg[0]);
    if (!valid) {
        record_->calls.push_back(line + L" (invalid)");
        return put ? DISP_E_PARAMNOTFOUND : DISP_E_MEMBERNOTFOUND;
    }
    if (application_->closed) {
        record_->calls.push_back(line + L" (closed)");
        return kServerUnavailable;
    }
    if (const auto refusal = record_->refusals.find(Lower(member.name)); refusal != record_->refusals.end())
        return Refused(std::move(line), refusal->second, exception);

    HRESULT status = S_OK;
    if (put)
        status = Put(member, parameters->rgvarg[0]);
    else if (member.access == Access::Method)
        status = Call(member, result);
    else
        status = Get(member, arguments, result);
    if (status == kExcelError)
        return Refused(std::move(line), status, exception);
    record_->calls.push_back(status == S_OK ? std::move(line) : line + L" (invalid)");
    return status;
}

HRESULT StandInObject::Refused(std::wstring line, HRESULT error, EXCEPINFO* exception) {
    record_->calls.push_back(std::move(line) + L" (refused)");
    if (exception == nullptr)
        return error;
    *exception = EXCEPINFO{};
    exception->bstrSource = SysAllocString(L"Recording Excel");
    exception->bstrDescription = SysAllocString(L"Refused by the test.");
    exception->scode = error;
    return DISP_E_EXCEPTION;
}

HRESULT StandInObject::Answer(Kind kind, std::wstring label, VARIANT* result,
                              std::shared_ptr<WorkbookState> workbook, std::shared_ptr<SheetState> sheet) {
    if (result == nullptr)
        return S_OK;
    result->vt = VT_DISPATCH;
    result->pdispVal = new StandInObject(kind, std::move(label), record_, application_, std::move(workbook),
                                         std::move(sheet));
    return S_OK;
}

HRESULT StandInObject::Get(const Member& member, const std::vector<std::wstring>& arguments,
                           VARIANT* result) {
    const std::wstring_view name = member.name;
    // Cells takes a row and a column, Columns an address; every other property takes nothing.
    const size_t expected = name == L"Cells" ? 2 : name == L"Columns" ? 1 : 0;
    if (arguments.size() != expected)
        return DISP_E_BADPARAMCOUNT;
    if (result == nullptr) {
        VARIANT discarded;
        VariantInit(&discarded);
        const HRESULT status = Get(member, arguments, &discarded);
        VariantClear(&discarded);
        return status;
    }
    VariantInit(result);
    if (name == L"Visible" || name == L"Interactive") {
        result->vt = VT_BOOL;
        result->boolVal = (name == L"Visible" ? application_->visible : application_->interactive)
                              ? VARIANT_TRUE
                              : VARIANT_FALSE;
        return S_OK;
    }
    if (name == L"Workbooks")
        return Answer(Kind::Workbooks, L"Workbooks", result);
    if (name == L"ActiveWorkbook") {
        // Excel answers Nothing when no workbook is open.
        result->vt = VT_DISPATCH;
        if (application_->workbooks.empty())
            return S_OK;
        return Answer(Kind::Workbook, L"workbook", result, application_->workbooks.back());
    }
    if (name == L"Count") {
        result->vt = VT_I4;
        result->lVal = static_cast<LONG>(kind_ == Kind::Workbooks ? application_->workbooks.size()
                                                                  : workbook_->sheets.size());
        return S_OK;
    }
    if (name == L"Worksheets")
        return Answer(Kind::Worksheets, L"Worksheets", result, workbook_);
    if (name == L"Name") {
        result->vt = VT_BSTR;
        result->bstrVal = SysAllocString(sheet_->name.c_str());
        return S_OK;
    }
    if (name == L"Cells")
        return Answer(Kind::Range, L"range(" + arguments[0] + L"," + arguments[1] + L")", result, workbook_,
                      sheet_);
    if (name == L"Columns")
        return Answer(Kind::Range, L"Columns(" + arguments[0] + L")", result, workbook_, sheet_);
    // EntireColumn
    return Answer(Kind::Range, label_ + L".EntireColumn", result, workbook_, sheet_);
}

HRESULT StandInObject::Put(const Member& member, const VARIANT& value) {
    const std::wstring_view name = member.name;
    if (name == L"Name") {
        if (value.vt != VT_BSTR)
            return DISP_E_TYPEMISMATCH;
        const std::wstring_view newName(value.bstrVal, SysStringLen(value.bstrVal));
        for (const auto& other : workbook_->sheets) {
            if (other != sheet_ && SameName(other->name, newName))
                return kExcelError;
        }
        sheet_->name = newName;
        return S_OK;
    }
    if (value.vt != VT_BOOL)
        return DISP_E_TYPEMISMATCH;
    (name == L"Visible" ? application_->visible : application_->interactive) = value.boolVal != VARIANT_FALSE;
    return S_OK;
}

HRESULT StandInObject::Call(const Member& member, VARIANT* result) {
    const std::wstring_view name = member.name;
    if (name == L"Add" && kind_ == Kind::Workbooks) {
        application_->AddWorkbook();
        return Answer(Kind::Workbook, L"workbook", result, application_->workbooks.back());
    }
    if (name == L"Add") {
        auto sheet = std::make_shared<SheetState>(
            SheetState{L"Sheet" + std::to_wstring(workbook_->sheets.size() + 1)});
        workbook_->sheets.push_back(sheet);
        return Answer(Kind::Sheet, L"sheet", result, workbook_, std::move(sheet));
    }
    // Activate, PasteSpecial and AutoFit change nothing the tests look at.
    if (result != nullptr)
        VariantInit(result);
    return S_OK;
}

class StandInFactory final : public ComObject<IClassFactory, IID_IClassFactory> {
public:
    explicit StandInFactory(std::shared_ptr<ExcelRecord> record) : record_(std::move(record)) {}

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
        *object = nullptr;
        if (outer != nullptr)
            return CLASS_E_NOAGGREGATION;
        record_->calls.push_back(L"create Application");
        ++record_->applicationsCreated;
        ComPtr<IDispatch> application;
        *application.put() = new StandInObject(Kind::Application, L"", record_, record_->NewApplication());
        return application->QueryInterface(iid, object);
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

private:
    std::shared_ptr<ExcelRecord> record_;
};

} // namespace

RecordingExcel::RecordingExcel() : record_(std::make_shared<ExcelRecord>()) {
    RemoveClassKeys();
}

RecordingExcel::~RecordingExcel() {
    if (runningCookie_ != 0)
        RevokeActiveObject(runningCookie_, nullptr);
    if (factoryCookie_ != 0)
        CoRevokeClassObject(factoryCookie_);
    RemoveClassKeys();
}

// Windows reads a user's own classes (HKCU\Software\Classes) before the machine's; Wine's HKEY_CLASSES_ROOT
// is the machine's alone, so there the keys go under HKLM as well.
bool RecordingExcel::RegisterClassKeys() {
    if (!WriteClassKeys(HKEY_CURRENT_USER))
        return false;
    CLSID found{};
    if (SUCCEEDED(CLSIDFromProgID(L"Excel.Application", &found)) && IsEqualCLSID(found, kClassId))
        return true;
    return WriteClassKeys(HKEY_LOCAL_MACHINE);
}

bool RecordingExcel::WriteClassKeys(HKEY root) {
    const auto setText = [root](const std::wstring& key, const std::wstring& text) {
        return RegSetKeyValueW(root, key.c_str(), nullptr, REG_SZ, text.c_str(),
                               static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
    };
    return setText(kProgIdKey, L"Recording Excel") &&
           setText(std::wstring(kProgIdKey) + L"\\CLSID", ClassIdText()) &&
           setText(ClassKey(), L"Recording Excel") && setText(ClassKey() + L"\\ProgID", L"Excel.Application");
}

// Only a ProgID that names the stand-in is removed: on a machine with Excel the real one stays untouched.
void RecordingExcel::RemoveClassKeys() {
    for (const HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
        wchar_t named[40]{};
        DWORD bytes = sizeof(named);
        if (RegGetValueW(root, (std::wstring(kProgIdKey) + L"\\CLSID").c_str(), nullptr, RRF_RT_REG_SZ,
                         nullptr, named, &bytes) == ERROR_SUCCESS &&
            ClassIdText() == named)
            RegDeleteTreeW(root, kProgIdKey);
        RegDeleteTreeW(root, ClassKey().c_str());
    }
}

HRESULT RecordingExcel::RegisterClassFactory() {
    ComPtr<IClassFactory> factory;
    *factory.put() = new StandInFactory(record_);
    return CoRegisterClassObject(kClassId, factory.get(), CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE,
                                 &factoryCookie_);
}

HRESULT RecordingExcel::RegisterRunning() {
    auto state = record_->NewApplication();
    state->visible = true;
    state->AddWorkbook();
    ComPtr<IDispatch> application;
    *application.put() = new StandInObject(Kind::Application, L"", record_, std::move(state));
    return RegisterActiveObject(application.get(), kClassId, ACTIVEOBJECT_STRONG, &runningCookie_);
}

void RecordingExcel::Refuse(std::wstring_view member, HRESULT error) {
    record_->refusals[Lower(member)] = error;
}

void RecordingExcel::CloseApplications() {
    for (const auto& application : record_->applications)
        application->closed = true;
}

const std::vector<std::wstring>& RecordingExcel::Calls() const {
    return record_->calls;
}

void RecordingExcel::Note(std::wstring line) {
    record_->calls.push_back(std::move(line));
}

void RecordingExcel::ClearCalls() {
    record_->calls.clear();
}

int RecordingExcel::ApplicationsCreated() const {
    return record_->applicationsCreated;
}

int RecordingExcel::LiveObjects() const {
    return record_->liveObjects;
}

std::vector<std::wstring> RecordingExcel::SheetNames() const {
    std::vector<std::wstring> names;
    if (record_->lastCalled && !record_->lastCalled->workbooks.empty()) {
        for (const auto& sheet : record_->lastCalled->workbooks.back()->sheets)
            names.push_back(sheet->name);
    }
    return names;
}

} // namespace vantrel::test
