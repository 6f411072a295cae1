#pragma once
// The directory object picker of Windows, through COM: lets the user choose computers of the network
// directory. One picker lives from its first successful use until a release or a failure.
#include <windows.h>

#include <string>
#include <vector>

namespace vantrel {

// SelectComputers: shows the picker over `owner` and puts the chosen computers' names into names[1..count]
// (names[0] stays empty). The count; 0 when the user cancelled or nothing came back; -1 when the picker
// cannot be used. `maximum` 1 allows one computer, more allows several; 0 releases the picker (answers -1).
// The selection mode the first call initialises the picker with stays in force.
int SelectComputers(int maximum, HWND owner, std::vector<std::wstring>& names);

} // namespace vantrel
