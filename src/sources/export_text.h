#pragma once
// The characters of a registry export file. regedit writes "Windows Registry Editor Version 5.00" files in
// UTF-16 with a byte-order mark and "REGEDIT4" files in the ANSI code page; files edited by hand may also be
// UTF-8 with a byte-order mark. ANSI means Windows-1252 here: the code page of the exports we are given.
#include <cstdint>
#include <span>
#include <string>

namespace vantrel {

// The text of the file's bytes, in UTF-16 code units, without the byte-order mark. An odd last byte of a
// UTF-16 file is dropped; bytes that are not UTF-8 in a UTF-8 file become U+FFFD.
std::wstring DecodeExportText(std::span<const std::uint8_t> bytes);

// One byte of the ANSI code page as its character.
wchar_t AnsiCharacter(std::uint8_t byte);

} // namespace vantrel
