#include "shell/command_language.h"

#include "views/field.h"
#include "views/text.h"

#include <array>

namespace vantrel {
namespace {

constexpr std::wstring_view kBracketsAndBlank = L"{}[] ";

// The usage text in its pieces: "#" stands for a line feed, "_" for a tab.
constexpr std::array<std::wstring_view, 18> kUsagePieces{
    L"Usage:#_Kivo [<kvffile>|<inifile>|<DDE-cmd>[..]]##Where:#",
    L"    kvffile: _A Vantrel custom view settings file (.kvf)#",
    L"    inifile:__An ini (or any) file to be viewed in matrix form#",
    L"    DDE-cmd: _A single or series of DDE command(s) in [].##Valid DDE commands are:#",
    L" - Open      <kvffile>    _Open a custom view#",
    L" - OpenSW    [<computer>]_Open the \"Installed\" view#",
    L" - OpenOCX   [<computer>]_View the registered controls#",
    L" - Connect    <computer>_Switch the current view to view another computer#",
    L" - OpenIni     <inifile>_Open a specified ini file to display as a matrix#",
    L" - Detail_     <1/0> _Switch details view - on/off#",
    L" - SetMatch   <col> _Set the Match column to the specified column in the current view#",
    L" - Sort  _     <col +/->_Sort on the specified column#",
    L" - Transpose __Switch the columns and rows#",
    L" - OutExcel   __Open the current view in a new Excel sheet#",
    L" - Close___Close the active view#",
    L" - Exit___Exit the program#",
    L"#Example:#",
    L"_Kivo [OpenSW WS0015][Detail 1][OutExcel][Exit]#",
};

} // namespace

std::vector<Command> ParseCommandString(std::wstring_view commands) {
    std::vector<Command> parsed;
    for (std::wstring& part : SplitFields(commands, L"]")) {
        if (part.empty())
            break;
        if (kBracketsAndBlank.find(part.front()) != std::wstring_view::npos)
            part.erase(0, 1);
        if (!part.empty() && kBracketsAndBlank.find(part.back()) != std::wstring_view::npos)
            part.pop_back();
        const size_t blank = part.find(L' ');
        Command command{LowerCase(std::wstring_view(part).substr(0, blank)),
                        blank == std::wstring::npos ? std::wstring() : part.substr(blank + 1)};
        if (command.argument.starts_with(L'"'))
            command.argument.erase(0, 1);
        if (command.argument.ends_with(L'"'))
            command.argument.pop_back();
        parsed.push_back(std::move(command));
    }
    return parsed;
}

std::wstring UsageText() {
    std::wstring text;
    for (const std::wstring_view piece : kUsagePieces)
        text += piece;
    for (wchar_t& c : text) {
        if (c == L'#')
            c = L'\n';
        else if (c == L'_')
            c = L'\t';
    }
    return text;
}

std::wstring HandOverCommand(std::wstring_view commandLine) {
    if (commandLine.starts_with(L'['))
        return std::wstring(commandLine);
    return L"[open \"" + std::wstring(commandLine) + L"\"]";
}

std::wstring UnquotedCommandLine(std::wstring_view commandLine) {
    return WithoutEnclosingQuotes(commandLine);
}

bool IsHelpSwitch(std::wstring_view commandLine) {
    return commandLine == L"-" || commandLine == L"?" || commandLine == L"-?" || commandLine == L"/" ||
           commandLine == L"/?";
}

} // namespace vantrel
