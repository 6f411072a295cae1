#include "shell/main_window.h"

#include "views/custom_view_file.h"

#include "dialogs/about/about_box.h"
#include "platform/program_file.h"
#include "platform/win_files.h"
#include "shell/command_language.h"
#include "shell/main_menu_ids.h"
#include "shell/settings.h"
#include "shell/view_commands.h"
#include "shell/window_setting.h"
#include "ui/screen.h"
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
constexpr UINT kActivateSplashMessage = WM_APP + 4;
constexpr int kEditMenuPosition = 1;
constexpr int kWindowMenuPosition = 3;
constexpr const wchar_t* kCancelCaption = L"&Cancel";

std::wstring CurrentDirectory() {
    std::wstring folder(GetCurrentDirectoryW(0, nullptr), L'\0');
    folder.resize(GetCurrentDirectoryW(static_cast<DWORD>(folder.size()), folder.data()));
    return folder;
}

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
    UniqueMenu menu(LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAIN_MENU)));
    const HWND hwnd =
        CreateWindowExW(0, kMainWindowClass, std::wstring(kAppTitle).c_str(),
                        WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, nullptr, menu.get(), instance, window.get());
    if (hwnd == nullptr)
        return nullptr;
    menu.release(); // the window's now: it goes with the window
    window->accelerators_.reset(
        LoadAcceleratorsW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAIN_ACCELERATORS)));
    window->computerBox_ = ComputerBoxText(L"");
    window->LoadSettings();
    window->spreadsheet_ = std::make_unique<SpreadsheetExport>(prompter, window->exportFolder_);
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
    // Exports without Excel go to the documents folder unless "ExportFolder" names another; it is the
    // user's to set and is not written back.
    exportFolder_ = services_.registry.ReadValue(L"", RootKey::FromPath, kSettingsKey, L"ExportFolder");
    if (exportFolder_.size() <= 2)
        exportFolder_ = DocumentsFolder();

    const int tpp = ScreenTwipsPerPixel();
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
    const int tpp = ScreenTwipsPerPixel();
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
    registry.WriteValue(RootKey::FromPath, kSettingsKey, L"MsiPath", InstallPath(), regtype::kSz);
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
        if (ChooseIniFile())
            OpenIniTable();
        break;
    default:
        break;
    }
}

// "&New .." of the new-view dialog: a registry view designed from scratch in the custom view editor.
void MainWindow::DesignNewView() {
    ViewEditRequest request{.twipsPerPixel = ScreenTwipsPerPixel(), .newView = true};
    if (!prompter_.EditView(hwnd(), request))
        return;
    if (request.definition.head.title.empty())
        request.definition.head.title = L"Untitled";
    OpenView({.definition = MakCGp(request.definition, request.twipsPerPixel),
              .kind = ViewKind::Registry,
              .customFile = L"Untitled"});
}
// "&Another computer .." of the new-view dialog: the built-in view on the computer chosen in the computer
// list.
void MainWindow::OpenOnAnotherComputer(int viewNumber) {
    const auto computer = prompter_.ChooseComputer(hwnd());
    if (!computer)
        return;
    SetCombo2(*computer);
    NewView(L"", std::to_wstring(viewNumber), L"");
}

void MainWindow::SetCombo2(std::wstring_view computer) {
    computerBox_ = ComputerBoxText(computer);
    toolbar_.SetComputerText(computerBox_);
}

// The selection form, on a folder to start with: the installed software of this or another computer, or the
// folder view `viewNumber` of a folder. The path box keeps what the user last opened with.
void MainWindow::OpenFolderSelection(int viewNumber) {
    const ViewContents start{.option = ContentsOption::PathLocation,
                             .computer = services_.environment.Variable(L"Computername"),
                             .path = InstallPath()};
    const auto chosen = prompter_.SelectViewContents(hwnd(), start);
    if (!chosen)
        return;
    msiPath_ = chosen->path;
    OpenView(OpeningOfContents(*chosen, viewNumber));
}

