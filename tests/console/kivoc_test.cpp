// kivoc.exe run as a script runs it: its output read through pipes, its exit code, and its windows (none).
#include "console/console_services.h"
#include "console/headless_session.h"
#include "engine/clipboard_text.h"
#include "sources/unicode_text.h"
#include "platform/unique_handle.h"
#include "platform/win_ini_files.h"
#include "shell/view_commands.h"
#include "views/catalogue.h"
#include "views/custom_view_file.h"

#include <gtest/gtest.h>
#include <objbase.h>
#include <windows.h>

#include <chrono>
#include <thread>

namespace vantrel {
namespace {

std::wstring BesideThisProgram(std::wstring_view name) {
    wchar_t self[MAX_PATH]{};
    const std::wstring path(self, GetModuleFileNameW(nullptr, self, MAX_PATH));
    return path.substr(0, path.find_last_of(L'\\') + 1) + std::wstring(name);
}

// The folder the Linux side reads back (the readback test), or a temporary one.
std::wstring CheckFolder() {
    std::wstring folder = L"Z:" VANTREL_KIVOC_CHECK_DIR L"\\";
    for (wchar_t& c : folder)
        c = c == L'/' ? L'\\' : c;
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

struct KivocRun {
    DWORD exitCode = STILL_ACTIVE;
    std::string out;
    std::string err;
    int windowsSeen = 0; // top-level and message-only windows of the process, counted while it ran
};

int WindowsOfProcess(DWORD processId) {
    struct Search {
        DWORD processId;
        int found = 0;
    } search{processId};
    EnumWindows(
        [](HWND hwnd, LPARAM state) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(state);
            DWORD owner = 0;
            GetWindowThreadProcessId(hwnd, &owner);
            s.found += owner == s.processId ? 1 : 0;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    for (HWND hwnd = FindWindowExW(HWND_MESSAGE, nullptr, nullptr, nullptr); hwnd != nullptr;
         hwnd = FindWindowExW(HWND_MESSAGE, hwnd, nullptr, nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(hwnd, &owner);
        search.found += owner == processId ? 1 : 0;
    }
    return search.found;
}

std::thread Drain(UniqueHandle& pipe, std::string& into) {
    return std::thread([&pipe, &into] {
        char buffer[4096];
        DWORD read = 0;
        while (ReadFile(pipe.get(), buffer, sizeof buffer, &read, nullptr) && read > 0)
            into.append(buffer, read);
    });
}

KivocRun RunKivoc(const std::wstring& arguments) {
    KivocRun run;
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    UniqueHandle outRead, outWrite, errRead, errWrite;
    if (!CreatePipe(outRead.put(), outWrite.put(), &inherit, 0) ||
        !CreatePipe(errRead.put(), errWrite.put(), &inherit, 0))
        return run;
    SetHandleInformation(outRead.get(), HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(errRead.get(), HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{sizeof(startup)};
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = outWrite.get();
    startup.hStdError = errWrite.get();
    std::wstring commandLine = L"\"" + BesideThisProgram(L"kivoc.exe") + L"\" " + arguments;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                        &info))
        return run;
    const UniqueHandle process(info.hProcess), thread(info.hThread);
    outWrite.reset();
    errWrite.reset();
    std::thread outReader = Drain(outRead, run.out), errReader = Drain(errRead, run.err);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (WaitForSingleObject(process.get(), 5) == WAIT_TIMEOUT &&
           std::chrono::steady_clock::now() < deadline)
        run.windowsSeen += WindowsOfProcess(info.dwProcessId);
    if (WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT)
        TerminateProcess(process.get(), 99);
    WaitForSingleObject(process.get(), INFINITE);
    GetExitCodeProcess(process.get(), &run.exitCode);
    outReader.join();
    errReader.join();
    return run;
}

// The views that ask for a data variable get this one, in kivoc and here.
constexpr std::wstring_view kDataVariable = L"{00000000-0000-0000-0000-000000000000}";

// The same commands run here, in this process: the active view's whole grid as the clipboard copy of it
// after "&Select all" gives it.
std::string GridTextAfter(std::wstring_view commands) {
    const HRESULT com = CoInitializeEx(nullptr, COINIT_MULTITHREADED); // as kivoc runs its views
    ConsoleServices services;
    ConsoleDialogue dialogue({std::wstring(kDataVariable)});
    HeadlessSession session(services.ForViews(), dialogue);
    (void)session.Run(commands);
    std::string text;
    if (View* view = session.ActiveView(); view != nullptr) {
        view->selectall();
        text = ToUtf8(Copy2clipText(view->grid));
    }
    if (SUCCEEDED(com))
        CoUninitialize();
    return text;
}

TEST(Kivoc, EveryBuiltInViewWrittenToStandardOutputIsTheGridsText) {
    WinIniFiles ini;
    const std::wstring folder = CheckFolder();
    for (int n = 1; n <= kListedBuiltInViews; ++n) {
        const std::wstring definition = BuiltInView(n, false);
        const std::wstring file = folder + L"builtin" + std::to_wstring(n) + L".kvf";
        ASSERT_TRUE(WriteCustomView(ini, file, ParseDefinition(definition, ConsoleView::kTwipsPerPixel),
                                    ConsoleView::kTwipsPerPixel));
        const KivocRun run =
            RunKivoc(L"--answer " + std::wstring(kDataVariable) + L" \"[Open " + file + L"][OutFile -]\"");
        EXPECT_EQ(run.exitCode, 0u) << n << ": " << run.err;
        EXPECT_NE(run.out.find('\t'), std::string::npos) << "view " << n << " has its header row";
        EXPECT_EQ(run.out, GridTextAfter(L"[Open " + file + L"]")) << "view " << n;
    }
    const KivocRun installed = RunKivoc(L"[OpenSW][Detail 1][OutFile -]");
    EXPECT_EQ(installed.exitCode, 0u) << installed.err;
    EXPECT_NE(installed.out.find("Northwind Report Designer"), std::string::npos)
        << "the demo registry's rows";
    const KivocRun controls = RunKivoc(L"[OpenOCX][OutFile -]");
    EXPECT_EQ(controls.exitCode, 0u) << controls.err;
    EXPECT_EQ(controls.out, GridTextAfter(L"[OpenOCX]"));
    EXPECT_EQ(installed.windowsSeen + controls.windowsSeen, 0);
}

// Texts that need quoting in CSV and escaping in JSON, in a key of the test's own; the readback test
// (scripts/check-kivoc-export.py) finds them in the files.
class QuotingKey {
public:
    QuotingKey() {
        RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\VantrelQuoting\\row", 0, nullptr, 0, KEY_WRITE,
                        nullptr, key_.put(), nullptr);
        Set(L"Text", L"comma, \"quoted\" and\r\nbroken");
        Set(L"Other", L"Caf\u00e9 \u00d1and\u00fa \u2013 \u00fcber");
    }
    ~QuotingKey() { RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\VantrelQuoting"); }

private:
    void Set(const wchar_t* name, std::wstring_view text) {
        RegSetValueExW(key_.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.data()),
                       static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    }
    UniqueHKey key_;
};

TEST(Kivoc, CsvAndJsonFilesOfAViewWithTextsThatNeedQuoting) {
    const QuotingKey key;
    WinIniFiles ini;
    const std::wstring folder = CheckFolder();
    const std::wstring view = folder + L"quoting.kvf";
    ASSERT_TRUE(WriteCustomView(
        ini, view,
        ParseDefinition(
            L"HKCU\\Software\\VantrelQuoting,012,012,Quoting,|106,<Key>,Key,,|200,Text,Text,,|200,"
            L"Other,Other,,",
            ConsoleView::kTwipsPerPixel),
        ConsoleView::kTwipsPerPixel));
    DeleteFileW((folder + L"quoting.csv").c_str());
    DeleteFileW((folder + L"quoting.json").c_str());
    const KivocRun run = RunKivoc(L"\"[Open " + view + L"][OutFile " + folder + L"quoting.csv][OutFile " +
                                  folder + L"quoting.json]\"");
    EXPECT_EQ(run.exitCode, 0u) << run.err;
    EXPECT_NE(GetFileAttributesW((folder + L"quoting.csv").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(GetFileAttributesW((folder + L"quoting.json").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(Kivoc, AFailedCommandIsToldAndTheExitCodeSaysSo) {
    struct Case {
        std::wstring arguments;
        DWORD exitCode;
        std::string told;
    };
    const Case cases[] = {
        {L"\"[Open C:\\nowhere\\none.kvf][OpenSW][OutFile -]\"", 1, "Could not open C:\\nowhere\\none.kvf"},
        {L"[OutFile -]", 1, "No view to write to -"},
        {L"\"[OpenSW][OutFile C:\\no such folder\\x.csv]\"", 1, "Could not write C:\\no such folder\\x.csv"},
        {L"[OpenSW][OutExcel]", 1, "OutExcel needs Excel"},
        {L"[OpenSW][Frobnicate]", 1, "Unknown command [frobnicate]"},
        {L"[Sort 2]", 1, "No view for [sort 2]"},
        {L"--answer", 2, "--answer needs a text"},
        {L"", 2, "Usage:"},
    };
    for (const Case& c : cases) {
        const KivocRun run = RunKivoc(c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << ToUtf8(c.arguments);
        EXPECT_NE(run.err.find(c.told), std::string::npos) << ToUtf8(c.arguments) << ": " << run.err;
        EXPECT_EQ(run.windowsSeen, 0) << ToUtf8(c.arguments);
    }
    // The commands after a failed one still run.
    const KivocRun after = RunKivoc(L"\"[Open C:\\nowhere\\none.kvf][OpenSW][OutFile -]\"");
    EXPECT_NE(after.out.find("DisplayName"), std::string::npos);
    const KivocRun help = RunKivoc(L"--help");
    EXPECT_EQ(help.exitCode, 0u);
    EXPECT_TRUE(help.out.starts_with("Usage:\r\n\tkivoc") || help.out.starts_with("Usage:\n\tkivoc"))
        << help.out;
}

} // namespace
} // namespace vantrel
