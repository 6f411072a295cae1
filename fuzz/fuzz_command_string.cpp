// Command strings of the command line and of DDE, and what a second start hands over.
#include "fuzz_input.h"
#include "shell/command_language.h"
#include "views/text.h"

using namespace vantrel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzInput input(data, size);
    const std::wstring commandLine = input.Rest();

    for (const Command& command : ParseCommandString(commandLine))
        fuzz::Require(command.word == LowerCase(command.word));
    (void)IsHelpSwitch(commandLine);
    const std::wstring unquoted = UnquotedCommandLine(commandLine);
    const std::wstring handedOver = HandOverCommand(unquoted);
    const std::vector<Command> commands = ParseCommandString(handedOver);
    // Any other command line than a command string is handed over as the file to open, whole.
    if (!unquoted.starts_with(L'[') && unquoted.find(L'"') == std::wstring::npos)
        fuzz::Require(!commands.empty() && commands.front() == Command{L"open", unquoted});
    return 0;
}
