#pragma once
// The command language of the command line and of DDE execute strings: "[OpenSW WS0015][Detail 1][Exit]".
// Command words match without regard to case; an argument may be quoted, and a "]" inside quotes does not
// end its command.
#include <string>
#include <string_view>
#include <vector>

namespace vantrel {

struct Command {
    std::wstring word; // lower case
    std::wstring argument;

    bool operator==(const Command&) const = default;
};

// The commands of a command string, up to its first empty part.
std::vector<Command> ParseCommandString(std::wstring_view commands);

// The usage text shown for "/?" and "&Command line parameters ..".
std::wstring UsageText();

// What a second start sends to the running instance: a command string as it is, any other command line as
// an open command of that file.
std::wstring HandOverCommand(std::wstring_view commandLine);

// The command line as the program takes it: one leading and then one trailing double quote dropped.
std::wstring UnquotedCommandLine(std::wstring_view commandLine);

// "-", "?", "-?", "/" and "/?" ask for the usage text.
bool IsHelpSwitch(std::wstring_view commandLine);

} // namespace vantrel