// Worked out when first needed: a home drive that is not connected may take its time to answer.
const std::wstring& MainWindow::InstallPath() {
    if (msiPath_.empty())
        msiPath_ = DefaultInstallPath(FileExists(L"H:\\*.*"), services_.environment.Variable(L"BLDSRV"));
    return msiPath_;
}

// WinHlp32 is gone from current Windows: the program's own help page stands in for "Kivo.hlp" unless that
// file is there.
void MainWindow::ShowHelp() {
    const std::wstring folder = ProgramFolder();
    const std::wstring hlp = folder + L"Kivo.hlp";
    if (GetFileAttributesW(hlp.c_str()) != INVALID_FILE_ATTRIBUTES)
        ShellExecuteW(hwnd(), nullptr, L"Winhlp32", hlp.c_str(), nullptr, SW_SHOWNORMAL);
    else
        ShellExecuteW(hwnd(), L"open", (folder + L"Kivo.html").c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

ViewForm* MainWindow::OpeniniFile(const std::wstring& path, bool foldersAllowed) {
    const auto opening =
        OpeningOfFile(path, foldersAllowed, {.fileExists = FileExists, .folderExists = FolderExists});
    return opening ? OpenView(*opening) : nullptr;
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
    ViewForm* active = ActiveView();
    if (active == nullptr)
        return nullptr;
    ViewForm* transposed = OpenView({.kind = active->view().viewKind});
    if (transposed == nullptr || !transposed->ShowTransposedOf(*active))
        return nullptr;
    return transposed;
}

// "&Merge with another view ...": the active view and the views chosen in the merge window selection, merged
// into a new window; the views merged stay open.
ViewForm* MainWindow::MergeActive() {
    ViewForm* active = ActiveView();
    if (active == nullptr)
        return nullptr;
    std::vector<MergeCandidate> others;
    for (HWND child = GetWindow(mdiClient_, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT))
        if (ViewForm* form = ViewForm::FromWindow(child); form != nullptr && form != active)
            others.push_back({form->CaptionText(), child});
    const std::vector<HWND> chosen = prompter_.ChooseViewsToMerge(hwnd(), active->CaptionText(), others);
    std::vector<View*> sources{&active->view()};
    for (const HWND window : chosen)
        if (ViewForm* form = ViewForm::FromWindow(window);
            form != nullptr && sources.size() < kMaxMergedViews)
            sources.push_back(&form->view());
    if (sources.size() < 2)
        return nullptr;
    ViewForm* merged = NewView(L"", L"", L"");
    if (merged != nullptr)
        merged->ShowMergeOf(sources);
    return merged;
}

// Commands run one after another; each sees the windows the ones before it opened, filled.
bool MainWindow::LinkExecute(std::wstring_view commands) {
    ++commandDepth_;
    const bool accepted = RunCommands(commands);
    --commandDepth_;
    return accepted;
}

bool MainWindow::TranslateFrameMessage(MSG& message) const {
    if (mdiClient_ != nullptr && TranslateMDISysAccel(mdiClient_, &message))
        return true;
    return accelerators_ && hwnd() != nullptr && TranslateAcceleratorW(hwnd(), accelerators_.get(), &message);
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
    case WM_ACTIVATE:
        OnActivate(LOWORD(wParam) != WA_INACTIVE);
        break;
    case kActivateSplashMessage:
        ActivateSplash();
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
    if (!toolbar_.Create(hwnd(), ScreenTwipsPerPixel()))
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

// The splash stays in front while it shows: each time the main window is activated, the splash is activated
// again, once the activation is done. A message box of the main window is the active window itself and stays
// in front.
void MainWindow::OnActivate(bool active) {
    if (active && splash_ != nullptr)
        PostMessageW(hwnd(), kActivateSplashMessage, 0, 0);
}

void MainWindow::ActivateSplash() {
    if (splash_ == nullptr || !IsWindow(splash_) || !IsWindowVisible(splash_)) {
        splash_ = nullptr;
        return;
    }
    if (GetActiveWindow() == hwnd() && IsWindowEnabled(hwnd()))
        SetActiveWindow(splash_);
}

void MainWindow::OnSize(int width, int height) {
    toolbar_.Resize();
    const int top = toolbar_.Height();
    if (mdiClient_ != nullptr)
        MoveWindow(mdiClient_, 0, top, width, std::max(height - top, 0), TRUE);
}

ViewForm* MainWindow::NewView(std::wstring_view computer, std::wstring_view view, std::wstring_view extra) {
    return OpenView(ResolveNewView(computer, view, extra, computerBox_));
}

void MainWindow::OpenRelatedView(std::wstring_view computer, int viewNumber, std::wstring_view dataVariable) {
    // An empty computer would be the computer box's; the cell's view may be on another.
    NewView(computer.empty() ? std::wstring_view(L"<") : computer, std::to_wstring(viewNumber), dataVariable);
}

ViewForm* MainWindow::OpenView(const ViewOpening& opening) {
    return ViewForm::Create(mdiClient_, services_, prompter_, *this, opening);
}

ViewForm* MainWindow::ActiveView() const {
    if (mdiClient_ == nullptr)
        return nullptr;
    return ViewForm::FromWindow(reinterpret_cast<HWND>(SendMessageW(mdiClient_, WM_MDIGETACTIVE, 0, 0)));
}

ViewForm* MainWindow::OpenInstalledView(std::wstring_view computer) {
    return OpenView({.computer = std::wstring(computer)});
}

ViewForm* MainWindow::OpenClassList(std::wstring_view computer) {
    return OpenView({.computer = std::wstring(computer), .kind = ViewKind::ClassList});
}

// An ini table without a file of its own shows the start file.
ViewForm* MainWindow::OpenIniTable() {
    return OpenView({.kind = ViewKind::IniTable});
}

ViewForm* MainWindow::OpenOnComputer(const std::wstring& computer) {
    ViewForm* active = ActiveView();
    if (active == nullptr)
        return nullptr;
    const auto opening = vantrel::OpeningOnComputer(active->view(), computer);
    return opening ? OpenView(*opening) : nullptr;
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
    active->view().SetMarkOption(checked);
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
    for (const MainCommand& command : Commands())
        if (command.needsView && command.menuId != 0)
            Enable(bar, command.menuId, active != nullptr);
    if (active != nullptr) {
        const View& view = active->view();
        const ViewKind kind = view.viewKind;
        Enable(bar, IDM_SAVE_AS,
               kind == ViewKind::Registry || kind == ViewKind::CustomFile || kind == ViewKind::Folder);
        const std::wstring caption = active->CaptionText();
        Enable(bar, IDM_EDIT_VALUE, view.folderPath.empty() && !caption.starts_with(L"Transpose"));
        Check(bar, IDM_SHOW_MATCH, view.markOption);
        Enable(bar, IDM_HIGHLIGHT_DIFFERENCES, view.ComparesCells());
        Check(bar, IDM_HIGHLIGHT_DIFFERENCES, view.HighlightsDifferences());
        SetCaption(bar, IDM_MAXIMIZE, IsZoomed(active->hwnd()) ? L"R&estore\tCtrl+M" : L"Maximiz&e\tCtrl+M");
        computerBox_ = ComputerBoxText(view.computerName);
        active->UpdateStatus(); // the cell commands follow its current cell, as a click would set them
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

void MainWindow::CellCommandsChanged(const ViewForm& view, const CellCommands& commands) {
    if (&view != ActiveView())
        return;
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

void MainWindow::ExportToSpreadsheet(ViewForm& view) {
    spreadsheet_->Export(view, commandDepth_ > 0);
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
