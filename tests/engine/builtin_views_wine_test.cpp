// Every built-in registry view filled from the real registry of the test prefix, with the demo registry
// imported, in the standard and in the detailed list. Where the prefix has keys of its own next to the demo
// ones (classes, services, categories, AppIDs, Wine's display adapter and hotfix), the demo rows are looked
// up by their keys and the rows a condition must drop are checked to be absent; elsewhere the whole table is.
#include "engine/scripted_host.h"
#include "platform/win_registry.h"
#include "views/catalogue.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cwchar>

namespace vantrel::test {
namespace {

using Row = std::vector<std::wstring>;

// The variables of this process, as the program reads them (%Windir% in the updates' file view).
class ProcessEnvironment final : public Environment {
public:
    std::wstring Variable(std::wstring_view name) const override {
        const std::wstring variable(name);
        std::wstring value(32767, L'\0');
        const DWORD length = GetEnvironmentVariableW(variable.c_str(), value.data(), 32767);
        value.resize(length < 32767 ? length : 0);
        return value;
    }
};

// A value of HKLM\SOFTWARE\Microsoft\Windows NT\CurrentVersion, read directly through the Windows API.
std::wstring CurrentVersionValue(const wchar_t* name) {
    wchar_t value[256]{};
    DWORD size = sizeof(value);
    if (RegGetValueW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", name,
                     RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
        return {};
    return value;
}

// How every registry view's caption ends on this prefix: with the Windows version the prefix reports, as
// "v" + CurrentVersion + "sp" + the service pack's number ("v6.1sp1" for "6.1" and "Service Pack 1").
std::wstring LocalViewCaptionEnd() {
    const std::wstring version = CurrentVersionValue(L"CurrentVersion");
    std::wstring pack = CurrentVersionValue(L"CSDVersion");
    constexpr std::wstring_view kServicePack = L"Service Pack ";
    if (pack.starts_with(kServicePack))
        pack = L"sp" + pack.substr(kServicePack.size());
    const std::wstring os = (version.empty() ? L"" : L"v" + version) + pack;
    return L" view - Local" + (os.empty() ? L"" : L" - " + os);
}
const std::wstring kLocalView = LocalViewCaptionEnd();

struct Filled {
    std::wstring caption;
    Row headers;                    // grid row 0, without the row-number column
    std::vector<Row> rows;          // data rows, without the row-number column
    std::vector<std::wstring> keys; // the row key of every data row
    std::vector<std::wstring> prompts;
};

// Fills built-in view `number` in list mode `mode` (0 standard, 1 detailed); `dataVariable` answers the
// question for the data variable.
Filled FillBuiltIn(int number, int mode, std::wstring dataVariable = {}) {
    WinRegistryApi api;
    Registry registry{api};
    FakeFiles files;
    FakeComputers computers;
    ProcessEnvironment environment;
    MatchList matchList;
    FakeIniFiles ini;
    ScriptedHost host;
    host.listMode = mode;
    host.textAnswer = std::move(dataVariable);
    View view(ViewServices{registry, files, computers, environment, matchList, ini}, host,
              kTwipsPerPixelAt96Dpi);
    view.definition = ResolveBuiltInView(std::to_wstring(number));
    view.fillflex();

    Filled filled{host.caption, {}, {}, view.RowKeys(), host.prompts};
    for (int c = 1; c < view.grid.Cols(); ++c)
        filled.headers.push_back(view.grid.TextMatrix(0, c));
    for (int r = 1; r < view.grid.Rows(); ++r) {
        EXPECT_EQ(view.grid.TextMatrix(r, 0), std::to_wstring(r)) << "row number of row " << r;
        Row row;
        for (int c = 1; c < view.grid.Cols(); ++c)
            row.push_back(view.grid.TextMatrix(r, c));
        filled.rows.push_back(std::move(row));
    }
    EXPECT_EQ(view.rowCount, static_cast<int>(filled.rows.size()));
    EXPECT_EQ(filled.keys.size(), filled.rows.size());
    return filled;
}

// What a view shows in each list: the order characters of its definition, and the headers in the order of
// the detailed list. Expected rows are written in that order too; the standard list shows a selection.
struct Shape {
    std::wstring standard;
    std::wstring detailed;
    Row headers;
};

Row Shown(const Row& detailed, const Shape& shape, int mode) {
    if (mode == 1)
        return detailed;
    Row shown;
    for (const wchar_t c : shape.standard) {
        const size_t at = shape.detailed.find(c);
        shown.push_back(at < detailed.size() ? detailed[at] : L"<not in the detailed list>");
    }
    return shown;
}

void ExpectCaptionAndHeaders(const Filled& filled, const std::wstring& title, const Shape& shape, int mode) {
    EXPECT_EQ(filled.caption, title + kLocalView);
    EXPECT_EQ(filled.headers, Shown(shape.headers, shape, mode));
}

struct Expected {
    std::wstring key;
    Row cells; // in the order of the detailed list
};

// Rows whose key is one of their cells.
std::vector<Expected> Keyed(const std::vector<Row>& rows, size_t keyAt = 0) {
    std::vector<Expected> expected;
    for (const Row& row : rows)
        expected.push_back({row[keyAt], row});
    return expected;
}

size_t CountKey(const Filled& filled, std::wstring_view key) {
    return static_cast<size_t>(std::count(filled.keys.begin(), filled.keys.end(), key));
}
const Row* RowOf(const Filled& filled, std::wstring_view key) {
    const auto found = std::find(filled.keys.begin(), filled.keys.end(), key);
    return found == filled.keys.end() ? nullptr
                                      : &filled.rows[static_cast<size_t>(found - filled.keys.begin())];
}

// Each expected row appears once, with exactly these cells; other rows may appear too.
void ExpectRows(const Filled& filled, const std::vector<Expected>& expected, const Shape& shape, int mode) {
    for (const Expected& row : expected) {
        EXPECT_EQ(CountKey(filled, row.key), 1u) << row.key;
        if (const Row* found = RowOf(filled, row.key)) {
            EXPECT_EQ(*found, Shown(row.cells, shape, mode)) << row.key;
        }
    }
}

// The view shows the expected rows and nothing else.
void ExpectTable(const Filled& filled, const std::vector<Expected>& expected, const Shape& shape, int mode) {
    EXPECT_EQ(filled.rows.size(), expected.size());
    ExpectRows(filled, expected, shape, mode);
}

void ExpectAbsent(const Filled& filled, const std::vector<std::wstring>& keys) {
    for (const std::wstring& key : keys)
        EXPECT_EQ(CountKey(filled, key), 0u) << key << " should have been dropped";
}

// The subkeys of a key, read directly through the Windows API.
size_t SubkeyCount(HKEY root, const wchar_t* path) {
    HKEY key = nullptr;
    DWORD count = 0;
    if (RegOpenKeyExW(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return 0;
    RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr, nullptr, nullptr,
                     nullptr, nullptr);
    RegCloseKey(key);
    return count;
}

class BuiltInViewsOnWine : public ::testing::TestWithParam<int> {
protected:
    int mode() const { return GetParam(); }
};

// --- Views of keys only the demo registry fills --------------------------------------------------------

TEST_P(BuiltInViewsOnWine, InstalledSoftwareFallsBackToTheKeyWithoutDisplayName) {
    const Shape shape(L"1245", L"012AB3789456",
                      {L"Key", L"DisplayName", L"Version", L"V", L"r", L"Date", L"!M", L"!U", L"!R",
                       L"Publisher", L"UninstallString", L"Source"});
    const Filled f = FillBuiltIn(1, mode());
    ExpectCaptionAndHeaders(f, L"Installed", shape, mode());
    const std::wstring acme = L"{1F7CBE67-3193-435D-A2CF-C8A2BF35C08E}";
    const std::wstring northwind = L"{034251E9-C6E6-49E8-9AD8-E9F1D118D8A0}";
    const std::wstring contoso = L"{43E85D16-7A7F-4E83-9D95-2A50E8069E3E}";
    ExpectTable(
        f,
        Keyed({{acme, L"Acme Tools 4.2", L"4.2.1180", L"4", L"2", L"20240312", L"", L"", L"",
                L"Acme Software Ltd.", L"MsiExec.exe /X" + acme, L"D:\\Setup\\AcmeTools\\"},
               {northwind, L"Northwind Report Designer 2.1", L"2.1.407", L"2", L"1", L"20231107", L"", L"",
                L"1", L"Northwind Traders", L"MsiExec.exe /X" + northwind,
                L"\\\\fileserver\\deploy\\Northwind\\ReportDesigner\\"},
               {contoso, L"Contoso PDF Printer", L"7.0.3", L"7", L"0", L"20240119", L"1", L"1", L"",
                L"Contoso Ltd.", L"MsiExec.exe /X" + contoso, L"C:\\Windows\\Temp\\cpdf7\\"},
               {L"OrbitImageViewer", L"Orbit Image Viewer 3.9.2", L"3.9.2", L"3", L"9", L"20240228", L"", L"",
                L"", L"Orbit Labs", L"\"C:\\Program Files\\Orbit Image Viewer\\uninst.exe\"",
                L"C:\\Users\\maria\\Downloads\\"},
               {L"KB3104521", L"Security Update for Windows (KB3104521)", L"1", L"1", L"0", L"20240305", L"",
                L"", L"", L"Microsoft Corporation",
                L"\"C:\\Windows\\$NtUninstallKB3104521$\\spuninst\\spuninst.exe\"",
                L"C:\\Windows\\SoftwareDistribution\\Download\\KB3104521\\"},
               {L"AcmeUpdateHelper", L"AcmeUpdateHelper", L"", L"1", L"4", L"", L"", L"", L"", L"",
                L"\"C:\\Program Files\\Acme Tools\\Update\\acmeupd.exe\" /uninstall", L""}}),
        shape, mode());
}

TEST_P(BuiltInViewsOnWine, ComponentsOfAProductReadThePackedProductCode) {
    const Shape shape(L"01", L"01", {L"Component-ID", L"Key Path"});
    const std::wstring pdfKit = L"C:\\Program Files\\Common Files\\PDF Kit\\pdfkit32.dll";
    // Acme Tools 4.2: its own component and the two it shares; not the one of Acme Tools 3.
    const Filled acme = FillBuiltIn(3, mode(), L"{1F7CBE67-3193-435D-A2CF-C8A2BF35C08E}");
    EXPECT_EQ(acme.prompts, (std::vector<std::wstring>{L"Enter the data variable:"}));
    ExpectCaptionAndHeaders(acme, L"Components of {1F7CBE67-3193-435D-A2CF-C8A2BF35C08E}", shape, mode());
    ExpectTable(acme,
                Keyed({{L"FA6F2F269ACF41B47B62F8F1EFDB519F", L"C:\\Program Files\\Acme Tools\\acme.exe"},
                       {L"713D9E991D05AE848990FCFB074BC6B3",
                        L"C:\\Program Files\\Common Files\\Shared Report Runtime\\rptrt40.dll"},
                       {L"4398B97B3A6A9FB4680C06218F97D569", pdfKit}}),
                shape, mode());
    // Contoso PDF Printer: the shared PDF kit and the port monitor kept as a permanent component.
    const Filled contoso = FillBuiltIn(3, mode(), L"{43E85D16-7A7F-4E83-9D95-2A50E8069E3E}");
    ExpectTable(contoso,
                Keyed({{L"4398B97B3A6A9FB4680C06218F97D569", pdfKit},
                       {L"FA2046993F5268E408E86B4CEFA22DC4", L"C:\\Windows\\system32\\cpdfmon.dll"}}),
                shape, mode());
}

TEST_P(BuiltInViewsOnWine, XpUpdatesAndTheFilesTheyReplacedOutsideDllcache) {
    const Shape updateShape(
        L"0123", L"012345",
        {L"Hotfix", L"Description", L"Type", L"InstalledDate", L"InstalledBy", L"UninstallCommand"});
    const auto update = [](std::wstring sp, std::wstring kb, std::wstring description, std::wstring date,
                           std::wstring by) {
        const std::wstring uninstall = L"C:\\windows\\$NtUninstall" + kb + L"$\\spuninst\\spuninst.exe";
        return Row{sp + L"\\" + kb, description, L"Update", date, by, uninstall};
    };
    const Filled updates = FillBuiltIn(12, mode());
    ExpectCaptionAndHeaders(updates, L"Windowx XP Updates", updateShape, mode());
    ExpectTable(
        updates,
        Keyed({update(L"SP0", L"KB898461", L"Package Installer for Windows XP (KB898461)", L"3/12/2024",
                      L"Administrator"),
               update(L"SP3", L"KB2393802", L"Security Update for Windows XP (KB2393802)", L"3/5/2024",
                      L"maria"),
               update(L"SP3", L"KB2479628", L"Security Update for Windows XP (KB2479628)", L"3/5/2024",
                      L"maria"),
               update(L"SP3", L"KB2691442", L"Update for Windows XP (KB2691442)", L"3/6/2024", L"maria")}),
        updateShape, mode());

    // The copies in Dllcache (%Windir%\System32\Dllcache) are left out; KB2691442 has no file list.
    const Shape fileShape(L"0123", L"01234",
                          {L"Registry location", L"Filename", L"Version", L"Location", L"BuildDate"});
    const Filled files = FillBuiltIn(13, mode());
    ExpectCaptionAndHeaders(files, L"Files in XP Updates", fileShape, mode());
    ExpectTable(files,
                Keyed({{L"SP0\\KB898461\\FileList\\0", L"spupdsvc.exe", L"6.2.29.0", L"C:\\windows\\system32",
                        L"Thu Jan 25 16:11:35 2007"},
                       {L"SP3\\KB2393802\\FileList\\0", L"ntoskrnl.exe", L"5.1.2600.6055",
                        L"C:\\windows\\system32", L"Tue Dec 07 14:29:45 2010"},
                       {L"SP3\\KB2479628\\FileList\\0", L"win32k.sys", L"5.1.2600.6087",
                        L"C:\\windows\\system32", L"Wed Mar 02 13:53:32 2011"}}),
                fileShape, mode());
    ExpectAbsent(files, {L"SP3\\KB2393802\\FileList\\1", L"SP3\\KB2479628\\FileList\\1"});
}

// The products under S-1-5-18: packed code, name, version, package name (from HKCR\Installer\Products),
// source, local package and comments.
const std::vector<Row> kMachineProducts{
    {L"76EBC7F13913D5342AFC8C2AFB530CE8", L"Acme Tools 4.2", L"4.2.1180", L"acme_tools.msi",
     L"D:\\Setup\\AcmeTools\\", L"C:\\Windows\\Installer\\1a2b3c.msi",
     L"Chart and gauge controls, backup agent"},
    {L"9E1524306E6C8E94A98D9E1F1D818D0A", L"Northwind Report Designer 2.1", L"2.1.407",
     L"NwReportDesigner21.msi", L"\\\\fileserver\\deploy\\Northwind\\ReportDesigner\\",
     L"C:\\Windows\\Installer\\4f8e21.msi", L"Deployed by group policy"},
    {L"61D58E34F7A738E4D959A2058E60E9E3", L"Contoso PDF Printer", L"7.0.3", L"cpdfprinter_x64.msi",
     L"C:\\Windows\\Temp\\cpdf7\\", L"C:\\Windows\\Installer\\9c07d5.msi", L""}};

TEST_P(BuiltInViewsOnWine, MsiInstallationsOfTheMachine) {
    const Shape shape(L"12345", L"0123456",
                      {L"Key", L"DisplayName", L"DisplayVersion", L"Packagename", L"InstallSource",
                       L"LocalPackage", L"Comments"});
    const Filled f = FillBuiltIn(14, mode());
    ExpectCaptionAndHeaders(f, L"MSI Installations", shape, mode());
    ExpectTable(f, Keyed(kMachineProducts), shape, mode());
}

TEST_P(BuiltInViewsOnWine, MsiInstallationsOfAllUsersSplitTheKeyIntoCodeAndUser) {
    const Shape shape(L"1234567", L"12345678",
                      {L"Key", L"DisplayName", L"DisplayVersion", L"Packagename", L"InstallSource", L"User",
                       L"LocalPackage", L"Comments"});
    const auto product = [](const std::wstring& user, const Row& p) {
        return Expected{user + L"\\Products\\" + p[0], {p[0], p[1], p[2], p[3], p[4], user, p[5], p[6]}};
    };
    const std::wstring maria = L"S-1-5-21-1004336348-1177238915-682003330-1001";
    std::vector<Expected> expected;
    for (const Row& p : kMachineProducts)
        expected.push_back(product(L"S-1-5-18", p));
    expected.push_back(product(maria, {L"516083C30038B414BB518CFF347F9C24", L"Fabrikam Notes 3.5", L"3.5.12",
                                       L"FabrikamNotes.msi", L"C:\\Users\\maria\\Downloads\\FabrikamNotes\\",
                                       L"C:\\Windows\\Installer\\2d6e0a.msi", L"Per-user installation"}));
    expected.push_back(
        product(maria, {L"F178A8F9DD0A99B41A992F573F311672", L"Tailspin Sync Client", L"1.8.0.2210",
                        L"tsync-1.8-beta.msi", L"C:\\Users\\maria\\AppData\\Local\\Temp\\tsync18\\",
                        L"C:\\Windows\\Installer\\7b41f9.msi", L"Beta channel"}));
    for (const int number : {15, 16}) {
        SCOPED_TRACE(number);
        const Filled f = FillBuiltIn(number, mode());
        ExpectCaptionAndHeaders(f, L"MSI Installations", shape, mode());
        ExpectTable(f, expected, shape, mode()); // the ...-1002 user has no Products key
    }
}

// --- Class views of one data variable: the filter leaves only demo classes -----------------------------
// Their rows are keyed by the Cls-ID column, the fourth of both lists.

const std::wstring kChart = L"{441D94CB-16C9-48F9-B33C-9BA0B9134396}";
const std::wstring kGauge = L"{2004E6A0-2FEA-43AB-B5A8-394334E7B3BB}";
const std::wstring kChartPage = L"{B674D85A-7A43-4B2D-8FFC-3DDEF1543AD2}";
const std::wstring kSession = L"{E5B51FCD-0F22-4435-8600-08480C9206A6}";
const std::wstring kScheduler = L"{BB4F0A96-09AE-4EB5-B433-73FA5FF68D66}";
const std::wstring kViewer = L"{5B653D1F-36B5-461E-A82A-4392A235A87C}";
const std::wstring kChartLib = L"{1978ADAB-C873-47B5-8B0C-E42991CD9CE7}";
const std::wstring kBackupLib = L"{0366CE6F-02B0-464B-B736-CB9828E3F557}";
const std::wstring kOcx = L"C:\\Program Files\\Acme Tools\\acmechart.ocx";
const std::wstring kAcmeSrv = L"C:\\Program Files\\Acme Tools\\acmesrv.exe";
const std::wstring kNwrView = L"C:\\Program Files\\Northwind\\Report Designer\\nwrview.dll";

TEST_P(BuiltInViewsOnWine, ClassesWithTheSameServer) {
    const Shape inprocShape(
        L"4710235", L"4710235",
        {L"InprocSrv32", L"Prog-ID", L"Description", L"Cls-ID", L"ActX", L"TypeLib", L"Fixed"});
    const Filled inproc = FillBuiltIn(4, mode(), kChart);
    EXPECT_EQ(inproc.prompts.size(), 1u);
    ExpectCaptionAndHeaders(inproc, L"Classes with same InprocSrv32", inprocShape, mode());
    ExpectTable(inproc,
                Keyed({{kOcx, L"Acme.Chart", L"Acme Chart Control", kChart, L"!", kChartLib, kOcx},
                       {kOcx, L"Acme.Gauge.1", L"Acme Gauge Control", kGauge, L"!", kChartLib, kOcx},
                       {kOcx, L"", L"Acme Chart Property Page", kChartPage, L"", L"", kOcx}},
                      3),
                inprocShape, mode());

    Shape localShape = inprocShape;
    localShape.headers[0] = L"LocalSrv32";
    const Filled local = FillBuiltIn(5, mode(), kSession);
    ExpectCaptionAndHeaders(local, L"Classes with same LocalSrv32", localShape, mode());
    ExpectTable(local,
                Keyed({{kAcmeSrv, L"AcmeBackup.Session.1", L"Acme Backup Session", kSession, L"", kBackupLib,
                        kAcmeSrv},
                       {kAcmeSrv, L"", L"Acme Backup Scheduler", kScheduler, L"", kBackupLib, kAcmeSrv}},
                      3),
                localShape, mode());
}

TEST_P(BuiltInViewsOnWine, ClassesWithTheSameTypeLibrary) {
    // The data variable is the type library itself: the TypeLib column must equal it.
    const Shape shape(L"157023", L"157023",
                      {L"Description", L"Registered file", L"Prog-ID", L"Cls-ID", L"ActX", L"TypeLib"});
    const Filled chart = FillBuiltIn(6, mode(), kChartLib);
    ExpectCaptionAndHeaders(chart, L"Classes with same Typelib", shape, mode());
    ExpectTable(chart,
                Keyed({{L"Acme Chart Control", kOcx, L"Acme.Chart", kChart, L"!", kChartLib},
                       {L"Acme Gauge Control", kOcx, L"Acme.Gauge.1", kGauge, L"!", kChartLib}},
                      3),
                shape, mode());
    // Local servers have no InprocServer32: the registered file falls back to LocalServer32.
    const Filled backup = FillBuiltIn(6, mode(), kBackupLib);
    ExpectTable(backup,
                Keyed({{L"Acme Backup Session", kAcmeSrv, L"AcmeBackup.Session.1", kSession, L"", kBackupLib},
                       {L"Acme Backup Scheduler", kAcmeSrv, L"", kScheduler, L"", kBackupLib}},
                      3),
                shape, mode());
}

// --- Views of keys the prefix shares with Wine ----------------------------------------------------------

TEST_P(BuiltInViewsOnWine, ActiveXControlsNeedAControlKeyOrATypeLibrary) {
    const Shape shape(L"01345", L"013457",
                      {L"Class-ID", L"Description", L"Registered file", L"ActX", L"TypeLib", L"Prog-ID"});
    const Filled f = FillBuiltIn(2, mode());
    ExpectCaptionAndHeaders(f, L"ActiveX Controls", shape, mode());
    ExpectRows(f,
               Keyed({{kChart, L"Acme Chart Control", kOcx, L"!", kChartLib, L"Acme.Chart"},
                      {kGauge, L"Acme Gauge Control", kOcx, L"!", kChartLib, L"Acme.Gauge.1"},
                      {kSession, L"Acme Backup Session", kAcmeSrv, L"", kBackupLib, L"AcmeBackup.Session.1"},
                      {kScheduler, L"Acme Backup Scheduler", kAcmeSrv, L"", kBackupLib, L""},
                      {kViewer, L"Northwind Report Viewer Control", kNwrView, L"!",
                       L"{D45BA16A-7656-4F87-96B4-E2C1ACCD06E7}", L"Northwind.ReportViewer.2"}}),
               shape, mode());
    // Neither a Control key nor a type library: the property page, the converter, the shell extension.
    ExpectAbsent(f, {kChartPage, L"{41809686-6630-4E7B-B1F1-5412E0717F43}",
                     L"{42706D50-A7E2-499A-A14C-7C0F1095418D}"});
    for (const Row& row : f.rows) // Wine's classes too
        EXPECT_TRUE(!row[3].empty() || !row[4].empty()) << row[0];
}

TEST_P(BuiltInViewsOnWine, ComponentCategoriesDescribeInTheFirstLocaleFound) {
    const Shape shape(L"04", L"04", {L"Component Category", L"Description"});
    const Filled f = FillBuiltIn(7, mode());
    ExpectCaptionAndHeaders(f, L"Component Categories", shape, mode());
    ExpectRows(f,
               Keyed({{L"{B4DC7422-352F-4EF9-A7A3-83F7755D65A0}", L"Acme Chart Data Providers"},
                      {L"{83B17E48-F055-4912-B75F-84CC40C4F222}", L"Northwind Report Data Sources"},
                      {L"{C95FE315-AEA4-4ABA-BB56-8D32B22BB75A}", L"Contoso Print Filters"},
                      {L"{722AF6EB-7DCA-4255-A2DA-33E3DFE4B56F}", L"Fabrikam Note Templates"},
                      {L"{A4CF1AF8-A2F2-47B6-BBD4-B53DCEE20C51}", L"Tailspin Sync Providers"}}),
               shape, mode());
    EXPECT_EQ(f.rows.size(), SubkeyCount(HKEY_CLASSES_ROOT, L"Component Categories")); // no condition
}

TEST_P(BuiltInViewsOnWine, ServicesLeaveOutDrivers) {
    const Shape shape(L"123456", L"0123456789",
                      {L"Name", L"DisplayName", L"Program", L"Start", L"Group", L"Type", L"Account",
                       L"DependOnGroup", L"DependOnService", L"Description"});
    const Filled f = FillBuiltIn(8, mode());
    ExpectCaptionAndHeaders(f, L"Registered services", shape, mode());
    // Multi-strings keep their inner NULs and one of the two closing ones.
    const auto multi = [](const wchar_t* text, size_t size) {
        return std::wstring(text, size);
    };
    const std::wstring svchost = L"%SystemRoot%\\system32\\svchost.exe -k ";
    ExpectRows(
        f,
        Keyed(
            {{L"AcmeBackupSvc", L"Acme Backup Agent",
              L"\"C:\\Program Files\\Acme Tools\\acmesrv.exe\" -service", L"3", L"", L"16", L"LocalSystem",
              L"", multi(L"RpcSs\0LanmanWorkstation\0", 24),
              L"Runs scheduled backups and hosts the Acme Backup COM server."},
             {L"NwReportScheduler", L"Northwind Report Scheduler",
              L"C:\\Program Files\\Northwind\\Report Designer\\nwsched.exe", L"3", L"NetworkProvider", L"16",
              L"NT AUTHORITY\\LocalService", L"", multi(L"Tcpip\0", 6),
              L"Renders and mails scheduled Northwind reports."},
             {L"ContosoPdfMonitor", L"Contoso PDF Port Monitor",
              L"C:\\Program Files\\Contoso\\PDF Printer\\cpdfsvc.exe", L"3", L"SpoolerGroup", L"16",
              L"LocalSystem", multi(L"SpoolerGroup\0", 13), multi(L"Spooler\0RpcSs\0", 14),
              L"Converts print jobs sent to the Contoso PDF printer."},
             {L"TailspinSyncDemo", L"Tailspin Sync Service", svchost + L"TailspinSync", L"3", L"", L"32",
              L"NT AUTHORITY\\NetworkService", multi(L"NetworkProvider\0", 16),
              multi(L"Tcpip\0Dnscache\0LanmanWorkstation\0", 33), L"Keeps Tailspin Sync folders up to date."},
             {L"FabrikamIndexDemo", L"Fabrikam Notes Indexer", svchost + L"FabrikamSvcs", L"4", L"", L"32",
              L"LocalSystem", L"", L"", L"Indexes Fabrikam notes for search. Disabled by default."}}),
        shape, mode());
    ExpectAbsent(f, {L"e1000demo", L"ahcidemo", L"uhcidemo"});
    const size_t type = mode() == 1 ? 5 : 4;
    for (const Row& row : f.rows) // Wine's services too
        EXPECT_GT(std::wcstoul(row[type].c_str(), nullptr, 10), 15ul) << row[0];
}

TEST_P(BuiltInViewsOnWine, ComApplicationsLeaveOutExecutableNameKeys) {
    const Shape shape(L"013469", L"013469a78Bc",
                      {L"App-ID", L"Appid", L"Description", L"Service", L"Localserver32", L"RunAs",
                       L"ServiceParameters", L"Launch", L"Access", L"AllowRemoteActivation",
                       L"Inprocserver32"});
    const Filled f = FillBuiltIn(9, mode());
    ExpectCaptionAndHeaders(f, L"COM Components", shape, mode());
    const std::wstring converter = L"{41809686-6630-4E7B-B1F1-5412E0717F43}";
    // The demo's permissions are named LaunchPermission and AccessPermission: the view's columns stay empty.
    ExpectRows(f,
               Keyed({{kSession, L"", L"Acme Backup Agent", L"AcmeBackupSvc", kAcmeSrv, L"", L"-com", L"",
                       L"", L"", L""},
                      {kViewer, L"", L"Northwind Report Viewer", L"", L"", L"", L"", L"", L"", L"", kNwrView},
                      {converter, L"", L"Contoso PDF Converter", L"",
                       L"\"C:\\Program Files\\Contoso\\PDF Printer\\cpdfconv.exe\" /automation",
                       L"Interactive User", L"", L"", L"", L"", L""}}),
               shape, mode());
    ExpectAbsent(f, {L"acmesrv.exe", L"cpdfconv.exe"});
    for (const Row& row : f.rows) // Wine's AppIDs too
        EXPECT_EQ(row[1], L"") << row[0];
}

TEST_P(BuiltInViewsOnWine, PciDevicesShowTheImageOfTheirActiveService) {
    const Shape shape(L"01235", L"012345678",
                      {L"DeviceKeyString", L"Class", L"Description", L"Mfg", L"Service", L"Active",
                       L"ImagePath", L"Location", L"FriendlyName"});
    const Filled f = FillBuiltIn(10, mode());
    ExpectCaptionAndHeaders(f, L"PCI devices", shape, mode());
    const std::wstring uhci = L"VEN_8086&DEV_2934&SUBSYS_11001AF4&REV_03\\3&267A616A&0&";
    const std::wstring ich9 = L"Intel(R) ICH9 Family USB Universal Host Controller - ";
    ExpectRows(
        f,
        Keyed({{L"VEN_8086&DEV_100E&SUBSYS_001E8086&REV_02\\3&267A616A&0&18", L"Net",
                L"Intel(R) PRO/1000 MT Network Connection", L"Intel", L"e1000demo", L"e1000demo",
                L"system32\\drivers\\e1000demo.sys", L"PCI bus 0, device 3, function 0",
                L"Intel(R) PRO/1000 MT Network Connection #2"},
               {L"VEN_8086&DEV_2922&SUBSYS_11001AF4&REV_02\\3&267A616A&0&FA", L"HDC",
                L"Intel(R) ICH9R/DO/DH 6 Port SATA AHCI Controller", L"Intel", L"ahcidemo", L"ahcidemo",
                L"system32\\drivers\\ahcidemo.sys", L"PCI bus 0, device 31, function 2", L""},
               {uhci + L"E8", L"USB", ich9 + L"2934", L"Intel", L"uhcidemo", L"uhcidemo",
                L"system32\\drivers\\uhcidemo.sys", L"PCI bus 0, device 29, function 0",
                L"USB Host Controller (port 1-2)"},
               // Never started: no Control key, so no active service and no image.
               {uhci + L"E9", L"USB", ich9 + L"2935", L"Intel", L"uhcidemo", L"", L"",
                L"PCI bus 0, device 29, function 1", L""}}),
        shape, mode());
    ExpectAbsent(f,
                 {L"VEN_8086&DEV_29C0&SUBSYS_11001AF4&REV_00\\3&267A616A&0&00"}); // the "System" host bridge
    for (const Row& row : f.rows) // Wine's display adapter too
        EXPECT_NE(LowerCase(row[1]), L"system") << row[0];
}

TEST_P(BuiltInViewsOnWine, Hotfixes) {
    const Shape shape(
        L"01234", L"0123456",
        {L"Hotfix", L"Description", L"SP", L"Installed", L"Valid", L"Installed On", L"Installed By"});
    const Filled f = FillBuiltIn(11, mode());
    ExpectCaptionAndHeaders(f, L"Windows Hotfixes", shape, mode());
    ExpectRows(
        f,
        Keyed({{L"Q328310", L"Windows 2000 Hotfix (Pre-SP4) Q328310", L"3", L"1", L"1", L"20230918",
                L"Administrator"},
               {L"KB823980", L"Security Update for Windows (KB823980)", L"4", L"1", L"1", L"20231003",
                L"Administrator"},
               {L"KB835732", L"Security Update for Windows (KB835732)", L"4", L"1", L"1", L"20240115",
                L"maria"},
               {L"KB840987", L"Update for Windows (KB840987)", L"4", L"1", L"0", L"20240220", L"maria"}}),
        shape, mode());
    EXPECT_EQ(f.rows.size(),
              SubkeyCount(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows NT\\CurrentVersion\\HotFix"));
}

INSTANTIATE_TEST_SUITE_P(Lists, BuiltInViewsOnWine, ::testing::Values(0, 1),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return std::string(info.param == 0 ? "Standard" : "Detailed");
                         });

} // namespace
} // namespace vantrel::test
