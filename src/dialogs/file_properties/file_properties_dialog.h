#pragma once
// The file properties dialog: one file or folder's size, times and attributes, the programs it was recently
// opened with and the shell actions of its type, a command line built from the one chosen and launched, and
// the shell's Explorer window and Properties sheet for it. It changes nothing itself.
#include <windows.h>

#include <string_view>

namespace vantrel {

class Environment;
class FileLauncher;
class Messages;
class Registry;

struct FilePropertiesServices {
    Registry& registry;             // the associations
    const Environment& environment; // the variables of a command line
    FileLauncher& launcher;         // programs, Explorer and the Properties sheet
    Messages& messages;             // "Could not read file info"
};

// Shows the item modally; a path ending with "\" is shown without it. An item that cannot be found gets
// only a message. Enter in the path box shows the typed path in its place.
void ShowFile(HWND owner, std::wstring_view path, const FilePropertiesServices& services);

} // namespace vantrel
