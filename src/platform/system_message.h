#pragma once
// The system's own words for an error code.
#include <cstdint>
#include <optional>
#include <string>

namespace vantrel {

// FormatMessage's text without its line break; "Error " + the code when the system has no text for it.
std::wstring SystemMessage(std::uint32_t code);

// The text from the message table of a loaded module (WinHTTP's errors are in "winhttp.dll", not the
// system's table); nothing when the module is not loaded or has no text for the code.
std::optional<std::wstring> ModuleMessage(std::uint32_t code, const wchar_t* moduleName);

} // namespace vantrel
