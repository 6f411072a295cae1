// The main window's commands: the table, the dispatch of menus, toolbar buttons and command strings through
// it, and the members that carry the commands out.
#include "shell/main_window.h"

#include "dialogs/about/about_box.h"
#include "engine/compare_request.h"
#include "platform/win_files.h"
#include "shell/command_language.h"
#include "shell/main_menu_ids.h"
#include "shell/out_file.h"
#include "shell/view_commands.h"
#include "views/catalogue.h"
#include "views/text.h"

#include <algorithm>

namespace vantrel {

std::span<const MainCommand> MainWindow::Commands() {
    using W = MainWindow;
    constexpr int kOther = IDM_OTHER_VIEW_FIRST; // "Othe&r built-in views" entry n is kOther + n - 1
    // clang-format off
    static constexpr MainCommand kCommands[] = {
        // menu id               picture word          view   handler
        {IDM_NEW_VIEW,           4,      L"",          false, &W::NewViewCommand},
        {IDM_OPEN_CUSTOM,        7,      L"",          false, &W::OpenCustomCommand},
        {IDM_EDIT_CUSTOM,        15,     L"",          true,  &W::EditViewCommand},
        {IDM_SAVE_AS,            8,      L"",          true,  &W::SaveViewCommand},
        {IDM_CLOSE,              0,      L"close",     true,  &W::CloseViewCommand},
        {IDM_LOCALLY_INSTALLED,  3,      L"opensw",    false, &W::OpenInstalledCommand},
        {kOther + 0,             6,      L"",          false, &W::OpenOtherViewCommand},
        {kOther + 1,             5,      L"",          false, &W::OpenOtherViewCommand},
        {kOther + 2,             20,     L"openocx",   false, &W::OpenControlsCommand},
        {kOther + 3,             16,     L"",          false, &W::OpenOtherViewCommand},
        {kOther + 4,             0,      L"",          false, &W::OpenOtherViewCommand},
        {kOther + 5,             0,      L"",          false, &W::OpenOtherViewCommand},
        {kOther + 6,             0,      L"",          false, &W::OpenOtherViewCommand},
        {kOther + 7,             0,      L"",          false, &W::OpenOtherViewCommand},
        {IDM_INI_FILE,           2,      L"",          false, &W::ChooseIniTableCommand},
        {0,                      0,      L"openini",   false, &W::OpenIniTableCommand},
        {0,                      0,      L"open",      false, &W::OpenFileCommand},
        {IDM_INSTALLS_ON_PATH,   1,      L"",          false, &W::InstallsOnPathCommand},
        {IDM_CONNECT,            18,     L"",          true,  &W::ChooseComputerCommand},
        {0,                      0,      L"connect",   true,  &W::ConnectCommand},
        {IDM_EXIT,               0,      L"exit",      false, &W::ExitCommand},
        {IDM_PROPERTIES,         12,     L"",          true,  &W::PropertiesCommand},
        {IDM_EDIT_VALUE,         10,     L"",          true,  &W::EditValueCommand},
        {IDM_DELETE_VALUE,       0,      L"",          true,  &W::DeleteValueCommand},
        {IDM_SELECT_ALL,         0,      L"",          true,  &W::SelectAllCommand},
        {IDM_COPY,               0,      L"",          true,  &W::CopyCommand},
        {IDM_OPEN_IN_EXCEL,      23,     L"outexcel",  true,  &W::OpenInExcelCommand},
        {IDM_STANDARD_LIST,      0,      L"",          false, &W::StandardListCommand},
        {IDM_DETAILED_LIST,      0,      L"",          false, &W::DetailedListCommand},
        {0,                      9,      L"",          false, &W::DetailsButtonCommand},
        {0,                      0,      L"detail",    false, &W::DetailCommand},
        {IDM_REFRESH,            0,      L"",          true,  &W::RefreshCommand},
        {IDM_SHOW_MATCH,         0,      L"",          true,  &W::ShowMatchCommand},
        {IDM_SET_MATCH_LIST,     0,      L"",          true,  &W::SetMatchListCommand},
        {0,                      0,      L"setmatch",  true,  &W::SetMatchCommand},
        {0,                      0,      L"sort",      true,  &W::SortCommand},
        {0,                      0,      L"outfile",   false, &W::OutFileCommand},
        {IDM_TOGGLE_SORT,        0,      L"",          true,  &W::ToggleSortCommand},
        {IDM_TRANSPOSE,          25,     L"transpose", true,  &W::TransposeCommand},
        {IDM_MULTIPLE_COMPUTERS, 28,     L"",          true,  &W::MultipleComputersCommand},
        {IDM_MERGE,              14,     L"",          true,  &W::MergeCommand},
        {IDM_HIGHLIGHT_DIFFERENCES, 0,   L"",          true,  &W::HighlightDifferencesCommand},
        {IDM_FIT_TO_TABLE,       0,      L"",          true,  &W::FitToTableCommand},
        {IDM_MAXIMIZE,           0,      L"",          true,  &W::MaximizeCommand},
        {IDM_TILE_VERTICALLY,    0,      L"",          true,  &W::TileCommand},
        {IDM_HELP_CONTENTS,      0,      L"",          false, &W::HelpCommand},
        {IDM_COMMAND_LINE,       0,      L"",          false, &W::UsageCommand},
        {IDM_ABOUT,              0,      L"",          false, &W::AboutCommand},
        {IDM_CANCEL,             0,      L"",          true,  &W::CancelCommand},
    };
    // clang-format on
    return kCommands;
}

namespace {

template <typename Matches> const MainCommand* FindCommand(Matches matches) {
    const auto commands = MainWindow::Commands();
    const auto found = std::ranges::find_if(commands, matches);
    return found != commands.end() ? &*found : nullptr;
}

} // namespace

// --- Dispatch ---

CommandOutcome MainWindow::Run(const MainCommand& command, std::wstring_view argument) {
    if (command.needsView && ActiveView() == nullptr)
        return {};
    return (this->*command.run)(command, argument);
}

bool MainWindow::OnCommand(int id) {
    if (const MainCommand* command = FindCommand([id](const MainCommand& c) { return c.menuId == id; })) {
        (void)Run(*command, L"");
        return true;
    }
    return false;
}

// A toolbar button does what its picture number stands for.
void MainWindow::OnToolbarCommand(int id) {
    const int picture = id - kToolbarCommandBase;
    if (const MainCommand* command =
            FindCommand([picture](const MainCommand& c) { return c.picture == picture; })) {
        (void)Run(*command, L"");
        return;
    }
    if (const ToolbarEntry* entry = toolbar_.EntryFor(id))
        prompter_.Message(
            hwnd(), std::to_wstring(toolbar_.IndexOf(id)) + L" - Not yet implemented: " + entry->description,
            MB_OK);
}

// Commands run one after another; each sees the windows the ones before it opened, filled.
bool MainWindow::RunCommands(std::wstring_view commands) {
    bool accepted = true;
    for (const Command& parsed : ParseCommandString(commands)) {
        if (parsed.argument == L"?") {
            ShowUsage();
            PostMessageW(hwnd(), WM_CLOSE, 0, 0);
            return accepted;
        }
        const MainCommand* command =
            FindCommand([&](const MainCommand& c) { return !c.word.empty() && c.word == parsed.word; });
        if (command == nullptr)
            continue;
        const CommandOutcome outcome = Run(*command, parsed.argument);
        accepted = accepted && outcome.accepted;
        if (outcome.opened != nullptr)
            outcome.opened->FillNow(); // the next command acts on a filled view
    }
    return accepted;
}

// --- Views opened ---

CommandOutcome MainWindow::NewViewCommand(const MainCommand&, std::wstring_view) {
    OpenNewViewDialog();
    return {};
}

CommandOutcome MainWindow::OpenCustomCommand(const MainCommand&, std::wstring_view) {
    return {.opened = OpenCustomView()};
}

CommandOutcome MainWindow::OpenInstalledCommand(const MainCommand&, std::wstring_view computer) {
    return {.opened = OpenInstalledView(computer)};
}

CommandOutcome MainWindow::OpenControlsCommand(const MainCommand&, std::wstring_view computer) {
    return {.opened = OpenClassList(computer)};
}

// "Othe&r built-in views": each entry a catalogue view on the computer of the computer box.
CommandOutcome MainWindow::OpenOtherViewCommand(const MainCommand& command, std::wstring_view) {
    const auto target = OtherViewsMenuItem(command.menuId - IDM_OTHER_VIEW_FIRST + 1);
    if (!target)
        return {};
    if (target->classList)
        return {.opened = OpenClassList(L"")};
    return {.opened = NewView(L"", std::to_wstring(target->viewNumber), L"")};
}

CommandOutcome MainWindow::ChooseIniTableCommand(const MainCommand&, std::wstring_view) {
    return {.opened = ChooseIniFile() ? OpenIniTable() : nullptr};
}

// "openini": an ini file that exists becomes the start file, and its table opens.
CommandOutcome MainWindow::OpenIniTableCommand(const MainCommand&, std::wstring_view file) {
    if (!FileExists(std::wstring(file)))
        return {};
    startFile_ = file;
    return {.opened = OpenIniTable()};
}

CommandOutcome MainWindow::OpenFileCommand(const MainCommand&, std::wstring_view file) {
    ViewForm* opened = OpeniniFile(std::wstring(file), false);
    return {.accepted = opened != nullptr, .opened = opened};
}

CommandOutcome MainWindow::InstallsOnPathCommand(const MainCommand&, std::wstring_view) {
    OpenFolderSelection(kInstallFolderView);
    return {};
}

// "Co&nnect to Computer ...": the active view copied onto the computer chosen in the computer list.
CommandOutcome MainWindow::ChooseComputerCommand(const MainCommand&, std::wstring_view) {
    if (static_cast<int>(ActiveView()->view().viewKind) >= static_cast<int>(ViewKind::IniTable))
        return {};
    const auto computer = prompter_.ChooseComputer(hwnd());
    if (!computer)
        return {};
    SetCombo2(*computer);
    return {.opened = OpenOnComputer(computerBox_)};
}

CommandOutcome MainWindow::ConnectCommand(const MainCommand&, std::wstring_view computer) {
    return {.opened = OpenOnComputer(std::wstring(computer))};
}

// --- The active view ---

CommandOutcome MainWindow::EditViewCommand(const MainCommand&, std::wstring_view) {
    ActiveView()->EditCols();
    return {};
}

CommandOutcome MainWindow::SaveViewCommand(const MainCommand&, std::wstring_view) {
    ActiveView()->SaveColsAs();
    return {};
}

CommandOutcome MainWindow::CloseViewCommand(const MainCommand&, std::wstring_view) {
    SendMessageW(ActiveView()->hwnd(), WM_CLOSE, 0, 0);
    return {};
}

CommandOutcome MainWindow::PropertiesCommand(const MainCommand&, std::wstring_view) {
    ActiveView()->EditFile(1);
    return {};
}

CommandOutcome MainWindow::EditValueCommand(const MainCommand&, std::wstring_view) {
    ActiveView()->EditFile(2);
    return {};
}

CommandOutcome MainWindow::DeleteValueCommand(const MainCommand&, std::wstring_view) {
    ActiveView()->DelkeyPressed();
    return {};
}

CommandOutcome MainWindow::SelectAllCommand(const MainCommand&, std::wstring_view) {
    ActiveView()->SelectAll();
    return {};
}

CommandOutcome MainWindow::CopyCommand(const MainCommand&, std::wstring_view) {
    (void)ActiveView()->Copy2clip(); // a clipboard another program holds: nothing to copy to
    return {};
}

CommandOutcome MainWindow::OpenInExcelCommand(const MainCommand&, std::wstring_view) {
    ActiveView()->OpenExcel();
    return {};
}

CommandOutcome MainWindow::RefreshCommand(const MainCommand&, std::wstring_view) {
    ActiveView()->Refresh();
    return {};
}

CommandOutcome MainWindow::ShowMatchCommand(const MainCommand&, std::wstring_view) {
    ToggleMatchColumn();
    return {};
}

CommandOutcome MainWindow::SetMatchListCommand(const MainCommand&, std::wstring_view) {
    ActiveView()->AutoMatch(0);
    return {};
}

CommandOutcome MainWindow::SetMatchCommand(const MainCommand&, std::wstring_view column) {
    ActiveView()->SetMatchColumn(MatchColumnArgument(column));
    return {};
}

CommandOutcome MainWindow::SortCommand(const MainCommand&, std::wstring_view argument) {
    ActiveView()->SortByCommand(argument);
    return {};
}

// "outfile": errors are told, and leave the cancel flag alone: only a failed open sets it.
CommandOutcome MainWindow::OutFileCommand(const MainCommand&, std::wstring_view path) {
    ViewForm* active = ActiveView();
    if (const auto failure = WriteViewOut(active != nullptr ? &active->view() : nullptr,
                                          active != nullptr ? active->CaptionText() : L"", path))
        prompter_.Message(hwnd(), *failure, MB_OK);
    return {};
}

CommandOutcome MainWindow::ToggleSortCommand(const MainCommand&, std::wstring_view) {
    ActiveView()->SortCurrentColumn();
    return {};
}

CommandOutcome MainWindow::TransposeCommand(const MainCommand&, std::wstring_view) {
    return {.opened = TransposeActive()};
}

// "M&ultiple computers row view": the selected data row, or block of cells, on the computers chosen in the
// computer list, in a new window.
CommandOutcome MainWindow::MultipleComputersCommand(const MainCommand&, std::wstring_view) {
    const auto request = MakeCompareRequest(ActiveView()->view());
    if (!request) {
        prompter_.Message(hwnd(), request.error(), MB_OK);
        return {};
    }
    const std::vector<std::wstring> computers = prompter_.ChooseComputers(hwnd(), request->path);
    if (computers.size() < 2)
        return {};
    ViewForm* compared = OpenView({.definition = request->definition});
    if (compared != nullptr) {
        compared->view().NewCompuRows(request->path, computers);
        UpdateMenus();
    }
    return {.opened = compared};
}

CommandOutcome MainWindow::MergeCommand(const MainCommand&, std::wstring_view) {
    return {.opened = MergeActive()};
}

// "Hi&ghlight differences": a check entry of each view window that compares its cells.
CommandOutcome MainWindow::HighlightDifferencesCommand(const MainCommand&, std::wstring_view) {
    ViewForm* active = ActiveView();
    active->HighlightDifferences(!active->view().HighlightsDifferences());
    UpdateMenus();
    return {};
}

CommandOutcome MainWindow::FitToTableCommand(const MainCommand&, std::wstring_view) {
    ViewForm* active = ActiveView();
    active->ColsReSize();
    active->FitWindowToTable();
    return {};
}

CommandOutcome MainWindow::MaximizeCommand(const MainCommand&, std::wstring_view) {
    ToggleMaximized();
    return {};
}

CommandOutcome MainWindow::TileCommand(const MainCommand&, std::wstring_view) {
    SendMessageW(mdiClient_, WM_MDITILE, MDITILE_VERTICAL, 0);
    return {};
}

CommandOutcome MainWindow::CancelCommand(const MainCommand&, std::wstring_view) {
    ActiveView()->view().Stop();
    return {};
}

// --- The program ---

CommandOutcome MainWindow::ExitCommand(const MainCommand&, std::wstring_view) {
    PostMessageW(hwnd(), WM_CLOSE, 0, 0);
    return {};
}

CommandOutcome MainWindow::StandardListCommand(const MainCommand&, std::wstring_view) {
    List_Click(0);
    return {};
}

CommandOutcome MainWindow::DetailedListCommand(const MainCommand&, std::wstring_view) {
    List_Click(1);
    return {};
}

CommandOutcome MainWindow::DetailsButtonCommand(const MainCommand&, std::wstring_view) {
    List_Click(toolbar_.DetailsPressed() ? 1 : 0);
    return {};
}

CommandOutcome MainWindow::DetailCommand(const MainCommand&, std::wstring_view mode) {
    List_Click(ListModeArgument(mode));
    return {};
}

CommandOutcome MainWindow::HelpCommand(const MainCommand&, std::wstring_view) {
    ShowHelp();
    return {};
}

CommandOutcome MainWindow::UsageCommand(const MainCommand&, std::wstring_view) {
    ShowUsage();
    return {};
}

CommandOutcome MainWindow::AboutCommand(const MainCommand&, std::wstring_view) {
    ShowAboutBox(hwnd());
    return {};
}

} // namespace vantrel
