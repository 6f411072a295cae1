#pragma once
// The texts and command lines of the file properties dialog that need no window: the size and attribute
// texts, the order of the recently used programs and of the shell actions, and the way a registered command
// becomes the command line shown and then the program and parameters launched.
#include "engine/view_services.h"
#include "sources/registry.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel {

// The size in kB, rounded up past each whole kB (so 0 bytes is "1kB"), and above 1,000,000 bytes also in MB:
// "1465kB, 1MB".
std::wstring SizeKbText(std::uint64_t sizeBytes);

// " 0x" and the attribute word in upper-case hexadecimal.
std::wstring AttributesText(std::uint32_t attributes);

// The data of the values that `mruList` names, one character a value name, in that order; values it does
// not name are left out.
std::vector<std::wstring> OrderByMruList(const std::vector<ValueText>& values, std::wstring_view mruList);

// The actions the shell key's default value names (comma-separated, up to the first empty field), then
// every other action in the order the registry lists them.
std::vector<std::wstring> OrderShellActions(std::wstring_view defaultValue,
                                            const std::vector<std::wstring>& actions);

// A registered command made into a command line for `path`: "/idlist,%I,%L" and "%L" become "%1", "/dde"
// and "%*" go, a command without "%1" gets " %1", and the first "%1" becomes the path (unquoted).
std::wstring CommandLineFor(std::wstring_view command, std::wstring_view path);

// The first "%1" of a command line the user typed becomes the path.
std::wstring InsertPath(std::wstring_view commandLine, std::wstring_view path);

struct LaunchRequest {
    std::wstring verb; // "runas" or "open"
    std::wstring program;
    std::wstring parameters;

    bool operator==(const LaunchRequest&) const = default;
};

// What a command line launches: environment variables expanded, "%*" removed, then split after the
// program: at its closing quote when it starts with one, else at the first blank. `chosenEntry` is the
// program or action last chosen: "runas" launches elevated.
LaunchRequest LaunchRequestFor(std::wstring_view commandLine, std::wstring_view chosenEntry,
                               const Environment& environment);

// The Explorer command line that shows the item: a folder opened, a file selected in its folder.
std::wstring ExplorerCommandLine(std::wstring_view path, bool folder);

} // namespace vantrel
