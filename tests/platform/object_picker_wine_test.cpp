// The directory object picker, against a stand-in picker of our own registered in this process under the
// picker's class: what the picker is initialised with, the names it hands back, and when it is let go.
#include "platform/object_picker.h"

#include "platform/com_apartment.h"
#include "platform/com_ptr.h"
#include "support/one_format_data.h"

#include <objsel.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace vantrel {
namespace {

// What the stand-in saw and how it answers.
struct PickerRecord {
    int created = 0;
    int live = 0; // pickers and selections not yet released
    HWND owner = nullptr;
    bool initialized = false;
    DSOP_INIT_INFO init{};
    DSOP_SCOPE_INIT_INFO scope{};
    bool pathsEmpty = false; // no DC name, no directory path, no target computer

    HRESULT initializeAnswer = S_OK;
    HRESULT showAnswer = S_OK;
    HRESULT getDataAnswer = S_OK;
    std::vector<std::wstring> chosen;
};

bool Empty(PCWSTR text) {
    return text == nullptr || *text == L'\0';
}

// The DS_SELECTION_LIST of `names`; the names stay where they are (the record keeps them).
std::string SelectionBlock(const std::vector<std::wstring>& names) {
    std::string block(offsetof(DS_SELECTION_LIST, aDsSelection) + names.size() * sizeof(DS_SELECTION), '\0');
    auto* list = reinterpret_cast<DS_SELECTION_LIST*>(block.data());
    list->cItems = static_cast<ULONG>(names.size());
    for (size_t i = 0; i < names.size(); ++i)
        list->aDsSelection[i].pwzName = const_cast<PWSTR>(names[i].c_str());
    return block;
}

class StandInPicker final : public ComObject<IDsObjectPicker, IID_IDsObjectPicker> {
public:
    explicit StandInPicker(std::shared_ptr<PickerRecord> record) : record_(std::move(record)) {
        ++record_->created;
        ++record_->live;
    }
    ~StandInPicker() override { --record_->live; }

    HRESULT STDMETHODCALLTYPE Initialize(PDSOP_INIT_INFO init) override {
        record_->initialized = true;
        record_->init = *init;
        record_->scope = init->cDsScopeInfos == 1 ? init->aDsScopeInfos[0] : DSOP_SCOPE_INIT_INFO{};
        record_->pathsEmpty = Empty(init->pwzTargetComputer) && Empty(record_->scope.pwzDcName) &&
                              Empty(record_->scope.pwzADsPath);
        return record_->initializeAnswer;
    }
    HRESULT STDMETHODCALLTYPE InvokeDialog(HWND owner, IDataObject** selection) override {
        record_->owner = owner;
        *selection = nullptr;
        if (record_->showAnswer == S_OK)
            *selection =
                new test::OneFormatData(L"CFSTR_DSOP_DS_SELECTION_LIST", SelectionBlock(record_->chosen),
                                        record_->getDataAnswer, &record_->live);
        return record_->showAnswer;
    }

private:
    std::shared_ptr<PickerRecord> record_;
};

class PickerFactory final : public ComObject<IClassFactory, IID_IClassFactory> {
public:
    explicit PickerFactory(std::shared_ptr<PickerRecord> record) : record_(std::move(record)) {}
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
        *object = nullptr;
        if (outer != nullptr)
            return CLASS_E_NOAGGREGATION;
        ComPtr<IDsObjectPicker> picker;
        *picker.put() = new StandInPicker(record_);
        return picker->QueryInterface(iid, object);
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

private:
    std::shared_ptr<PickerRecord> record_;
};

// The stand-in takes the real picker's place for this process, as an in-process server.
class ObjectPicker : public testing::Test {
protected:
    void SetUp() override {
        ComPtr<IClassFactory> factory;
        *factory.put() = new PickerFactory(record_);
        ASSERT_EQ(CoRegisterClassObject(CLSID_DsObjectPicker, factory.get(), CLSCTX_INPROC_SERVER,
                                        REGCLS_MULTIPLEUSE, &cookie_),
                  S_OK);
    }
    void TearDown() override {
        std::vector<std::wstring> none;
        SelectComputers(0, nullptr, none);
        CoRevokeClassObject(cookie_);
    }

