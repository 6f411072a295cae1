#include "console/headless_session.h"

#include "platform/win_files.h"
#include "shell/command_language.h"
#include "shell/out_file.h"
#include "shell/view_commands.h"

#include <algorithm>

namespace vantrel {

std::span<const HeadlessSession::Word> HeadlessSession::Words() {
    using S = HeadlessSession;
    // clang-format off
    static constexpr Word kWords[] = {
        {L"open",      false, &S::OpenCommand},
        {L"opensw",    false, &S::OpenInstalledCommand},
        {L"openocx",   false, &S::OpenControlsCommand},
        {L"openini",   false, &S::OpenIniTableCommand},
        {L"connect",   true,  &S::ConnectCommand},
        {L"outexcel",  true,  &S::OutExcelCommand},
        {L"detail",    false, &S::DetailCommand},
        {L"setmatch",  true,  &S::SetMatchCommand},
        {L"sort",      true,  &S::SortCommand},
        {L"transpose", true,  &S::TransposeCommand},
        {L"close",     true,  &S::CloseCommand},
        {L"exit",      false, &S::ExitCommand},
        {L"outfile",   false, &S::OutFileCommand},
    };
    // clang-format on
    return kWords;
}

// Unlike the main window, which ignores what it does not know, a script learns of every command that did
// nothing: a misspelt word would otherwise leave an export silently missing.
bool HeadlessSession::Run(std::wstring_view commands) {
    bool worked = true;
    for (const Command& parsed : ParseCommandString(commands)) {
        const std::wstring told =
            L"[" + parsed.word + (parsed.argument.empty() ? L"" : L" " + parsed.argument) + L"]";
        if (parsed.argument == L"?") {
            ErrorLine(KivocUsage());
            return worked;
        }
        const auto words = Words();
        const auto found = std::ranges::find(words, parsed.word, &Word::word);
        bool done = false;
        if (found == words.end())
            ErrorLine(L"Unknown command " + told);
        else if (found->needsView && ActiveView() == nullptr)
            ErrorLine(L"No view for " + told);
        else
            done = (this->*found->run)(parsed.argument);
        done = !dialogue_.TakeUnanswered() && done;
        worked = worked && done;
    }
    return worked;
}

bool HeadlessSession::Open(const ViewOpening& opening) {
    auto opened = std::make_unique<ConsoleView>(services_, dialogue_, [this] { return listMode_; });
    TakeOpening(opened->view, opening, false);
    opened->host.startFile = startFile_;
    opened->view.fillflex();
    views_.push_back(std::move(opened));
    return true;
}

bool HeadlessSession::Refused(std::wstring_view why) {
    ErrorLine(why);
    return false;
}

bool HeadlessSession::OpenCommand(std::wstring_view file) {
    const auto opening =
        OpeningOfFile(std::wstring(file), false, {.fileExists = FileExists, .folderExists = FolderExists});
    return opening ? Open(*opening) : Refused(L"Could not open " + std::wstring(file));
}

bool HeadlessSession::OpenInstalledCommand(std::wstring_view computer) {
    return Open({.computer = std::wstring(computer)});
}

bool HeadlessSession::OpenControlsCommand(std::wstring_view computer) {
    return Open({.computer = std::wstring(computer), .kind = ViewKind::ClassList});
}

bool HeadlessSession::OpenIniTableCommand(std::wstring_view file) {
    if (!FileExists(file))
        return Refused(L"Could not open " + std::wstring(file));
    startFile_ = file;
    return Open({.kind = ViewKind::IniTable});
}

bool HeadlessSession::ConnectCommand(std::wstring_view computer) {
    const auto opening = OpeningOnComputer(*ActiveView(), std::wstring(computer));
    return opening ? Open(*opening) : Refused(L"This view cannot be shown on another computer");
}

bool HeadlessSession::OutExcelCommand(std::wstring_view) {
    return Refused(L"OutExcel needs Excel and a desktop: write the view with [OutFile <file>.csv] instead");
}

bool HeadlessSession::DetailCommand(std::wstring_view mode) {
    listMode_ = ListModeArgument(mode);
    if (View* active = ActiveView()) {
        active->GetCurWidths();
        active->fillflex();
    }
    return true;
}

bool HeadlessSession::SetMatchCommand(std::wstring_view column) {
    return SetMatchColumn(*ActiveView(), MatchColumnArgument(column)) ||
           Refused(L"No column " + std::wstring(column) + L" in the view");
}

bool HeadlessSession::SortCommand(std::wstring_view argument) {
    SortByArgument(*ActiveView(), argument);
    return true;
}

bool HeadlessSession::TransposeCommand(std::wstring_view) {
    const ConsoleView& source = *views_.back();
    auto transposed = std::make_unique<ConsoleView>(services_, dialogue_, [this] { return listMode_; });
    TakeOpening(transposed->view, {.kind = source.view.viewKind}, false);
    if (!transposed->view.transpose(source.view, source.host.Caption()))
        return false; // the transpose has told why
    views_.push_back(std::move(transposed));
    return true;
}

bool HeadlessSession::CloseCommand(std::wstring_view) {
    views_.pop_back();
    return true;
}

// The session ends with its command string anyway.
bool HeadlessSession::ExitCommand(std::wstring_view) {
    return true;
}

bool HeadlessSession::OutFileCommand(std::wstring_view path) {
    const auto failure = WriteViewOut(ActiveView(), views_.empty() ? L"" : ActiveCaption(), path);
    return !failure || Refused(*failure);
}

std::wstring KivocUsage() {
    return LR"(Usage:
	kivoc [--answer <text>]... "<commands>"
	kivoc --help

Runs Vantrel's commands with no window and exits with 0 when every command worked, 1 when one failed and
2 when the command line is wrong. Messages are lines on standard error; a question takes the next --answer
text ("yes" for Yes), and fails its command when none is left.

Commands:
 - Open      <kvffile>|<inifile>	Open a custom view, or an ini (or any) file as a matrix
 - OpenSW    [<computer>]	Open the "Installed" view
 - OpenOCX   [<computer>]	View the registered controls
 - OpenIni    <inifile>	Open a specified ini file to display as a matrix
 - Connect    <computer>	The current view on another computer
 - Detail     <1/0>	Switch details view - on/off
 - SetMatch   <col>	Set the Match column to the specified column in the current view
 - Sort       <col +/->	Sort on the specified column
 - Transpose		Switch the columns and rows
 - OutFile    <path>	Write the current view: CSV for .csv, JSON for .json, else tab-separated text
                    	- writes tab-separated text to standard output; -.csv and -.json write CSV or JSON there
 - Close		Close the current view

Examples:
	kivoc "[OpenSW][Detail 1][OutFile installed.csv]"
	kivoc "[OpenSW][Sort 2][OutFile -]"
)";
}

} // namespace vantrel
