// Command strings as other programs send them: on the command line of a first start, and over DDE to the
// running program. The views they open are read from outside: captions, and the grid's table as its text.
#include "blackbox/process.h"
#include "platform/dde.h"
#include "shell/main_menu_ids.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ranges>
#include <vector>

namespace vantrel::test {
namespace {

using namespace std::chrono_literals;
using Table = std::vector<std::vector<std::wstring>>;

std::vector<std::wstring> Split(std::wstring_view text, std::wstring_view separator) {
    std::vector<std::wstring> parts;
    for (const auto part : std::views::split(text, separator))
        parts.emplace_back(part.begin(), part.end());
    return parts;
}

// The program's view windows, the most recently activated first.
std::vector<HWND> ViewWindows(HWND mainWindow) {
    std::vector<HWND> views;
    const HWND client = FindWindowExW(mainWindow, nullptr, L"MDIClient", nullptr);
    for (HWND child = GetWindow(client, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
        views.push_back(child);
    return views;
}

std::wstring Caption(HWND hwnd) {
    wchar_t text[1024]{};
    GetWindowTextW(hwnd, text, 1024);
    return text;
}

Table GridTable(HWND view) {
    Table table;
    for (const std::wstring& line :
         Split(WindowText(FindWindowExW(view, nullptr, L"VantrelGrid", nullptr)), L"\r\n"))
        table.push_back(Split(line, L"\t"));
    return table;
}

std::vector<std::wstring> Column(const Table& table, size_t col) {
    std::vector<std::wstring> cells;
    for (size_t row = 1; row < table.size(); ++row)
        cells.push_back(col < table[row].size() ? table[row][col] : L"");
    return cells;
}

std::optional<bool> Execute(std::wstring_view commands) {
    return SendDdeExecute(L"Kivo", L"Vantrel", commands);
}

// A folder and an ini file whose names have blanks and a "]".
struct IniFile {
    IniFile() {
        folder = TempFolder(L"vantrel cmd]test");
        path = folder + L"\\my settings.ini";
        WritePrivateProfileStringW(L"Fonts", L"Arial", L"arial.ttf", path.c_str());
        WritePrivateProfileStringW(L"Colors", L"Window", L"255 255 255", path.c_str());
        WritePrivateProfileStringW(nullptr, nullptr, nullptr, path.c_str());
    }
    ~IniFile() {
        DeleteFileW(path.c_str());
        RemoveDirectoryW(folder.c_str());
    }
    std::wstring folder;
    std::wstring path;
};

TEST(Commands, OpenDetailSortAndCloseViewsOfTheRunningProgram) {
    KivoProcess kivo(L"[OpenSW][Detail 1]");
    HWND main = nullptr;
    ASSERT_TRUE(
        PumpUntil([&] { return (main = VisibleWindowOf(kivo, L"VantrelMainWindow")) != nullptr; }, 20s));
    // Other programs' commands wait until the command line has run.
    ASSERT_TRUE(PumpUntil([] { return Execute(L"").has_value(); }, 20s));

    std::vector<HWND> views = ViewWindows(main);
    ASSERT_EQ(views.size(), 1u);
    EXPECT_TRUE(Caption(views[0]).starts_with(L"Installed view - Local")) << Caption(views[0]);
    Table table = GridTable(views[0]);
    ASSERT_GT(table.size(), 3u);
    ASSERT_GE(table[0].size(), 6u);
    // The detailed list: the key comes first, then the name and the version parts.
    EXPECT_EQ(std::vector<std::wstring>(table[0].begin() + 1, table[0].begin() + 6),
              (std::vector<std::wstring>{L"Key", L"DisplayName", L"Version", L"V", L"r"}));

    ASSERT_EQ(Execute(L"[Sort 3]"), true);
    const std::vector<std::wstring> ascending = Column(GridTable(views[0]), 3);
    ASSERT_EQ(Execute(L"[Sort 3 -]"), true);
    const std::vector<std::wstring> descending = Column(GridTable(views[0]), 3);
    EXPECT_NE(ascending, descending);
    EXPECT_TRUE(std::ranges::equal(ascending, std::views::reverse(descending)));
    ASSERT_EQ(Execute(L"[Sort 3 +]"), true);
    EXPECT_EQ(Column(GridTable(views[0]), 3), ascending);
    ASSERT_EQ(Execute(L"[Sort -3]"), true);
    EXPECT_EQ(Column(GridTable(views[0]), 3), descending);

    // A quoted argument may hold blanks and "]".
    const IniFile ini;
    ASSERT_EQ(Execute(L"[Openini \"" + ini.path + L"\"]"), true);
    views = ViewWindows(main);
    ASSERT_EQ(views.size(), 2u);
    EXPECT_EQ(Caption(views[0]), L"Table view of " + ini.path);
    table = GridTable(views[0]);
    ASSERT_EQ(table.size(), 3u);
    EXPECT_EQ(table[1][0], L"Fonts");
    EXPECT_EQ(table[0][2], L"Arial");
    EXPECT_EQ(table[2][3], L"255 255 255");

    // Blanks between commands and unknown words do no harm.
    ASSERT_EQ(Execute(L" [Frobnicate 7]   [Close]  "), true);
    PumpUntil([&] { return ViewWindows(main).size() == 1; }, 5s);
    EXPECT_EQ(ViewWindows(main).size(), 1u);
    // An ini file that is not there opens nothing and is no failure; an open of a missing file is one.
    EXPECT_EQ(Execute(L"[Openini \"C:\\nowhere\\none.ini\"]"), true);
    EXPECT_EQ(Execute(L"[Open \"C:\\nowhere\\none.ini\"]"), false);
    EXPECT_EQ(ViewWindows(main).size(), 1u);

    // A second start whose open fails says so with its command line; the running program goes on.
    {
        KivoProcess second(L"[Open \"C:\\nowhere\\none.ini\"]");
        const HWND box = WaitForMessageBox(second, 20s);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(MessageBoxText(box), L"Could not open [Open \"C:\\nowhere\\none.ini\"]");
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        EXPECT_EQ(second.WaitForExit(10s), 0u);
    }
    ASSERT_TRUE(Execute(L"").has_value());

    // "Exit" lets the rest of the string run: the open after it still fails, then the program ends.
    EXPECT_EQ(Execute(L"[Exit][Open \"C:\\nowhere\\none.ini\"]"), false);
    EXPECT_EQ(kivo.WaitForExit(20s), 0u);
}

TEST(Commands, AQuestionMarkShowsTheUsageAndEnds) {
    KivoProcess kivo(L"[Sort ?]");
    const HWND box = WaitForMessageBox(kivo, 20s);
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(MessageBoxText(box).starts_with(L"Usage:\n\tKivo [<kvffile>|<inifile>|<DDE-cmd>[..]]"));
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(kivo.WaitForExit(20s), 0u);
}

// The box comes up in front of the splash and takes the keyboard; then the program asks for a first view.
TEST(Commands, AStartFileThatIsNotThereIsReportedAndTheNewViewDialogFollows) {
    KivoProcess kivo(L"C:\\nowhere\\missing.ini");
    const HWND box = WaitForMessageBox(kivo, 20s);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box), L"Could not open C:\\nowhere\\missing.ini");
    const HWND splash = SplashOf(kivo);
    ASSERT_NE(splash, nullptr);
    EXPECT_TRUE(InFrontOf(box, splash));
    ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == box; }, 10s));
    PressKey(VK_RETURN);
    HWND main = nullptr;
    ASSERT_TRUE(
        PumpUntil([&] { return (main = VisibleWindowOf(kivo, L"VantrelMainWindow")) != nullptr; }, 10s));
    const HWND newView = kivo.WaitForWindow(L"New view", 20s);
    ASSERT_NE(newView, nullptr);
    EXPECT_TRUE(ViewWindows(main).empty());
    PostMessageW(newView, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(PumpUntil([&] { return kivo.WaitForWindow(L"New view", 0ms) == nullptr; }, 10s));
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(kivo.WaitForExit(20s), 0u);
}