    const ComApartment com_;
    std::shared_ptr<PickerRecord> record_ = std::make_shared<PickerRecord>();
    DWORD cookie_ = 0;
    const HWND owner_ = GetDesktopWindow();
};

TEST_F(ObjectPicker, ChosenComputersComeBackFromEntryOneCutAt127Characters) {
    const std::wstring longName(130, L'X');
    record_->chosen = {L"PC1", L"server-2", longName};
    std::vector<std::wstring> names{L"left over"};
    ASSERT_EQ(SelectComputers(999, owner_, names), 3);
    EXPECT_EQ(names, (std::vector<std::wstring>{L"", L"PC1", L"server-2", longName.substr(0, 127)}));
    EXPECT_EQ(record_->owner, owner_);
    EXPECT_EQ(record_->live, 1) << "the selection is released, the picker kept";
}

// Computers only, from every scope but the target computer itself; several when the first caller allows more
// than one, and that mode stays for later callers.
TEST_F(ObjectPicker, InitialisationAsksForComputersAndKeepsTheFirstCallersSelectionMode) {
    struct Case {
        int firstMaximum;
        ULONG options;
    };
    for (const Case test : {Case{999, 3}, Case{1, 2}}) {
        SCOPED_TRACE(test.firstMaximum);
        std::vector<std::wstring> names;
        ASSERT_EQ(SelectComputers(test.firstMaximum, owner_, names), 0);
        ASSERT_EQ(SelectComputers(test.firstMaximum == 1 ? 999 : 1, owner_, names), 0);
        ASSERT_TRUE(record_->initialized);
        const DSOP_INIT_INFO& init = record_->init;
        const DSOP_SCOPE_INIT_INFO& scope = record_->scope;
        EXPECT_EQ(init.cbSize, sizeof(DSOP_INIT_INFO));
        EXPECT_EQ(init.cDsScopeInfos, 1u);
        EXPECT_EQ(init.flOptions, test.options);
        EXPECT_EQ(init.cAttributesToFetch, 0u);
        EXPECT_EQ(scope.cbSize, sizeof(DSOP_SCOPE_INIT_INFO));
        EXPECT_EQ(scope.flType, 0x3FEu);
        EXPECT_EQ(scope.flScope, 0x101u);
        EXPECT_EQ(scope.FilterFlags.Uplevel.flBothModes, 0x801u);
        EXPECT_EQ(scope.FilterFlags.Uplevel.flMixedModeOnly, 0u);
        EXPECT_EQ(scope.FilterFlags.Uplevel.flNativeModeOnly, 0u);
        EXPECT_EQ(scope.FilterFlags.flDownlevel, 0x80000008u);
        EXPECT_TRUE(record_->pathsEmpty);
        EXPECT_EQ(record_->created, 1);
        std::vector<std::wstring> none;
        EXPECT_EQ(SelectComputers(0, nullptr, none), -1);
        *record_ = PickerRecord{};
    }
}

// A cancelled picker is shown again next time without being made anew; a picker that fails is let go, and
// the next call makes a new one.
TEST_F(ObjectPicker, CancelKeepsThePickerAndAFailureReleasesIt) {
    struct Case {
        const char* what;
        HRESULT initializeAnswer, showAnswer, getDataAnswer;
        int result;
        bool kept;
    };
    const Case cases[] = {
        {"cancelled", S_OK, S_FALSE, S_OK, 0, true},
        {"Initialize fails", E_FAIL, S_OK, S_OK, -1, false},
        {"InvokeDialog fails", S_OK, E_FAIL, S_OK, -1, false},
        {"GetData fails", S_OK, S_OK, E_OUTOFMEMORY, -1, false},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.what);
        *record_ = PickerRecord{};
        record_->initializeAnswer = test.initializeAnswer;
        record_->showAnswer = test.showAnswer;
        record_->getDataAnswer = test.getDataAnswer;
        std::vector<std::wstring> names{L"kept"};
        EXPECT_EQ(SelectComputers(999, owner_, names), test.result);
        EXPECT_EQ(names, std::vector<std::wstring>{L"kept"});
        EXPECT_EQ(record_->live, test.kept ? 1 : 0);

        record_->initializeAnswer = record_->showAnswer = record_->getDataAnswer = S_OK;
        record_->chosen = {L"PC9"};
        EXPECT_EQ(SelectComputers(999, owner_, names), 1);
        EXPECT_EQ(record_->created, test.kept ? 1 : 2);
        EXPECT_EQ(SelectComputers(0, nullptr, names), -1);
        EXPECT_EQ(record_->live, 0);
    }
}

TEST_F(ObjectPicker, ReleaseWithoutAPickerAnswersMinusOneAndMakesNone) {
    std::vector<std::wstring> names{L"kept"};
    EXPECT_EQ(SelectComputers(0, owner_, names), -1);
    EXPECT_EQ(record_->created, 0);
    EXPECT_EQ(names, std::vector<std::wstring>{L"kept"});
}

} // namespace
} // namespace vantrel
