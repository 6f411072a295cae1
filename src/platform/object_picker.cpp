#include "platform/object_picker.h"

#include "platform/com_ptr.h"
#include "platform/unique_handle.h"

#include <objbase.h>
#include <objsel.h>

#include <algorithm>
#include <cstddef>

namespace vantrel {
namespace {

constexpr const wchar_t* kPickerClass = L"{17D6CCD8-3B7B-11D2-B9E0-00C04FD8DBF7}";
constexpr const wchar_t* kPickerInterface = L"{0c87e64e-3b7a-11d2-b9e0-00c04fd8dbf7}";
constexpr std::size_t kMaxNameLength = 127;

// Every scope but the target computer itself: the joined domains, the enterprise domain, the global catalog,
// external domains, the workgroup and the scopes the user types in.
constexpr ULONG kScopeTypes = DSOP_SCOPE_TYPE_UPLEVEL_JOINED_DOMAIN |
                              DSOP_SCOPE_TYPE_DOWNLEVEL_JOINED_DOMAIN | DSOP_SCOPE_TYPE_ENTERPRISE_DOMAIN |
                              DSOP_SCOPE_TYPE_GLOBAL_CATALOG | DSOP_SCOPE_TYPE_EXTERNAL_UPLEVEL_DOMAIN |
                              DSOP_SCOPE_TYPE_EXTERNAL_DOWNLEVEL_DOMAIN | DSOP_SCOPE_TYPE_WORKGROUP |
                              DSOP_SCOPE_TYPE_USER_ENTERED_UPLEVEL_SCOPE |
                              DSOP_SCOPE_TYPE_USER_ENTERED_DOWNLEVEL_SCOPE;
static_assert(kScopeTypes == 0x3FE);

// The program's one picker. Deliberately never destroyed: at the end of the program COM may already be gone
// from the thread, and a release then would call into a library that is no longer loaded. A call with
// maximum 0 lets go of it properly.
ComPtr<IDsObjectPicker>& Picker() {
    static auto* picker = new ComPtr<IDsObjectPicker>();
    return *picker;
}

[[nodiscard]] bool CreatePicker() {
    // Makes sure this thread has COM; a thread that had it already keeps exactly the one initialisation it
    // had.
    if (CoInitialize(nullptr) == S_FALSE)
        CoUninitialize();
    CLSID pickerClass{};
    IID pickerInterface{};
    if (FAILED(CLSIDFromString(kPickerClass, &pickerClass)) ||
        FAILED(IIDFromString(kPickerInterface, &pickerInterface)))
        return false;
    return SUCCEEDED(CoCreateInstance(pickerClass, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER,
                                      pickerInterface, Picker().put_void()));
}

// Computers only, from every scope but the target computer; several of them when `multiple`.
[[nodiscard]] bool InitializePicker(bool multiple) {
    DSOP_SCOPE_INIT_INFO scope{};
    scope.cbSize = sizeof(scope);
    scope.flType = kScopeTypes;
    scope.flScope = DSOP_SCOPE_FLAG_STARTING_SCOPE | DSOP_SCOPE_FLAG_DEFAULT_FILTER_COMPUTERS;
    scope.FilterFlags.Uplevel.flBothModes = DSOP_FILTER_COMPUTERS | DSOP_FILTER_INCLUDE_ADVANCED_VIEW;
    scope.FilterFlags.flDownlevel = DSOP_DOWNLEVEL_FILTER_COMPUTERS;

    DSOP_INIT_INFO init{};
    init.cbSize = sizeof(init);
    init.pwzTargetComputer = nullptr; // the local computer
    init.cDsScopeInfos = 1;
    init.aDsScopeInfos = &scope;
    init.flOptions = DSOP_FLAG_SKIP_TARGET_COMPUTER_DC_CHECK | (multiple ? DSOP_FLAG_MULTISELECT : 0);
    return SUCCEEDED(Picker()->Initialize(&init));
}

// The block a STGMEDIUM hands over, freed once read.
class MediumOwner {
public:
    MediumOwner() = default;
    ~MediumOwner() { ReleaseStgMedium(&medium_); } // GlobalFree for a block nobody else owns
    MediumOwner(const MediumOwner&) = delete;
    MediumOwner& operator=(const MediumOwner&) = delete;
    STGMEDIUM* get() { return &medium_; }
    HGLOBAL memory() const { return medium_.tymed == TYMED_HGLOBAL ? medium_.hGlobal : nullptr; }

private:
    STGMEDIUM medium_{};
};

// The names of a DS_SELECTION_LIST; no more entries than the block holds.
int ReadSelection(const DS_SELECTION_LIST& list, std::size_t blockBytes, std::vector<std::wstring>& names) {
    const std::size_t room =
        blockBytes < offsetof(DS_SELECTION_LIST, aDsSelection)
            ? 0
            : (blockBytes - offsetof(DS_SELECTION_LIST, aDsSelection)) / sizeof(DS_SELECTION);
    const std::size_t count = std::min<std::size_t>(list.cItems, room);
    names.assign(count + 1, std::wstring());
    for (std::size_t i = 0; i < count; ++i) {
        const wchar_t* name = list.aDsSelection[i].pwzName;
        if (name != nullptr)
            names[i + 1].assign(name, std::find(name, name + kMaxNameLength, L'\0'));
    }
    return static_cast<int>(count);
}

} // namespace

int SelectComputers(int maximum, HWND owner, std::vector<std::wstring>& names) {
    ComPtr<IDsObjectPicker>& picker = Picker();
    if (maximum == 0) {
        picker.reset();
        return -1;
    }
    if (!picker) {
        if (!CreatePicker()) {
            picker.reset();
            return -1;
        }
        if (!InitializePicker(maximum > 1)) {
            picker.reset();
            return -1;
        }
    }

    ComPtr<IDataObject> selection;
    const HRESULT shown = picker->InvokeDialog(owner, selection.put());
    if (FAILED(shown)) {
        picker.reset();
        return -1;
    }
    if (shown != S_OK || !selection)
        return 0; // cancelled; the picker stays for the next time

    static const auto format =
        static_cast<CLIPFORMAT>(RegisterClipboardFormatW(L"CFSTR_DSOP_DS_SELECTION_LIST"));
    FORMATETC wanted{format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    MediumOwner medium;
    const HRESULT got = selection->GetData(&wanted, medium.get());
    if (FAILED(got)) {
        picker.reset();
        return -1;
    }
    if (got != S_OK || medium.memory() == nullptr)
        return 0;
    const GlobalLockScope<DS_SELECTION_LIST> list(medium.memory());
    if (list.get() == nullptr)
        return -1;
    return ReadSelection(*list.get(), GlobalSize(medium.memory()), names);
}

} // namespace vantrel
