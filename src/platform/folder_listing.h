#pragma once
// Drives and folders as a drive list and a folder list show them.
#include <string>
#include <string_view>
#include <vector>

namespace vantrel {

// The roots of this computer's drives ("C:\"), in letter order.
std::vector<std::wstring> DriveRoots();

// A drive as a drive list names it: the letter in lower case with its colon, and the volume label of a fixed
// drive in brackets ("c: [System]"). Other drives are not asked for theirs: an empty floppy or CD drive
// would keep the list waiting.
std::wstring DriveListText(std::wstring_view root);

// An existing folder (or drive root) of that path.
bool IsFolder(std::wstring_view path);

// The names of the folders directly inside `folder`, by name without regard to case; none when it cannot be
// listed.
std::vector<std::wstring> SubfolderNames(std::wstring_view folder);

} // namespace vantrel
