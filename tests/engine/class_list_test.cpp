// The class list over an in-memory registry: the letter case of server paths, no bound on the number of
// classes, a stopped fill, and what the rows keep for the commands on them. Which classes each list takes is
// checked on the demo registry's classes (class_list_wine_test.cpp).
#include "engine/text.h"
#include "engine/view_fixture.h"

#include <optional>

namespace vantrel::test {
namespace {

constexpr auto HKLM = RootKey::LocalMachine;
const std::wstring kClasses = L"SOFTWARE\\Classes\\CLSID\\";
const std::wstring kNoValue = L"<a key without a default value>";

struct Registration {
    std::wstring id;
    std::optional<std::wstring> description;
    bool control = false;
    std::optional<std::wstring> inProcServer;
    std::optional<std::wstring> localServer;
    std::optional<std::wstring> typeLib;
};

void Register(MemoryRegistry& memory, const Registration& r) {
    const std::wstring key = kClasses + r.id;
    memory.CreateKey(L"", HKLM, key);
    if (r.description)
        memory.SetString(L"", HKLM, key, L"", *r.description);
    if (r.control)
        memory.CreateKey(L"", HKLM, key + L"\\Control");
    const auto subkey = [&](const wchar_t* name, const std::optional<std::wstring>& value) {
        if (value == kNoValue)
            memory.CreateKey(L"", HKLM, key + L"\\" + name);
        else if (value)
            memory.SetString(L"", HKLM, key + L"\\" + name, L"", *value);
    };
    subkey(L"InProcServer32", r.inProcServer);
    subkey(L"LocalServer32", r.localServer);
    subkey(L"TypeLib", r.typeLib);
}

class ClassListTest : public ViewTest {
protected:
    ClassListTest() {
        for (const Registration& r : std::initializer_list<Registration>{
                 {L"{01}", L"Chart Control", true, L"C:\\Program Files\\Acme\\chart.ocx", {}, L"{71}"},
                 {L"{02}", L"Monitor Control", true, kNoValue, L"\"C:\\WINDOWS\\SYSTEM32\\MONITOR.EXE\""},
                 {L"{03}", L"Backup Session", false, {}, L"C:\\Tools\\backup.exe", L"{73}"},
                 {L"{04}", L"Parser", false, L"c:\\tools\\parser.dll", {}, L"{74}"},
                 {L"{05}", L"Control without a server", true},
                 {L"{06}", {}, true, L"C:\\x\\y.dll"},
                 {L"{07}", L"Type library without a server", false, {}, {}, L"{77}"},
                 {L"{08}", L"Plain class", false, L"C:\\plain.dll"},
                 {L"{09}", L"Empty type library", false, L"C:\\z.dll", {}, kNoValue},
             })
            Register(memory, r);
    }
    View& FillClassList(int listMode) {
        host.listMode = listMode;
        if (!view)
            NewView(L"", ViewKind::ClassList);
        view->fillflex();
        return *view;
    }
};

TEST(ProperCasePath, LowerCaseWithCapitalsAfterEveryBackslash) {
    const struct {
        std::wstring_view path, shown;
    } cases[] = {
        {L"\"C:\\WINDOWS\\SYSTEM32\\ABC.DLL\"", L"C:\\Windows\\System32\\Abc.dll"},
        {L"c:\\program files\\acme tools\\chart.ocx", L"C:\\Program files\\Acme tools\\Chart.ocx"},
        {L"ole32.dll", L"Ole32.dll"},
        {L"\\\\SERVER\\SHARE\\A.DLL", L"\\\\Server\\Share\\A.dll"},
        {L"%SystemRoot%\\SYSTEM32\\x.dll", L"%systemroot%\\System32\\X.dll"},
        // Only quotes around the whole text go: a command line keeps its program quoted.
        {L"\"C:\\Tools\\Conv.exe\" /Automation", L"\"c:\\Tools\\Conv.exe\" /automation"},
        {L"\"\"", L""},
        {L"\"", L"\""},
        {L"", L""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ProperCasePath(c.path), c.shown) << std::wstring(c.path);
}

TEST_F(ClassListTest, ListsEveryClassHoweverManyThereAre) {
    // Beyond the 9,000 entries a class list once held: the control listed last comes after 9,100 classes.
    for (int i = 0; i < 9100; ++i)
        memory.CreateKey(L"", HKLM, kClasses + L"{C" + std::to_wstring(10000 + i) + L"}");
    Register(memory, {L"{Z}", L"Last Control", true, L"C:\\last.ocx"});
    FillClassList(0);
    EXPECT_EQ(Column(3), (Texts{L"{01}", L"{02}", L"{06}", L"{Z}"}));
}

TEST_F(ClassListTest, StoppedOrAbandonedFillsKeepTheRowsFound) {
    for (const bool abandoned : {false, true}) {
        SCOPED_TRACE(abandoned ? "window closed" : "stopped");
        view.reset();
        NewView(L"", ViewKind::ClassList);
        size_t queriesWhenStopped = 0;
        host.eventRuns = 0;
        host.onEvents = [&] {
            if (host.eventRuns != 5) // before the fifth class: the four before it are all taken
                return;
            abandoned ? view->Abandon() : view->Stop();
            queriesWhenStopped = memory.QueryCount();
        };
        View& v = FillClassList(1);
        EXPECT_EQ(Column(3), (Texts{L"{01}", L"{02}", L"{03}", L"{04}"}));
        EXPECT_EQ(v.grid.Rows(), 5);
        EXPECT_EQ(v.state(), ViewState::Idle);
        EXPECT_EQ(memory.QueryCount(), queriesWhenStopped) << "classes read after the stop";
    }
}

TEST_F(ClassListTest, RowsKeepTheirClassForTheCommandsOnThem) {
    View& v = FillClassList(1);
    EXPECT_EQ(v.rowCount, 5); // {05}, {07}, {08} and {09} have no server or are no control and no library
    EXPECT_EQ(v.columns.head.title, L"Class-IDs");
    v.FlipSort(1); // by description: "?" first
    for (int row = 1; row < v.grid.Rows(); ++row) {
        EXPECT_EQ(v.ItemOfGridRow(row), v.grid.TextMatrix(row, 3)) << row;
        EXPECT_EQ(v.CellPath(row, 3), v.grid.TextMatrix(row, 3)) << row;
        EXPECT_EQ(v.CellPath(row, 2), v.grid.TextMatrix(row, 2)) << row;
    }
    EXPECT_EQ(v.grid.TextMatrix(1, 3), L"{06}");
}

} // namespace
} // namespace vantrel::test
