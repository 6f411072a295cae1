#pragma once
// Writing exported bytes where "[OutFile]" sends them: a file, or the standard output of the program (the
// console it was started from, for a program without a console of its own).
#include <cstdint>
#include <string_view>

namespace vantrel {

// Creates or replaces the file; 0, or the Windows error code (a missing folder, a full disk).
[[nodiscard]] std::uint32_t WriteBytesToFile(std::wstring_view path, std::string_view bytes);

// Writes UTF-8 bytes to standard output: a redirected output takes them as they are, a console gets the
// text (without a byte-order mark). A program without a console attaches to its parent's. 0, or the Windows
// error code; ERROR_INVALID_HANDLE when there is no output at all.
[[nodiscard]] std::uint32_t WriteBytesToStandardOutput(std::string_view bytes);

} // namespace vantrel
