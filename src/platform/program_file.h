#pragma once
// Where this program is: its file, its folder and its name.
#include <string>

namespace vantrel {

std::wstring ProgramPath();
// The folder, with its trailing "\".
std::wstring ProgramFolder();
// The file name without its extension: "Kivo" for Kivo.exe. It is the program's DDE service name too, so a
// renamed copy still finds itself.
std::wstring ProgramName();

} // namespace vantrel
