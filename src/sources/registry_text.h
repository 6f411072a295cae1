#pragma once
// Registry data as the program's text, and back.
#include "sources/registry_api.h"

#include <optional>
#include <string>
#include <string_view>

namespace vantrel {

// Strings (REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ) as their UTF-16 characters, one terminating NUL dropped
// (a multi-string keeps its inner NULs); REG_DWORD and REG_QWORD as unsigned decimal numbers; every other
// type one character per byte, all bytes.
std::wstring RegistryText(const RegistryData& data);

// The data a text stands for when written as `type`: strings with a terminating NUL (a multi-string as it
// is, its NULs included), numbers from their decimal text, any other type one byte per character.
// Nothing for a number text that is not a whole number in the type's range.
std::optional<RegistryData> RegistryDataFromText(std::wstring_view text, std::uint32_t type);

// A whole unsigned decimal number no larger than `max` (blanks around it allowed), or nothing.
std::optional<std::uint64_t> ParseUnsigned(std::wstring_view text, std::uint64_t max);

} // namespace vantrel
