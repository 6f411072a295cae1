#pragma once
// The main window: the MDI frame with the menu bar that holds every view window.
#include "platform/dde.h"
#include "platform/unique_handle.h"
#include "shell/main_commands.h"
#include "shell/main_toolbar.h"
#include "shell/spreadsheet_export.h"
#include "shell/view_form.h"
#include "shell/view_owner.h"
#include "ui/base_window.h"

#include <shellapi.h>

#include <memory>
#include <span>
#include <string_view>

namespace vantrel {

inline constexpr std::wstring_view kAppTitle = L"Vantrel";
inline constexpr const wchar_t* kMainWindowClass = L"VantrelMainWindow";

class MainWindow : public BaseWindow<MainWindow>, private ViewOwner {
public:
    // Creates the (hidden) frame with its menu and MDI client; nullptr when Windows refuses. The services and
    // the prompter must outlive the window.
    static std::unique_ptr<MainWindow> Create(HINSTANCE instance, const ViewServices& services,
                                              Prompter& prompter);
    ~MainWindow();

    HWND mdiClient() const { return mdiClient_; }
    HMENU menu() const { return GetMenu(hwnd()); }
    const MainToolbar& toolbar() const { return toolbar_; }

    // Shows the window where the settings last left it (maximized if it was).
    void Show(int showCommand);
    const std::wstring& viewFolder() const { return viewFolder_; }
    // The selection form's path box: "MsiPath", or where installation packages usually are.
    const std::wstring& InstallPath();
    const SpreadsheetExport& spreadsheet() const { return *spreadsheet_; }

    // NewView: a new view window, shown; it fills itself once it is up. nullptr when Windows refuses.
    ViewForm* NewView(std::wstring_view computer, std::wstring_view view, std::wstring_view extra);
    ViewForm* OpenView(const ViewOpening& opening);
    ViewForm* ActiveView() const;

    // The standard views: the installed software or the registered controls of a computer (empty: the
    // local one), and the ini table of the start file.
    ViewForm* OpenInstalledView(std::wstring_view computer);
    ViewForm* OpenClassList(std::wstring_view computer);
    ViewForm* OpenIniTable();
    // List mode 0 (standard) or 1 (detailed): the menu's check marks follow, and the active view refills.
    void List_Click(int index);
    int listMode() const { return listMode_; }

    // Runs a command string (command line or DDE execute); false when a command failed (an open).
    [[nodiscard]] bool LinkExecute(std::wstring_view commands);
    void ShowUsage();
    void ShowHelp();
    // What the new-view dialog's other buttons open: a new view designed in the custom view editor, a
    // built-in view on a computer chosen in the computer list, a folder view through the selection form.
    void DesignNewView();
    void OpenOnAnotherComputer(int viewNumber);
    void OpenFolderSelection(int viewNumber);
    // The new-view dialog, modally, and the view the user chose in it.
    void OpenNewViewDialog();
    // Opens the new-view dialog once the messages waiting now have run (the start asks for a first view).
    void PostNewViewDialog();
    void SetStartFile(std::wstring file) { startFile_ = std::move(file); }
    const std::wstring& startFile() const { return startFile_; }
    // The splash window while it shows: activating the main window brings it to the front again.
    void SetSplash(HWND splash) { splash_ = splash; }
    // Opens a file: a custom view file (.kvf), any other file as an ini table, or a folder as a folder view
    // when folders are allowed. nullptr when there is no such file (or folder).
    ViewForm* OpeniniFile(const std::wstring& path, bool foldersAllowed);
    // The file named on the command line, once the main window is up: "Could not open " when it fails, an
    // ini file maximized.
    void OpenStartFile();
    // The computer box: the computer the next view opens on ("<local station>" for the local one).
    void SetCombo2(std::wstring_view computer);
    // A copy of the active view (registry, custom and class views) on another computer.
    ViewForm* OpenOnComputer(const std::wstring& computer);
    // A new view window with the rows and columns of the active view swapped.
    ViewForm* TransposeActive();
    // A new view window with the active view merged with the other views the user chooses.
    ViewForm* MergeActive();
    static constexpr size_t kMaxMergedViews = 40;
    // "&Open a custom view ...": the file the user chooses, as a custom view.
    ViewForm* OpenCustomView();
    // The ini file to show as a table: true when the user chose an existing file, which is then the start
    // file.
    [[nodiscard]] bool ChooseIniFile();
    bool ServesDde() const { return dde_ && dde_->running(); }
    // True until the start is done, while a command string runs and while a view fills: commands from other
    // programs wait meanwhile.
    bool BusyForCommands() const;
    // The start's own command line or file has been dealt with.
    void StartDone() { starting_ = false; }

    // Hands the frame's accelerators and the MDI keys (Ctrl+F4, Ctrl+F6) their messages; true when used.
    bool TranslateFrameMessage(MSG& message) const;

