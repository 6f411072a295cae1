#pragma once
// Whether files and folders exist, as the command language and the file opening ask.
#include <string>
#include <string_view>

namespace vantrel {

// A path that is not empty, does not end in "\" and lists at least one normal file (so a wildcard pattern
// exists when any file matches it).
bool FileExists(std::wstring_view path);

// A folder that lists at least one entry.
bool FolderExists(std::wstring_view path);

} // namespace vantrel
