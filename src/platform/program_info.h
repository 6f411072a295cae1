#pragma once
// What a program file (.exe, .dll, .sys) says about itself: its title and its version.
#include <string>
#include <string_view>

namespace vantrel {

// The title of an old-style setup.exe from its setup.ini or setup.lst beside it; of any other program its
// description from the version resource. Empty when there is none.
std::wstring ProgramTitle(std::wstring_view path);
// The file version "a.b.c.d" of the version resource; empty when the file has none.
std::wstring ProgramVersion(std::wstring_view path);

} // namespace vantrel
