#pragma once
// What the registry says about a file's type: the programs it was recently opened with, its shell actions,
// and the commands behind them. Look-up errors only make the lists shorter.
#include "sources/registry.h"

#include <string>
#include <string_view>
#include <vector>

namespace vantrel {

// The programs Explorer's "Open with" remembers for the extension (without its dot), most recent first.
std::vector<std::wstring> RecentPrograms(Registry& registry, std::wstring_view extension);

// The registry path ("hkcr\<type>\Shell") of the shell actions of the extension's file type, or of
// folders; a type with a current version ("CurVer") is taken in that version.
std::wstring ShellKeyOf(Registry& registry, std::wstring_view extension, bool folder);

// The actions under the shell key, in the order the shell offers them.
std::vector<std::wstring> ShellActions(Registry& registry, std::wstring_view shellKey);

// The command that opens files with a program of the "Open with" list: its registered open command, or
// the program name itself when it registered none.
std::wstring ProgramCommand(Registry& registry, std::wstring_view program);

// The command of an action; empty when the action has no command.
std::wstring ActionCommand(Registry& registry, std::wstring_view shellKey, std::wstring_view action);

} // namespace vantrel