    // Every command of the menu, the toolbar and the command strings.
    static std::span<const MainCommand> Commands();

private:
    friend class BaseWindow<MainWindow>;
    MainWindow(const ViewServices& services, Prompter& prompter) : services_(services), prompter_(prompter) {}

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    bool OnCreate();
    bool OnCommand(int id);
    void OnToolbarCommand(int id);
    CommandOutcome Run(const MainCommand& command, std::wstring_view argument);
    // The commands of the table (main_window_commands.cpp).
    CommandOutcome NewViewCommand(const MainCommand&, std::wstring_view);
    CommandOutcome OpenCustomCommand(const MainCommand&, std::wstring_view);
    CommandOutcome OpenInstalledCommand(const MainCommand&, std::wstring_view);
    CommandOutcome OpenControlsCommand(const MainCommand&, std::wstring_view);
    CommandOutcome OpenOtherViewCommand(const MainCommand&, std::wstring_view);
    CommandOutcome ChooseIniTableCommand(const MainCommand&, std::wstring_view);
    CommandOutcome OpenIniTableCommand(const MainCommand&, std::wstring_view);
    CommandOutcome OpenFileCommand(const MainCommand&, std::wstring_view);
    CommandOutcome InstallsOnPathCommand(const MainCommand&, std::wstring_view);
    CommandOutcome ChooseComputerCommand(const MainCommand&, std::wstring_view);
    CommandOutcome ConnectCommand(const MainCommand&, std::wstring_view);
    CommandOutcome EditViewCommand(const MainCommand&, std::wstring_view);
    CommandOutcome SaveViewCommand(const MainCommand&, std::wstring_view);
    CommandOutcome CloseViewCommand(const MainCommand&, std::wstring_view);
    CommandOutcome PropertiesCommand(const MainCommand&, std::wstring_view);
    CommandOutcome EditValueCommand(const MainCommand&, std::wstring_view);
    CommandOutcome DeleteValueCommand(const MainCommand&, std::wstring_view);
    CommandOutcome SelectAllCommand(const MainCommand&, std::wstring_view);
    CommandOutcome CopyCommand(const MainCommand&, std::wstring_view);
    CommandOutcome OpenInExcelCommand(const MainCommand&, std::wstring_view);
    CommandOutcome RefreshCommand(const MainCommand&, std::wstring_view);
    CommandOutcome ShowMatchCommand(const MainCommand&, std::wstring_view);
    CommandOutcome SetMatchListCommand(const MainCommand&, std::wstring_view);
    CommandOutcome SetMatchCommand(const MainCommand&, std::wstring_view);
    CommandOutcome SortCommand(const MainCommand&, std::wstring_view);
    CommandOutcome OutFileCommand(const MainCommand&, std::wstring_view);
    CommandOutcome ToggleSortCommand(const MainCommand&, std::wstring_view);
    CommandOutcome TransposeCommand(const MainCommand&, std::wstring_view);
    CommandOutcome MultipleComputersCommand(const MainCommand&, std::wstring_view);
    CommandOutcome MergeCommand(const MainCommand&, std::wstring_view);
    CommandOutcome HighlightDifferencesCommand(const MainCommand&, std::wstring_view);
    CommandOutcome FitToTableCommand(const MainCommand&, std::wstring_view);
    CommandOutcome MaximizeCommand(const MainCommand&, std::wstring_view);
    CommandOutcome TileCommand(const MainCommand&, std::wstring_view);
    CommandOutcome CancelCommand(const MainCommand&, std::wstring_view);
    CommandOutcome ExitCommand(const MainCommand&, std::wstring_view);
    CommandOutcome StandardListCommand(const MainCommand&, std::wstring_view);
    CommandOutcome DetailedListCommand(const MainCommand&, std::wstring_view);
    CommandOutcome DetailsButtonCommand(const MainCommand&, std::wstring_view);
    CommandOutcome DetailCommand(const MainCommand&, std::wstring_view);
    CommandOutcome HelpCommand(const MainCommand&, std::wstring_view);
    CommandOutcome UsageCommand(const MainCommand&, std::wstring_view);
    CommandOutcome AboutCommand(const MainCommand&, std::wstring_view);
    void OnSize(int width, int height);
    void OnActivate(bool active);
    void ActivateSplash();
    void OnDropFiles(HDROP drop);
    bool OnClose();
    void OnDestroy();
    void UpdateMenus();
    bool RunCommands(std::wstring_view commands);
    void LoadSettings();
    void SaveSettings();
    void ToggleMatchColumn();
    void ToggleMaximized();
    LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) const;

    // ViewOwner
    int ListMode() const override { return listMode_; }
    bool MarkOption() const override;
    std::wstring StartFile() const override { return startFile_; }
    void ShowCancelCommand(bool shown) override;
    void FillEnded() override;
    void ViewsChanged() override;
    void CellCommandsChanged(const ViewForm& view, const CellCommands& commands) override;
    void PopupEditMenu() override;
    std::wstring ChooseCustomViewFile(bool save, std::wstring_view proposedName) override;
    void ExportToSpreadsheet(ViewForm& view) override;
    void OpenRelatedView(std::wstring_view computer, int viewNumber, std::wstring_view dataVariable) override;

    ViewServices services_;
    Prompter& prompter_;
    HWND mdiClient_ = nullptr;
    MainToolbar toolbar_;
    UniqueAccelerators accelerators_;
    int listMode_ = 0;
    std::wstring startFile_;
    std::wstring computerBox_;
    std::wstring viewFolder_;
    std::wstring msiPath_;
    std::wstring exportFolder_;
    bool startMaximized_ = false;
    HWND splash_ = nullptr;
    std::unique_ptr<DdeServer> dde_;
    std::unique_ptr<SpreadsheetExport> spreadsheet_;
    bool closeWhenFillsEnd_ = false;
    bool starting_ = true;
    int commandDepth_ = 0; // command strings running (one may start another through a modal loop)
};

} // namespace vantrel
