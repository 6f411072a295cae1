#include "shell/main_window.h"

#include "views/custom_view_file.h"

#include "dialogs/about/about_box.h"
#include "platform/win_files.h"
#include "shell/command_language.h"
#include "shell/main_menu_ids.h"
#include "shell/window_setting.h"
#include "ui/window_class.h"
#include "views/catalogue.h"
#include "views/text.h"

#include <shellapi.h>

#include <algorithm>
#include <array>

namespace vantrel {
namespace {

constexpr UINT kFirstViewWindowId = 50000;
constexpr UINT kUpdateMenusMessage = WM_APP + 2;
constexpr UINT kNewViewDialogMessage = WM_APP + 3;
constexpr int kEditMenuPosition = 1;
constexpr int kWindowMenuPosition = 3;
constexpr const wchar_t* kCancelCaption = L"&Cancel";
constexpr std::wstring_view kSettingsKey = L"HKCU\\Software\\Ostrand\\Kivo";

int TwipsPerPixel() {
    const HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? 1440 / dpi : 15;
}

// The DDE service is the program's name: "Kivo" for Kivo.exe.
std::wstring ProgramName() {
    std::wstring path(MAX_PATH, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
    std::wstring name = path.substr(path.find_last_of(L'\\') + 1);
    return name.substr(0, name.rfind(L'.'));
}

std::wstring CurrentDirectory() {
    std::wstring folder(GetCurrentDirectoryW(0, nullptr), L'\0');
    folder.resize(GetCurrentDirectoryW(static_cast<DWORD>(folder.size()), folder.data()));
    return folder;
}

// Commands that act on the active view: with no view window they are disabled.
constexpr std::array kViewCommands{
    IDM_EDIT_CUSTOM, IDM_SAVE_AS,        IDM_CLOSE,       IDM_CONNECT,         IDM_PROPERTIES,
    IDM_EDIT_VALUE,  IDM_SELECT_ALL,     IDM_COPY,        IDM_OPEN_IN_EXCEL,   IDM_REFRESH,
    IDM_SHOW_MATCH,  IDM_SET_MATCH_LIST, IDM_TOGGLE_SORT, IDM_TRANSPOSE,       IDM_MULTIPLE_COMPUTERS,
    IDM_MERGE,       IDM_FIT_TO_TABLE,   IDM_MAXIMIZE,    IDM_TILE_VERTICALLY,
};

bool RegisterMainWindowClass(HINSTANCE instance, WNDPROC procedure) {
    WNDCLASSEXW windowClass{};
    windowClass.lpfnWndProc = procedure;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
    if (windowClass.hIcon == nullptr)
        windowClass.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
    windowClass.lpszClassName = kMainWindowClass;
    return RegisterClassOnce(windowClass);
}

void Enable(HMENU menu, UINT id, bool enabled) {
    EnableMenuItem(menu, id, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}
void Check(HMENU menu, UINT id, bool checked) {
    CheckMenuItem(menu, id, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

void SetCaption(HMENU menu, UINT id, const wchar_t* caption) {
    MENUITEMINFOW item{sizeof(item)};
    item.fMask = MIIM_STRING;
    item.dwTypeData = const_cast<wchar_t*>(caption);
    SetMenuItemInfoW(menu, id, FALSE, &item);
}

} // namespace

std::unique_ptr<MainWindow> MainWindow::Create(HINSTANCE instance, const ViewServices& services,
                                               Prompter& prompter) {
    std::unique_ptr<MainWindow> window(new MainWindow(services, prompter));
    if (!RegisterMainWindowClass(instance, &BaseWindow<MainWindow>::WindowProc))
        return nullptr;
    const HMENU menu = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAIN_MENU));
    const HWND hwnd = CreateWindowExW(0, kMainWindowClass, std::wstring(kAppTitle).c_str(),
                                      WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT,
                                      CW_USEDEFAULT, CW_USEDEFAULT, nullptr, menu, instance, window.get());
    if (hwnd == nullptr)
        return nullptr;
    window->accelerators_ =
        LoadAcceleratorsW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAIN_ACCELERATORS));
    window->computerBox_ = ComputerBoxText(L"");
    window->LoadSettings();
    MainWindow* self = window.get();
    window->dde_ = std::make_unique<DdeServer>(ProgramName(), kAppTitle,
                                               [self](std::wstring_view commands) -> std::optional<bool> {
                                                   if (self->BusyForCommands())
                                                       return std::nullopt; // the sender asks again
                                                   return self->LinkExecute(commands);
                                               });
    window->UpdateMenus();
    return window;
}

MainWindow::~MainWindow() {
    if (hwnd() != nullptr)
        DestroyWindow(hwnd());
    if (accelerators_ != nullptr)
        DestroyAcceleratorTable(accelerators_);
}

void MainWindow::Show(int showCommand) {
    ShowWindow(hwnd(), startMaximized_ ? SW_SHOWMAXIMIZED : showCommand);
    UpdateWindow(hwnd());
}

// "KvfPath", "Window" and "MsiPath" under HKCU\Software\Ostrand\Kivo; a setting that is missing or too short
// leaves the default in force.
void MainWindow::LoadSettings() {
    viewFolder_ = CurrentDirectory();
    if (const std::wstring folder =
            services_.registry.ReadValue(L"", RootKey::FromPath, kSettingsKey, L"KvfPath");
        folder.size() > 2)
        viewFolder_ = folder;
    if (const std::wstring path =
            services_.registry.ReadValue(L"", RootKey::FromPath, kSettingsKey, L"MsiPath");
        path.size() > 2)
        msiPath_ = path;

    const int tpp = TwipsPerPixel();
    RECT window{};
    GetWindowRect(hwnd(), &window);
    const WindowPlacement designed{window.left * tpp, window.top * tpp, (window.right - window.left) * tpp,
                                   (window.bottom - window.top) * tpp, false};
    const WindowPlacement place = PlaceFromWindowSetting(
        services_.registry.ReadValue(L"", RootKey::FromPath, kSettingsKey, L"Window"), designed,
        GetSystemMetrics(SM_CXSCREEN) * tpp, GetSystemMetrics(SM_CYSCREEN) * tpp);
    SetWindowPos(hwnd(), nullptr, place.left / tpp, place.top / tpp, place.width / tpp, place.height / tpp,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    startMaximized_ = place.maximized;
}

void MainWindow::SaveSettings() {
    const int tpp = TwipsPerPixel();
    WINDOWPLACEMENT placement{sizeof(placement)};
    GetWindowPlacement(hwnd(), &placement);
    RECT window{};
    GetWindowRect(hwnd(), &window);
    // Windows keeps a maximized or minimized window's normal place apart; the setting marks such a window by
    // a negative Left and keeps the normal size.
    const bool notNormal = IsZoomed(hwnd()) || IsIconic(hwnd());
    const RECT& rect = notNormal ? placement.rcNormalPosition : window;
    const WindowPlacement place{rect.left * tpp, rect.top * tpp, (rect.right - rect.left) * tpp,
                                (rect.bottom - rect.top) * tpp, notNormal};
    Registry& registry = services_.registry;
    registry.WriteValue(RootKey::FromPath, kSettingsKey, L"Window", FormatWindowSetting(place),
                        regtype::kMultiSz);
    registry.WriteValue(RootKey::FromPath, kSettingsKey, L"KvfPath", viewFolder_, regtype::kSz);
    registry.WriteValue(RootKey::FromPath, kSettingsKey, L"MsiPath", msiPath_, regtype::kSz);
}

void MainWindow::PostNewViewDialog() {
    PostMessageW(hwnd(), kNewViewDialogMessage, 0, 0);
}

void MainWindow::OpenNewViewDialog() {
    const auto choice = prompter_.ChooseNewView(hwnd());
    if (!choice)
        return;
    switch (choice->button) {
    case 1:
        DesignNewView();
        break;
    case 2:
        NewView(L"<", std::to_wstring(choice->viewNumber), L"");
        break;
    case 3:
        OpenOnAnotherComputer(choice->viewNumber);
        break;
    case 4:
        OpenFolderSelection(kInstallFolderView);
        break;
    case 5:
        OpenFolderSelection(kExeFilesView);
        break;
    case 6:
        OpenStd_Click(3);
        break;
    default:
        break;
    }
}

// The custom view editor, the computer list and the selection form are parts still to come; these are the
// places that will open them.
// "&New .." of the new-view dialog: a registry view designed from scratch in the custom view editor.
void MainWindow::DesignNewView() {
    ViewEditRequest request{.twipsPerPixel = TwipsPerPixel(), .newView = true};
    if (!prompter_.EditView(hwnd(), request))
        return;
    if (request.definition.head.title.empty())
        request.definition.head.title = L"Untitled";
    OpenView({.definition = MakCGp(request.definition, request.twipsPerPixel),
              .kind = ViewKind::Registry,
              .customFile = L"Untitled"});
}
void MainWindow::OpenOnAnotherComputer(int) {}
void MainWindow::OpenFolderSelection(int) {}

// WinHlp32 is gone from current Windows: the program's own help page stands in for "Kivo.hlp" unless that
// file is there.
void MainWindow::ShowHelp() {
    std::wstring folder(MAX_PATH, L'\0');
    folder.resize(GetModuleFileNameW(nullptr, folder.data(), static_cast<DWORD>(folder.size())));
    folder = PathOf(folder);
    const std::wstring hlp = folder + L"Kivo.hlp";
    if (GetFileAttributesW(hlp.c_str()) != INVALID_FILE_ATTRIBUTES)
        ShellExecuteW(hwnd(), nullptr, L"Winhlp32", hlp.c_str(), nullptr, SW_SHOWNORMAL);
    else
        ShellExecuteW(hwnd(), L"open", (folder + L"Kivo.html").c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

ViewForm* MainWindow::OpeniniFile(const std::wstring& path, bool foldersAllowed) {
    if (FileExists(path)) {
        if (ExtOf(path) == L"kvf")
            return OpenView({.kind = ViewKind::CustomFile, .customFile = path});
        return OpenView({.kind = ViewKind::IniTable, .folderPath = path});
    }
    if (!foldersAllowed || !FolderExists(path))
        return nullptr;
    const std::wstring folder = path.ends_with(L'\\') ? path : path + L"\\";
    const bool installs = FileExists(folder + L"*.msi");
    return OpenView({.definition = std::to_wstring(installs ? kInstallFolderView : kExeFilesView),
                     .kind = ViewKind::Folder,
                     .folderPath = folder});
}

void MainWindow::OpenStartFile() {
    if (startFile_.empty())
        return;
    ViewForm* form = OpeniniFile(startFile_, true);
    if (form == nullptr) {
        prompter_.Message(hwnd(), L"Could not open " + startFile_, MB_OK);
        startFile_.clear();
        return;
    }
    if (ExtOf(startFile_) == L"ini")
        SendMessageW(mdiClient_, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(form->hwnd()), 0);
}

void MainWindow::ShowUsage() {
    prompter_.Message(hwnd(), UsageText(), MB_OK);
}

ViewForm* MainWindow::TransposeActive() {
    return nullptr;
}

// Commands run one after another; each sees the windows the ones before it opened, filled.
bool MainWindow::LinkExecute(std::wstring_view commands) {
    ++commandDepth_;
    const bool accepted = RunCommands(commands);
    --commandDepth_;
    return accepted;
}

bool MainWindow::RunCommands(std::wstring_view commands) {
    bool accepted = true;
    for (const Command& command : ParseCommandString(commands)) {
        if (command.argument == L"?") {
            ShowUsage();
            PostMessageW(hwnd(), WM_CLOSE, 0, 0);
            return accepted;
        }
        ViewForm* opened = nullptr;
        if (command.word == L"open") {
            opened = OpeniniFile(command.argument, false);
            accepted = accepted && opened != nullptr;
        } else if (command.word == L"opensw") {
            opened = OpenView({.computer = command.argument});
        } else if (command.word == L"openocx") {
            opened = OpenView({.computer = command.argument, .kind = ViewKind::ClassList});
        } else if (command.word == L"openini") {
            if (FileExists(command.argument)) {
                startFile_ = command.argument;
                opened = OpenView({.kind = ViewKind::IniTable});
            }
        } else if (command.word == L"connect") {
            opened = OpenOnComputer(command.argument);
        } else if (command.word == L"outexcel") {
            if (ViewForm* active = ActiveView())
                active->OpenExcel();
        } else if (command.word == L"setmatch") {
            if (ViewForm* active = ActiveView())
                active->SetMatchColumn(LeadingNumber(command.argument, 240));
        } else if (command.word == L"sort") {
            if (ViewForm* active = ActiveView())
                active->SortByCommand(command.argument);
        } else if (command.word == L"detail") {
            List_Click(LeadingNumber(command.argument, 1) != 0 ? 1 : 0);
        } else if (command.word == L"transpose") {
            TransposeActive();
        } else if (command.word == L"close") {
            if (ViewForm* active = ActiveView())
                SendMessageW(active->hwnd(), WM_CLOSE, 0, 0);
        } else if (command.word == L"exit") {
            PostMessageW(hwnd(), WM_CLOSE, 0, 0);
        }
        if (opened != nullptr)
            opened->FillNow(); // the next command acts on a filled view
    }
    return accepted;
}

bool MainWindow::TranslateFrameMessage(MSG& message) const {
    if (mdiClient_ != nullptr && TranslateMDISysAccel(mdiClient_, &message))
        return true;
    return accelerators_ != nullptr && hwnd() != nullptr &&
           TranslateAcceleratorW(hwnd(), accelerators_, &message);
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        return OnCreate() ? 0 : -1;
    case WM_COMMAND:
        if (LOWORD(wParam) > kToolbarCommandBase && LOWORD(wParam) <= kToolbarCommandBase + 99) {
            OnToolbarCommand(LOWORD(wParam));
            return 0;
        }
        if (OnCommand(LOWORD(wParam)))
            return 0;
        break;
    case WM_NOTIFY:
        if (toolbar_.OnNotify(reinterpret_cast<NMHDR*>(lParam)))
            return 0;
        break;
    case WM_DROPFILES:
        OnDropFiles(reinterpret_cast<HDROP>(wParam));
        return 0;
    case WM_SIZE:
        // Not for the frame's default: it would cover the toolbar with the MDI client.
        OnSize(LOWORD(lParam), HIWORD(lParam));
        return 0;
    case kUpdateMenusMessage:
        UpdateMenus();
        return 0;
    case kNewViewDialogMessage:
        OpenNewViewDialog();
        return 0;
    case WM_CLOSE:
        if (!OnClose())
            return 0;
        break;
    case WM_DESTROY:
        OnDestroy();
        return 0;
    default:
        break;
    }
    return DefaultProc(message, wParam, lParam);
}

bool MainWindow::OnCreate() {
    if (!toolbar_.Create(hwnd(), TwipsPerPixel()))
        return false;
    DragAcceptFiles(hwnd(), TRUE);
    CLIENTCREATESTRUCT client{};
    client.hWindowMenu = GetSubMenu(GetMenu(hwnd()), kWindowMenuPosition);
    client.idFirstChild = kFirstViewWindowId;
    mdiClient_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"MDICLIENT", nullptr,
                                 WS_CHILD | WS_CLIPCHILDREN | WS_VSCROLL | WS_HSCROLL | WS_VISIBLE, 0, 0, 0,
                                 0, hwnd(), nullptr, GetModuleHandleW(nullptr), &client);
    return mdiClient_ != nullptr;
}

void MainWindow::OnSize(int width, int height) {
    toolbar_.Resize();
    const int top = toolbar_.Height();
    if (mdiClient_ != nullptr)
        MoveWindow(mdiClient_, 0, top, width, std::max(height - top, 0), TRUE);
}

// A toolbar button does what its picture number stands for; most are menu commands.
void MainWindow::OnToolbarCommand(int id) {
    struct ButtonAction {
        int picture;
        int menuCommand;
    };
    static constexpr ButtonAction kAsMenu[] = {
        {4, IDM_NEW_VIEW}, {7, IDM_OPEN_CUSTOM},         {8, IDM_SAVE_AS},        {15, IDM_EDIT_CUSTOM},
        {18, IDM_CONNECT}, {28, IDM_MULTIPLE_COMPUTERS}, {12, IDM_PROPERTIES},    {10, IDM_EDIT_VALUE},
        {14, IDM_MERGE},   {25, IDM_TRANSPOSE},          {23, IDM_OPEN_IN_EXCEL},
    };
    const int picture = id - kToolbarCommandBase;
    for (const ButtonAction& action : kAsMenu) {
        if (action.picture == picture) {
            OnCommand(action.menuCommand);
            return;
        }
    }
    switch (picture) {
    case 9:
        List_Click(toolbar_.DetailsPressed() ? 1 : 0);
        return;
    case 3:
        OpenStd_Click(1);
        return;
    case 20:
        OpenStd_Click(2);
        return;
    case 2:
        OpenStd_Click(3);
        return;
    case 1:
        OpenStd_Click(4);
        return;
    case 6:
        NewView(L"", L"8", L"");
        return;
    case 5:
        NewView(L"", L"10", L"");
        return;
    case 16:
        NewView(L"", L"9", L"");
        return;
    default:
        if (const ToolbarEntry* entry = toolbar_.EntryFor(id))
            prompter_.Message(hwnd(),
                              std::to_wstring(toolbar_.IndexOf(id)) + L" - Not yet implemented: " +
                                  entry->description,
                              MB_OK);
        return;
    }
}

// Commands whose parts are not built yet do nothing, as every command does when it cannot act.
bool MainWindow::OnCommand(int id) {
    ViewForm* active = ActiveView();
    if (id >= IDM_OTHER_VIEW_FIRST && id <= IDM_OTHER_VIEW_LAST) {
        if (const auto target = OtherViewsMenuItem(id - IDM_OTHER_VIEW_FIRST + 1)) {
            if (target->classList)
                OpenStd_Click(2);
            else
                NewView(L"", std::to_wstring(target->viewNumber), L"");
        }
        return true;
    }
    switch (id) {
    case IDM_NEW_VIEW:
        OpenNewViewDialog();
        return true;
    case IDM_INI_FILE:
        OpenStd_Click(3);
        return true;
    case IDM_OPEN_CUSTOM:
        OpenCustomView();
        return true;
    case IDM_SAVE_AS:
        if (active != nullptr)
            active->SaveColsAs();
        return true;
    case IDM_EDIT_CUSTOM:
        if (active != nullptr)
            active->EditCols();
        return true;
    case IDM_LOCALLY_INSTALLED:
        OpenStd_Click(1);
        return true;
    case IDM_CLOSE:
        if (active != nullptr)
            PostMessageW(active->hwnd(), WM_CLOSE, 0, 0);
        return true;
    case IDM_EXIT:
        PostMessageW(hwnd(), WM_CLOSE, 0, 0);
        return true;
    case IDM_STANDARD_LIST:
    case IDM_DETAILED_LIST:
        List_Click(id == IDM_DETAILED_LIST ? 1 : 0);
        return true;
    case IDM_REFRESH:
        if (active != nullptr)
            active->Refresh();
        return true;
    case IDM_TOGGLE_SORT:
        if (active != nullptr)
            active->SortCurrentColumn();
        return true;
    case IDM_SELECT_ALL:
        if (active != nullptr)
            active->SelectAll();
        return true;
    case IDM_SHOW_MATCH:
        ToggleMatchColumn();
        return true;
    case IDM_FIT_TO_TABLE:
        if (active != nullptr) {
            active->ColsReSize();
            active->FitWindowToTable();
        }
        return true;
    case IDM_MAXIMIZE:
        ToggleMaximized();
        return true;
    case IDM_TILE_VERTICALLY:
        SendMessageW(mdiClient_, WM_MDITILE, MDITILE_VERTICAL, 0);
        return true;
    case IDM_HELP_CONTENTS:
        ShowHelp();
        return true;
    case IDM_ABOUT:
        ShowAboutBox(hwnd());
        return true;
    case IDM_COMMAND_LINE:
        ShowUsage();
        return true;
    case IDM_CANCEL:
        if (active != nullptr && active->view().viewState == viewstate::kFilling)
            active->view().viewState = viewstate::kStopRequested;
        return true;
    default:
        return id >= IDM_NEW_VIEW && id <= IDM_CANCEL;
    }
}

ViewForm* MainWindow::NewView(std::wstring_view computer, std::wstring_view view, std::wstring_view extra) {
    return OpenView(ResolveNewView(computer, view, extra, computerBox_));
}

ViewForm* MainWindow::OpenView(const ViewOpening& opening) {
    return ViewForm::Create(mdiClient_, services_, prompter_, *this, opening);
}

ViewForm* MainWindow::ActiveView() const {
    if (mdiClient_ == nullptr)
        return nullptr;
    return ViewForm::FromWindow(reinterpret_cast<HWND>(SendMessageW(mdiClient_, WM_MDIGETACTIVE, 0, 0)));
}

void MainWindow::OpenStd_Click(int index) {
    if (index == 1)
        OpenView({});
    else if (index == 2)
        OpenView({.kind = ViewKind::ClassList});
    else if (index == 3 && ChooseIniFile())
        OpenView({.kind = ViewKind::IniTable}); // it takes the start file
    // 4 (installs on a path) comes with the selection form.
}

ViewForm* MainWindow::OpenOnComputer(const std::wstring& computer) {
    ViewForm* active = ActiveView();
    if (active == nullptr ||
        static_cast<int>(active->view().viewKind) >= static_cast<int>(ViewKind::IniTable))
        return nullptr;
    View& from = active->view();
    from.GetCurWidths();
    return OpenView({.computer = computer,
                     .definition = MakCGp(from.columns, from.twipsPerPixel()),
                     .kind = from.viewKind,
                     .customFile = from.customFile});
}

std::wstring MainWindow::ChooseCustomViewFile(bool save, std::wstring_view proposedName) {
    FileDialogRequest request{.save = save,
                              .title = save ? L"Save custom view" : L"Open custom view",
                              .defaultExtension = L"kvf",
                              .filter = std::wstring(kCustomViewFilter),
                              .folder = viewFolder_,
                              .fileName = std::wstring(proposedName)};
    const std::wstring chosen = prompter_.FileDialog(hwnd(), request);
    if (!chosen.empty())
        viewFolder_ = request.folder;
    return chosen;
}

ViewForm* MainWindow::OpenCustomView() {
    const std::wstring chosen = ChooseCustomViewFile(false, L"");
    if (chosen.empty())
        return nullptr;
    return OpenView({.kind = ViewKind::CustomFile, .customFile = chosen});
}

bool MainWindow::ChooseIniFile() {
    std::wstring start = startFile_;
    if (start.empty())
        start = services_.environment.Variable(L"systemroot") + L"\\win.ini";
    FileDialogRequest request{.title = L"Open ini file",
                              .filter = L"ini files (*.ini)|*.ini|All files (*.*)|*.*",
                              .folder = PathOf(start),
                              .fileName = FileNameOf(start)};
    const std::wstring chosen = prompter_.FileDialog(hwnd(), request);
    if (!FileExists(chosen))
        return false;
    startFile_ = chosen;
    return true;
}

// Files dropped from the shell open as OpeniniFile would open them, folders as folder views.
void MainWindow::OnDropFiles(HDROP drop) {
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        std::wstring path(DragQueryFileW(drop, i, nullptr, 0) + 1, L'\0');
        path.resize(DragQueryFileW(drop, i, path.data(), static_cast<UINT>(path.size())));
        OpeniniFile(path, true);
    }
    DragFinish(drop);
}

void MainWindow::List_Click(int index) {
    listMode_ = index;
    Check(menu(), IDM_STANDARD_LIST, index == 0);
    Check(menu(), IDM_DETAILED_LIST, index == 1);
    toolbar_.SetDetailsPressed(index == 1);
    if (ViewForm* active = ActiveView())
        active->Refresh();
}

void MainWindow::ToggleMatchColumn() {
    ViewForm* active = ActiveView();
    if (active == nullptr)
        return;
    const bool checked = !(GetMenuState(menu(), IDM_SHOW_MATCH, MF_BYCOMMAND) & MF_CHECKED);
    Check(menu(), IDM_SHOW_MATCH, checked);
    active->view().markOption = checked;
    if (active->view().computerName.empty())
        active->Refresh();
}

void MainWindow::ToggleMaximized() {
    ViewForm* active = ActiveView();
    if (active == nullptr)
        return;
    SendMessageW(mdiClient_, IsZoomed(active->hwnd()) ? WM_MDIRESTORE : WM_MDIMAXIMIZE,
                 reinterpret_cast<WPARAM>(active->hwnd()), 0);
    UpdateMenus();
}

// What the menus show follows the active view window (or the lack of one).
void MainWindow::UpdateMenus() {
    const HMENU bar = menu();
    if (bar == nullptr)
        return;
    ViewForm* active = ActiveView();
    for (const int id : kViewCommands)
        Enable(bar, id, active != nullptr);
    if (active == nullptr)
        Enable(bar, IDM_DELETE_VALUE, false);
    if (active != nullptr) {
        const View& view = active->view();
        const ViewKind kind = view.viewKind;
        Enable(bar, IDM_SAVE_AS,
               kind == ViewKind::Registry || kind == ViewKind::CustomFile || kind == ViewKind::Folder);
        const std::wstring caption = active->CaptionText();
        Enable(bar, IDM_EDIT_VALUE, view.folderPath.empty() && !caption.starts_with(L"Transpose"));
        Check(bar, IDM_SHOW_MATCH, view.markOption);
        SetCaption(bar, IDM_MAXIMIZE, IsZoomed(active->hwnd()) ? L"R&estore\tCtrl+M" : L"Maximiz&e\tCtrl+M");
        computerBox_ = ComputerBoxText(view.computerName);
    }
    toolbar_.SetComputerText(computerBox_);
    ShowCancelCommand(active != nullptr && active->IsFilling());
}

bool MainWindow::MarkOption() const {
    return (GetMenuState(GetMenu(hwnd()), IDM_SHOW_MATCH, MF_BYCOMMAND) & MF_CHECKED) != 0;
}

// "&Cancel" is a top-level entry that is there only while the active view fills.
void MainWindow::ShowCancelCommand(bool shown) {
    const HMENU bar = menu();
    if (bar == nullptr)
        return;
    const bool present = GetMenuState(bar, IDM_CANCEL, MF_BYCOMMAND) != static_cast<UINT>(-1);
    if (shown && !present)
        AppendMenuW(bar, MF_STRING, IDM_CANCEL, kCancelCaption);
    else if (!shown && present)
        DeleteMenu(bar, IDM_CANCEL, MF_BYCOMMAND);
    else
        return;
    DrawMenuBar(hwnd());
}

void MainWindow::CellCommandsChanged(const CellCommands& commands) {
    Enable(menu(), IDM_PROPERTIES, commands.properties);
    Enable(menu(), IDM_EDIT_VALUE, commands.editValue);
    Enable(menu(), IDM_DELETE_VALUE, commands.deleteValue);
}

void MainWindow::PopupEditMenu() {
    POINT at{};
    GetCursorPos(&at);
    TrackPopupMenu(GetSubMenu(menu(), kEditMenuPosition), TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0,
                   hwnd(), nullptr);
}

void MainWindow::ViewsChanged() {
    if (hwnd() != nullptr)
        PostMessageW(hwnd(), kUpdateMenusMessage, 0, 0);
}

// While views fill, the main window asks each of them to close and closes itself when the last fill ended.
bool MainWindow::OnClose() {
    if (ViewForm::RunningFills() == 0) {
        SaveSettings();
        return true;
    }
    closeWhenFillsEnd_ = true;
    for (HWND child = GetWindow(mdiClient_, GW_CHILD); child != nullptr;) {
        const HWND next = GetWindow(child, GW_HWNDNEXT);
        SendMessageW(child, WM_CLOSE, 0, 0);
        child = next;
    }
    return false;
}

void MainWindow::FillEnded() {
    if (closeWhenFillsEnd_ && ViewForm::RunningFills() == 0 && hwnd() != nullptr)
        PostMessageW(hwnd(), WM_CLOSE, 0, 0);
}

// Commands from other programs wait while a command string runs or a view fills: they act on views as the
// user sees them when nothing is running.
bool MainWindow::BusyForCommands() const {
    return starting_ || commandDepth_ > 0 || ViewForm::RunningFills() > 0;
}

void MainWindow::OnDestroy() {
    mdiClient_ = nullptr;
    PostQuitMessage(0);
}

LRESULT MainWindow::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) const {
    return DefFrameProcW(hwnd(), mdiClient_, message, wParam, lParam);
}

} // namespace vantrel
