// The class list over the test prefix's real registry: the demo registry's classes, each case of the list
// among them, and Wine's own six hundred classes beside them, none left out.
#include "engine/scripted_host.h"
#include "engine/text.h"
#include "platform/win_registry.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <optional>
#include <set>

namespace vantrel::test {
namespace {

using Row = std::vector<std::wstring>; // description, registered file, CLS-ID, then ActX and TypeLib

struct Filled {
    std::wstring caption;
    Row headers;
    std::map<std::wstring, Row> rows; // by CLS-ID
    int rowCount = 0;
};

Filled FillClassList(int listMode) {
    WinRegistryApi api;
    Registry registry{api};
    FakeFiles files;
    FakeComputers computers;
    FakeEnvironment environment;
    MatchList matchList;
    FakeIniFiles ini;
    ScriptedHost host;
    host.listMode = listMode;
    View view(ViewServices{registry, files, computers, environment, matchList, ini}, host, 15);
    view.viewKind = ViewKind::ClassList;
    view.fillflex();

    Filled filled{host.caption, {}, {}, view.rowCount};
    for (int c = 1; c < view.grid.Cols(); ++c)
        filled.headers.push_back(view.grid.TextMatrix(0, c));
    for (int r = 1; r < view.grid.Rows(); ++r) {
        EXPECT_EQ(view.grid.TextMatrix(r, 0), std::to_wstring(r));
        Row row;
        for (int c = 1; c < view.grid.Cols(); ++c)
            row.push_back(view.grid.TextMatrix(r, c));
        EXPECT_TRUE(filled.rows.emplace(row[2], row).second) << row[2] << " listed twice";
    }
    EXPECT_EQ(filled.rows.size(), static_cast<size_t>(view.rowCount));
    return filled;
}

const std::wstring kOcx = L"C:\\Program files\\Acme tools\\Acmechart.ocx";
const std::wstring kAcmeSrv = L"C:\\Program files\\Acme tools\\Acmesrv.exe";
const std::wstring kChartLib = L"{1978ADAB-C873-47B5-8B0C-E42991CD9CE7}";
const std::wstring kBackupLib = L"{0366CE6F-02B0-464B-B736-CB9828E3F557}";
const std::wstring kNoKey = L"\u00AC";

struct DemoClass {
    bool control; // listed in the standard list too
    Row cells;    // as the detailed list shows them
};
const DemoClass kListedDemoClasses[] = {
    {true, {L"Acme Chart Control", kOcx, L"{441D94CB-16C9-48F9-B33C-9BA0B9134396}", L"Ctl", kChartLib}},
    {true, {L"Acme Gauge Control", kOcx, L"{2004E6A0-2FEA-43AB-B5A8-394334E7B3BB}", L"Ctl", kChartLib}},
    {true,
     {L"Northwind Report Viewer Control", L"C:\\Program files\\Northwind\\Report designer\\Nwrview.dll",
      L"{5B653D1F-36B5-461E-A82A-4392A235A87C}", L"Ctl", L"{D45BA16A-7656-4F87-96B4-E2C1ACCD06E7}"}},
    {true,
     {L"Tailspin Sync Status Control", L"C:\\Program files\\Tailspin\\Sync\\Tsyncmon.exe",
      L"{6C2E9A41-5B7D-4F0E-9E3A-2D8C71B04F15}", L"C S", L"{8E4D2B17-3C6A-4F95-A1D8-5B7E09C3F624}"}},
    {true,
     {L"?", L"C:\\Windows\\System32\\Fabgrid.ocx", L"{9A7F3C12-4E6B-4D21-8C5A-F03B6E92D7A8}", L"Ctl",
      kNoKey}},
    {false,
     {L"Acme Backup Session", kAcmeSrv, L"{E5B51FCD-0F22-4435-8600-08480C9206A6}", L" Svr", kBackupLib}},
    {false,
     {L"Acme Backup Scheduler", kAcmeSrv, L"{BB4F0A96-09AE-4EB5-B433-73FA5FF68D66}", L" Svr", kBackupLib}},
};
// Neither a control nor a class with a type library, or a control without a server file.
const std::wstring kUnlistedDemoClasses[] = {
    L"{B674D85A-7A43-4B2D-8FFC-3DDEF1543AD2}", // property page
    L"{41809686-6630-4E7B-B1F1-5412E0717F43}", // converter
    L"{42706D50-A7E2-499A-A14C-7C0F1095418D}", // shell extension
    L"{D3B8E5F0-7A19-4C62-B4E7-18F2A6C9053E}", // uninstalled control
};

class ClassListOnWine : public ::testing::TestWithParam<int> {
protected:
    int mode() const { return GetParam(); }
};

TEST_P(ClassListOnWine, DemoClassesShowTheirServersAndKinds) {
    const Filled f = FillClassList(mode());
    if (mode() == 1) {
        EXPECT_EQ(f.caption, L"Registered controls and ActiveX classes");
        EXPECT_EQ(f.headers, (Row{L"Description", L"Registered file", L"CLS-ID", L"ActX", L"TypeLib"}));
    } else {
        EXPECT_EQ(f.caption, L"Registered controls");
        EXPECT_EQ(f.headers, (Row{L"Description", L"Registered file", L"CLS-ID"}));
    }
    for (const DemoClass& demo : kListedDemoClasses) {
        const std::wstring& id = demo.cells[2];
        const auto found = f.rows.find(id);
        if (mode() == 0 && !demo.control) {
            EXPECT_EQ(found, f.rows.end()) << id << " is no control";
            continue;
        }
        ASSERT_NE(found, f.rows.end()) << id;
        EXPECT_EQ(found->second, Row(demo.cells.begin(), demo.cells.begin() + (mode() == 1 ? 5 : 3)));
    }
    for (const std::wstring& id : kUnlistedDemoClasses)
        EXPECT_FALSE(f.rows.contains(id)) << id;
}

// The default value of a key as text, read straight from Windows; nothing when the key or value is missing.
std::optional<std::wstring> DefaultValue(HKEY classes, const std::wstring& subkey) {
    wchar_t text[2048]{};
    DWORD bytes = sizeof(text) - sizeof(wchar_t);
    if (RegGetValueW(classes, subkey.c_str(), nullptr, RRF_RT_ANY | RRF_NOEXPAND, nullptr, text, &bytes) !=
        ERROR_SUCCESS)
        return std::nullopt;
    return text;
}

bool KeyExists(HKEY classes, const std::wstring& subkey) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(classes, subkey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

// Every class the prefix registers that is a control or has a type library, and has a server file, read
// through another route than the program's registry layer.
std::set<std::wstring> ClassesWithServers(bool detailed) {
    HKEY classes = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Classes\\CLSID", 0, KEY_READ, &classes) !=
        ERROR_SUCCESS)
        return {};
    std::set<std::wstring> listed;
    wchar_t name[256];
    for (DWORD i = 0;; ++i) {
        DWORD length = std::size(name);
        if (RegEnumKeyExW(classes, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        const std::wstring id = name;
        const bool control =
            KeyExists(classes, id + L"\\Control") && !DefaultValue(classes, id + L"\\Control");
        const bool typeLib = DefaultValue(classes, id + L"\\TypeLib").value_or(L"").size() > 1;
        const bool server = DefaultValue(classes, id + L"\\InProcServer32").value_or(L"").size() > 1 ||
                            DefaultValue(classes, id + L"\\LocalServer32").value_or(L"").size() > 1;
        if (server && (control || (detailed && typeLib)))
            listed.insert(id);
    }
    RegCloseKey(classes);
    return listed;
}

TEST_P(ClassListOnWine, WinesOwnClassesAreAllThere) {
    const Filled f = FillClassList(mode());
    std::set<std::wstring> shown;
    for (const auto& [id, row] : f.rows) {
        shown.insert(id);
        EXPECT_EQ(row[1], ProperCasePath(row[1])) << id;
        if (mode() == 1) {
            EXPECT_TRUE(row[3] == L"" || row[3] == L"Ctl" || row[3] == L"C S" || row[3] == L" Svr") << id;
        }
    }
    EXPECT_EQ(shown, ClassesWithServers(mode() == 1));
    RecordProperty("rows", f.rowCount);
    if (mode() == 1) {
        EXPECT_GT(f.rowCount, 50) << "Wine registers many classes with type libraries";
    }
}

INSTANTIATE_TEST_SUITE_P(ListModes, ClassListOnWine, ::testing::Values(0, 1), [](const auto& info) {
    return info.param == 0 ? std::string("Standard") : std::string("Detailed");
});

} // namespace
} // namespace vantrel::test