// The setting "ExportFolder" of the test's Wine prefix, pointing at a folder of the test's own while it
// lives.
class ExportFolderSetting {
public:
    ExportFolderSetting() {
        folder = TempFolder(L"vantrel export test");
        RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.put(), nullptr);
        RegSetValueExW(key.get(), L"ExportFolder", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                       static_cast<DWORD>((folder.size() + 1) * sizeof(wchar_t)));
    }
    ~ExportFolderSetting() {
        RegDeleteValueW(key.get(), L"ExportFolder");
        for (const std::wstring& file : Workbooks())
            DeleteFileW(file.c_str());
        RemoveDirectoryW(folder.c_str());
    }
    std::vector<std::wstring> Workbooks() const {
        std::vector<std::wstring> files;
        WIN32_FIND_DATAW found{};
        const UniqueFind find(FindFirstFileW((folder + L"\\Vantrel-*.xlsx").c_str(), &found));
        if (!find)
            return files;
        do
            files.push_back(folder + L"\\" + found.cFileName);
        while (FindNextFileW(find.get(), &found));
        return files;
    }

    static constexpr const wchar_t* kKey = L"Software\\Ostrand\\Kivo";
    std::wstring folder;
    UniqueHKey key;
};

// Without Excel the export is a workbook in the export folder; the command string goes on, no box stops it,
// and the program ends.
TEST(Commands, AnExportWithoutExcelWritesTheWorkbookAndTheProgramEnds) {
    ExportFolderSetting setting;
    KivoProcess kivo(L"[OpenSW][OutExcel][Exit]");
    ASSERT_TRUE(kivo.started());
    EXPECT_EQ(kivo.WaitForExit(60s), 0u);
    const std::vector<std::wstring> workbooks = setting.Workbooks();
    ASSERT_EQ(workbooks.size(), 1u);
    WIN32_FILE_ATTRIBUTE_DATA data{};
    ASSERT_TRUE(GetFileAttributesExW(workbooks[0].c_str(), GetFileExInfoStandard, &data));
    EXPECT_GT(data.nFileSizeLow, 500u);
}

