// vantrel_look: shows a window as a user sees it, for looking at it or taking a screenshot meanwhile.
//   vantrel_look grid [seconds]      the grid control alone, with 50 made-up services and a block selected
//   vantrel_look services [seconds]  the main window with the services view of this computer's registry
//   vantrel_look editor [seconds]    the same, with the custom view editor open on the view once it is filled
//   vantrel_look computers [seconds] the computer selection dialog with ten pasted names, pinging; the names
//                                    are answered by the Ping.exe found beside this program (the tests'
//                                    stand-in answers from its ping_answers.txt)
//   vantrel_look computer [seconds]  the same dialog for one computer, made larger than it starts
//   vantrel_look article [seconds]   the knowledge-base article viewer with a title taken from a page of an
//                                    HTTP server of its own on 127.0.0.1; until the viewer is closed
//   vantrel_look compare [seconds]   the main window with an installed program compared on three in-memory
//                                    computers, PC2 of which gives no answer to the Ping.exe beside this
//                                    program
//   vantrel_look differences [seconds]  the same with "Hi&ghlight differences" on, once it is filled
//   vantrel_look merge [seconds]     two installed-software views of in-memory computers, merged
//   vantrel_look select [seconds]    the selection form as "List installs on &Path ..." opens it
//   vantrel_look folders [seconds]   the same with its drive and folder lists open on C:\windows
// Without seconds it runs until its window is closed.
#include "dialogs/computer_list/computer_list_dialog.h"
#include "dialogs/computer_list/computer_list_dialog_ids.h"
#include "dialogs/kb_article/article_viewer.h"
#include "dialogs/select_view/select_view_dialog.h"
#include "dialogs/select_view/select_view_dialog_ids.h"
#include "platform/win_ping_runner.h"
#include "shell/app_services.h"
#include "shell/main_menu_ids.h"
#include "shell/main_window.h"
#include "support/loopback_http_server.h"
#include "support/memory_registry.h"
#include "support/recording_launcher.h"
#include "ui/grid_window.h"
#include "ui/modeless_dialogs.h"

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace vantrel {
namespace {

constexpr int kTwipsPerPixel = 15;

// Ends the message loop after `seconds`, when given.
void QuitAfter(int seconds) {
    if (seconds > 0)
        SetTimer(nullptr, 0, static_cast<UINT>(seconds) * 1000u,
                 [](HWND, UINT, UINT_PTR, DWORD) { PostQuitMessage(0); });
}

int RunMessages() {
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}

LRESULT CALLBACK GridHostProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY)
        PostQuitMessage(0);
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

int ShowGrid(int seconds) {
    WNDCLASSW hostClass{};
    hostClass.lpfnWndProc = GridHostProc;
    hostClass.hInstance = GetModuleHandleW(nullptr);
    hostClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    hostClass.lpszClassName = L"VantrelLookGridHost";
    RegisterClassW(&hostClass);
    const HWND host = CreateWindowExW(0, hostClass.lpszClassName, L"Grid",
                                      WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE, 0, 0, 900, 500,
                                      nullptr, nullptr, hostClass.hInstance, nullptr);
    if (host == nullptr)
        return 1;

    GridModel model;
    model.SetCols(6);
    model.SetRows(51);
    const wchar_t* names[] = {L"AudioSrv",     L"BITS",      L"Dhcp",     L"Dnscache", L"EventLog",
                              L"LanmanServer", L"MSIServer", L"Schedule", L"Spooler",  L"W32Time"};
    const wchar_t* headers[] = {L"", L"Name", L"Display name", L"Start", L"Type", L"Image path"};
    const int widths[] = {600, 1200, 3600, 1200, 1200, 4800};
    for (int c = 0; c < 6; ++c) {
        model.SetTextMatrix(0, c, headers[c]);
        model.SetColWidth(c, widths[c]);
    }
    for (int r = 1; r < 51; ++r) {
        const std::wstring name = names[r % 10] + (r < 10 ? L"" : std::to_wstring(r));
        model.SetTextMatrix(r, 0, std::to_wstring(r));
        model.SetTextMatrix(r, 1, name);
        model.SetTextMatrix(r, 2, L"The " + name + L" service of the local computer");
        model.SetTextMatrix(r, 3, std::to_wstring(2 + r % 3));
        model.SetTextMatrix(r, 4, std::to_wstring(r % 2 == 0 ? 16 : 32));
        model.SetTextMatrix(r, 5, L"C:\\Windows\\system32\\svchost.exe -k " + name);
    }
    model.SetColAlignment(3, CellAlignment::RightCenter);
    model.SetColAlignment(4, CellAlignment::RightCenter);
    model.SetRow(1);
    model.SetCol(1);

    GridEvents events;
    const auto grid = GridWindow::Create(host, 100, model, events, kTwipsPerPixel);
    if (grid == nullptr)
        return 1;
    RECT client{};
    GetClientRect(host, &client);
    MoveWindow(grid->hwnd(), 0, 0, client.right, client.bottom, TRUE);
    grid->Refresh();

    // A block selected as the mouse would: a click on one cell, a shift-click on another.
    const auto click = [&](int row, int col, WPARAM keys) {
        const LPARAM at = MAKELPARAM((grid->ColPos(col) + model.ColWidth(col) / 2) / kTwipsPerPixel,
                                     (grid->RowPos(row) + grid->RowHeight(row) / 2) / kTwipsPerPixel);
        SendMessageW(grid->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON | keys, at);
        SendMessageW(grid->hwnd(), WM_LBUTTONUP, keys, at);
    };
    click(3, 2, 0);
    click(5, 3, MK_SHIFT);

    QuitAfter(seconds);
    return RunMessages();
}

// Opens the custom view editor on the active view once its fill is done; polled by a timer.
MainWindow* editedMain = nullptr;
void CALLBACK EditOnceFilled(HWND, UINT, UINT_PTR id, DWORD) {
    ViewForm* view = editedMain->ActiveView();
    if (view == nullptr || view->view().rowCount == 0 || view->IsFilling())
        return;
    KillTimer(nullptr, id);
    PostMessageW(editedMain->hwnd(), WM_COMMAND, IDM_EDIT_CUSTOM, 0);
}

int ShowServices(int seconds, bool edit) {
    AppServices services;
    const auto main = MainWindow::Create(GetModuleHandleW(nullptr), services.ForViews(), services.prompter());
    if (main == nullptr)
        return 1;
    SetWindowPos(main->hwnd(), nullptr, 0, 0, 1260, 860, SWP_NOZORDER);
    ShowWindow(main->hwnd(), SW_SHOWNORMAL);
    if (main->OpenView({L"", L"8"}) == nullptr)
        return 1;
    if (edit) {
        editedMain = main.get();
        SetTimer(nullptr, 0, 50, &EditOnceFilled);
    }
    QuitAfter(seconds);
    return RunMessages();
}

class BoxMessages final : public Messages {
public:
    int Message(HWND owner, std::wstring_view text, UINT buttons) override {
        return MessageBoxW(owner, std::wstring(text).c_str(), L"Vantrel", buttons);
    }
};

ComputerListDialog* lookedAt = nullptr;
void CALLBACK PressPingOnceShown(HWND, UINT, UINT_PTR id, DWORD) {
    if (!lookedAt->IsShown())
        return;
    KillTimer(nullptr, id);
    SendMessageW(lookedAt->control(IDC_CL_PING), BM_CLICK, 0, 0);
}
void CALLBACK EnlargeOnceShown(HWND, UINT, UINT_PTR id, DWORD) {
    if (!lookedAt->IsShown())
        return;
    KillTimer(nullptr, id);
    RECT window{};
    GetWindowRect(lookedAt->hwnd(), &window);
    SetWindowPos(lookedAt->hwnd(), nullptr, 0, 0, window.right - window.left + 200,
                 window.bottom - window.top + 120, SWP_NOMOVE | SWP_NOZORDER);
}

int ShowComputers(int seconds, bool one) {
    WinPingRunner pings;
    ComputerList list(pings);
    list.Paste(L"alpha, bravo;charlie\r\ndelta\r\necho,foxtrot;golf\r\nhotel,india;juliet\r\n");
    list.SelectAll();
    list.Select(9, false);
    BoxMessages messages;
    ComputerListDialog dialog(list, messages);
    lookedAt = &dialog;
    QuitAfter(seconds);
    if (one) {
        SetTimer(nullptr, 0, 50, &EnlargeOnceShown);
        (void)dialog.CompuGet1(nullptr);
    } else {
        SetTimer(nullptr, 0, 50, &PressPingOnceShown);
        (void)dialog.CompuGetN(nullptr, L"Services, Spooler");
    }
    return 0;
}

// Installed software of the local computer and two others, in different versions; PC2 lacks one product
// and has one of its own.
void InstallOnThreeComputers(test::MemoryRegistry& memory) {
    struct Product {
        const wchar_t* key;
        const wchar_t* name;
        const wchar_t* publisher;
        const wchar_t* versions[3]; // local, PC1, PC2; nothing: not installed there
    };
    const Product products[] = {
        {L"Acme", L"Acme Inventory Agent", L"Acme Corp.", {L"2.4.1", L"2.3.0", L"2.4.1"}},
        {L"{3F2A9C11-77B0-4E5D-9D2A-1C0FFEE00001}",
         L"Contoso PDF Printer",
         L"Contoso Ltd.",
         {L"7.0.3", L"7.0.3", nullptr}},
        {L"Northwind",
         L"Northwind Report Designer",
         L"Northwind Traders",
         {L"2.1.407", L"2.1.407", L"2.2.12"}},
        {L"Orbit", L"Orbit Image Viewer", L"Orbit Labs", {L"3.9.2", L"3.8.0", L"3.9.2"}},
        {L"Tailspin", L"Tailspin Flight Log", L"Tailspin Toys", {nullptr, nullptr, L"1.0.5"}},
    };
    const wchar_t* computers[] = {L"", L"PC1", L"PC2"};
    for (const Product& product : products) {
        const std::wstring key = std::wstring(kUninstallKey) + L"\\" + product.key;
        for (int c = 0; c < 3; ++c) {
            if (product.versions[c] == nullptr)
                continue;
            memory.SetString(computers[c], RootKey::LocalMachine, key, L"DisplayName", product.name);
            memory.SetString(computers[c], RootKey::LocalMachine, key, L"DisplayVersion",
                             product.versions[c]);
            memory.SetString(computers[c], RootKey::LocalMachine, key, L"Publisher", product.publisher);
        }
    }
}

// The main window over three in-memory computers, whose answers come from the Ping.exe beside this program.
struct InMemoryComputers {
    InMemoryComputers() { InstallOnThreeComputers(memory); }
    std::unique_ptr<MainWindow> ShowMain() {
        auto main = MainWindow::Create(GetModuleHandleW(nullptr), services, prompter);
        if (main != nullptr) {
            SetWindowPos(main->hwnd(), nullptr, 0, 0, 1260, 860, SWP_NOZORDER);
            ShowWindow(main->hwnd(), SW_SHOWNORMAL);
        }
        return main;
    }

    test::MemoryRegistry memory;
    Registry registry{memory};
    WinFileSource files;
    WinEnvironment environment;
    MatchList matchList;
    WinIniFiles ini;
    WinPrograms programs;
    WinPingRunner pings;
    ComputerList computers{pings};
    WindowsPrompter prompter{registry, programs, computers, environment};
    const ViewServices services{registry,  files, computers, environment,
                                matchList, ini,   16}; // side by side, as the program
};

int ShowCompare(int seconds, bool highlightDifferences) {
    InMemoryComputers world;
    const auto main = world.ShowMain();
    if (main == nullptr)
        return 1;
    ViewForm* compared = main->OpenView({.definition = std::wstring(kDefaultDefinition)});
    if (compared == nullptr)
        return 1;
    compared->view().NewCompuRows(L"HKLM\\" + std::wstring(kUninstallKey) + L"\\Acme", {L"", L"PC1", L"PC2"});
    if (highlightDifferences) {
        compared->FillNow();
        SendMessageW(main->hwnd(), WM_COMMAND, IDM_HIGHLIGHT_DIFFERENCES, 0);
    }
    QuitAfter(seconds);
    return RunMessages();
}

int ShowMerge(int seconds) {
    InMemoryComputers world;
    const auto main = world.ShowMain();
    if (main == nullptr)
        return 1;
    ViewForm* first = main->OpenInstalledView(L"PC1");
    ViewForm* second = main->OpenInstalledView(L"PC2");
    if (first == nullptr || second == nullptr)
        return 1;
    first->FillNow();
    second->FillNow();
    ViewForm* merged = main->NewView(L"", L"", L"");
    if (merged == nullptr)
        return 1;
    View* sources[] = {&first->view(), &second->view()};
    merged->ShowMergeOf(sources);
    SetWindowPos(merged->hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE);
    QuitAfter(seconds);
    return RunMessages();
}

int ShowArticle(int seconds) {
    test::LoopbackHttpServer server([](const std::string&) {
        return test::HttpAnswer{200, "<html><head><title>123456 - Description of the update for Windows "
                                     "Installer 3.1 &amp; the programs that need it</title></head></html>"};
    });
    test::RecordingLauncher launcher; // "&Open" would only open a page of the server above
    ArticleViewer viewer(launcher);
    viewer.GetKBTitle(nullptr, L"KB123456", server.Address(L"/kb"));
    QuitAfter(seconds);
    MSG message{};
    while (IsWindowVisible(viewer.hwnd()) && GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (TranslateModelessDialogMessage(message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}

void CALLBACK OpenFolderListsOnceShown(HWND, UINT, UINT_PTR id, DWORD) {
    const HWND form = FindWindowW(L"#32770", L"Select view contents");
    if (form == nullptr)
        return;
    KillTimer(nullptr, id);
    SendDlgItemMessageW(form, IDC_SELECT_PATH, CB_SHOWDROPDOWN, TRUE, 0);
}

// The picker answers with two made-up computers: the directory's own shows nothing under Wine.
int ShowSelect(int seconds, bool openLists) {
    SelectViewRequest request{.start = {ContentsOption::PathLocation, L"WS0042", L"C:\\windows"}};
    const ComputerPicker picker = [](int maximum, HWND, std::vector<std::wstring>& names) {
        names = {L"", L"PC1", L"PC2"};
        return maximum == 0 ? -1 : 2;
    };
    if (openLists)
        SetTimer(nullptr, 0, 50, &OpenFolderListsOnceShown);
    QuitAfter(seconds);
    (void)ShowSelectViewDialog(nullptr, request, picker);
    return 0;
}

} // namespace
} // namespace vantrel

int main(int argc, char** argv) {
    const std::string_view what = argc > 1 ? argv[1] : "";
    const int seconds = argc > 2 ? std::atoi(argv[2]) : 0;
    if (what == "grid")
        return vantrel::ShowGrid(seconds);
    if (what == "services" || what == "editor")
        return vantrel::ShowServices(seconds, what == "editor");
    if (what == "computers" || what == "computer")
        return vantrel::ShowComputers(seconds, what == "computer");
    if (what == "compare" || what == "differences")
        return vantrel::ShowCompare(seconds, what == "differences");
    if (what == "article")
        return vantrel::ShowArticle(seconds);
    if (what == "merge")
        return vantrel::ShowMerge(seconds);
    if (what == "select" || what == "folders")
        return vantrel::ShowSelect(seconds, what == "folders");
    std::fputs("usage: vantrel_look "
               "grid|services|editor|computers|computer|compare|differences|merge|article|select|"
               "folders [seconds]\n",
               stderr);
    return 2;
}
