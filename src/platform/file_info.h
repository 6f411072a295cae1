#pragma once
// What a file's directory entry tells: its size and its times, as the folder views and the file properties
// dialog show them.
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace vantrel {

// The file's directory entry; nothing when it cannot be found.
std::optional<WIN32_FIND_DATAW> DirectoryEntry(std::wstring_view path);
// The size and the last-modified time an entry holds.
unsigned long long EntrySize(const WIN32_FIND_DATAW& entry);

// The size in bytes; 0 when the file cannot be found.
unsigned long long Get_FSize(std::wstring_view path);
// The last-modified time as FileTimeText writes it; empty when the file cannot be found.
std::wstring Get_FTime(std::wstring_view path);
// A file time in local time, as "2004/03/15, 09:05:07.123".
std::wstring FileTimeText(const FILETIME& utc);

} // namespace vantrel