TEST(Commands, TransposeAndSetMatchFromOtherPrograms) {
    KivoProcess kivo(L"[OpenSW]");
    HWND main = nullptr;
    ASSERT_TRUE(
        PumpUntil([&] { return (main = VisibleWindowOf(kivo, L"VantrelMainWindow")) != nullptr; }, 20s));
    ASSERT_TRUE(PumpUntil([] { return Execute(L"").has_value(); }, 20s));
    const Table installed = GridTable(ViewWindows(main).at(0));
    ASSERT_GT(installed.size(), 3u);

    ASSERT_EQ(Execute(L"[Transpose]"), true);
    std::vector<HWND> views = ViewWindows(main);
    ASSERT_EQ(views.size(), 2u);
    EXPECT_EQ(Caption(views[0]), L"Transposed: " + Caption(views[1]));
    const Table transposed = GridTable(views[0]);
    ASSERT_EQ(transposed.size(), installed[0].size());
    for (size_t r = 0; r < installed.size(); ++r)
        for (size_t c = 0; c < installed[r].size(); ++c)
            EXPECT_EQ(transposed[c].at(r), installed[r][c]) << r << "," << c;

    // The match column marks the rows whose names are in the match list: at first the names of the installed
    // products' keys, which most names are not; after "SetMatch 1" the names of column 1, which all are.
    ASSERT_EQ(Execute(L"[Close]"), true);
    PostMessageW(main, WM_COMMAND, IDM_SHOW_MATCH, 0);
    const auto marks = [&] {
        return Column(GridTable(ViewWindows(main).at(0)), 2);
    };
    ASSERT_TRUE(PumpUntil([&] { return GridTable(ViewWindows(main).at(0)).at(0).at(2) == L"!*"; }, 20s));
    ASSERT_TRUE(Execute(L"").has_value()); // the refill has ended
    EXPECT_TRUE(std::ranges::count(marks(), L"") > 0);
    ASSERT_EQ(Execute(L"[SetMatch 1][OpenSW]"), true);
    ASSERT_EQ(ViewWindows(main).size(), 2u);
    const std::vector<std::wstring> after = marks();
    ASSERT_EQ(after.size(), installed.size() - 1);
    EXPECT_EQ(std::ranges::count(after, L" *"), static_cast<std::ptrdiff_t>(after.size()));
    ASSERT_EQ(Execute(L"[Exit]"), true);
    EXPECT_EQ(kivo.WaitForExit(20s), 0u);
}

} // namespace
} // namespace vantrel::test

