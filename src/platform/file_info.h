#pragma once
// What a file's directory entry tells: its size and its times, as the folder views and the file properties
// dialog show them.
#include <windows.h>

#include <string>
#include <string_view>

namespace vantrel {

// The size in bytes; 0 when the file cannot be found.
unsigned long long Get_FSize(std::wstring_view path);
// The last-modified time as FileTimeText writes it; empty when the file cannot be found.
std::wstring Get_FTime(std::wstring_view path);
// A file time in local time, as "2004/03/15, 09:05:07.123".
std::wstring FileTimeText(const FILETIME& utc);

} // namespace vantrel
