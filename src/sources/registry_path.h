#pragma once
// Key paths as views write them: an optional root prefix ("HKLM\", "HKCR\", "HKCU\", "HKUS\" or the long
// names), "\*" wildcard levels, and a computer named between two "/" (/PC7/HKLM\Software).
#include "sources/registry_api.h"

#include <string>
#include <string_view>

namespace vantrel {

// The root a path names; the path loses its prefix. A path without any "\" gets one appended first, so
// "HKCR" opens the classes root itself. Prefixes are tested one after the other, each on what the previous
// test left; without a prefix the root is the local machine.
RootKey RootOf(std::wstring& path);

// The computer named between the first two "/" of `path` (no "\" between them), or an empty text; `out` is
// the path without the name and its slashes ("//" names nobody and is removed all the same).
std::wstring GetMachine(std::wstring_view path, std::wstring& out);

// The path without its computer part.
std::wstring GetMachOut(std::wstring_view path);

} // namespace vantrel