namespace vantrel::test {
namespace {

std::wstring Utf8FileText(const std::wstring& path) {
    std::wstring text;
    const UniqueHandle file(
        CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE)
        return text;
    std::string bytes(GetFileSize(file.get(), nullptr), '\0');
    DWORD read = 0;
    if (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr))
        return text;
    text.resize(bytes.size());
    text.resize(static_cast<size_t>(MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(read),
                                                        text.data(), static_cast<int>(text.size()))));
    return text;
}

// "[OutFile]" writes the active view as its grid shows it; an error is a message and the command string is
// still taken.
TEST(Commands, OutFileWritesTheActiveViewAndTellsWhatFailed) {
    const std::wstring folder = TempFolder(L"vantrel outfile");
    const std::wstring text = folder + L"\\apps.txt";
    const std::wstring csv = folder + L"\\apps.csv";
    KivoProcess kivo(L"[OpenSW]");
    HWND main = nullptr;
    ASSERT_TRUE(
        PumpUntil([&] { return (main = VisibleWindowOf(kivo, L"VantrelMainWindow")) != nullptr; }, 20s));
    ASSERT_TRUE(PumpUntil([] { return Execute(L"").has_value(); }, 20s));
    ASSERT_EQ(Execute(L"[OutFile \"" + text + L"\"][OutFile " + csv + L"]"), true);
    const std::wstring grid =
        WindowText(FindWindowExW(ViewWindows(main).at(0), nullptr, L"VantrelGrid", nullptr));
    ASSERT_GT(grid.size(), 10u);
    EXPECT_EQ(Utf8FileText(text), grid + L"\r\n"); // the grid's text leaves out the last line's end
    EXPECT_TRUE(Utf8FileText(csv).starts_with(L"\uFEFF,DisplayName,Version,"))
        << Utf8FileText(csv).substr(0, 40);
    DeleteFileW(text.c_str());
    DeleteFileW(csv.c_str());
    RemoveDirectoryW(folder.c_str());

    ASSERT_TRUE(PostMessageW(main, WM_COMMAND, IDM_CLOSE, 0));
    ASSERT_TRUE(PumpUntil([&] { return ViewWindows(main).empty(); }, 10s));
    ASSERT_TRUE(PostMessageW(main, WM_CLOSE, 0, 0));
    EXPECT_EQ(kivo.WaitForExit(20s), 0u);

    KivoProcess failing(L"[OutFile C:\\nowhere\\apps.csv][OpenSW][OutFile C:\\nowhere\\apps.csv][Exit]");
    for (const std::wstring_view told :
         {L"No view to write to C:\\nowhere\\apps.csv", L"Could not write C:\\nowhere\\apps.csv: "}) {
        const HWND box = WaitForMessageBox(failing, 30s);
        ASSERT_NE(box, nullptr) << std::wstring(told);
        EXPECT_TRUE(MessageBoxText(box).starts_with(told)) << MessageBoxText(box);
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        ASSERT_TRUE(PumpUntil([&] { return !IsWindow(box); }, 10s));
    }
    EXPECT_EQ(failing.WaitForExit(20s), 0u);
}

} // namespace
} // namespace vantrel::test
