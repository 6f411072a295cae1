#pragma once
// The file properties a folder view asks for that follow from the token and from ini-style reads alone:
// which Windows Installer property a token names, and the values of driver information files (.inf).
#include "views/ini_files.h"

#include <string>
#include <string_view>

namespace vantrel {

// A token asked of an installer package: a summary information property (2 title, 3 subject, ...) or,
// when summaryNumber is 0, a property of the package's Property table.
struct MsiPropertyName {
    int summaryNumber = 0;
    std::wstring tableProperty;
    bool operator==(const MsiPropertyName&) const = default;
};
MsiPropertyName MsiPropertyFor(std::wstring_view token);

// "title" (the first manufacturer), "subject" (the class) or "author" (the provider) of the .inf file at
// `path`, with [strings] references resolved and quotes dropped; empty for any other token.
std::wstring InfProperty(IniFiles& ini, std::wstring_view path, std::wstring_view token);

} // namespace vantrel
