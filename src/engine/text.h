#pragma once
// Small text routines of the engine.
#include <string>
#include <string_view>

#include "views/text.h"

namespace vantrel {

// Replaces the first occurrence of `search` (exact case); true when there was one.
bool ReplaceFirst(std::wstring& text, std::wstring_view search, std::wstring_view replacement);

// The comparison of conditions: numeric when the (lower-cased) reference reads as a number other than 0
// (a value that is no number then counts as 0), else the lower-cased value against the reference by
// character code. op is '=', '^', '<' or '>'; any other operator is false.
bool CompareValues(wchar_t op, std::wstring_view value, std::wstring_view reference);

// A server path as the class list shows it: lower case without one pair of enclosing double quotes, then the
// first character and the first after every "\" in upper case. One file registered as
// C:\WINDOWS\SYSTEM32\X.DLL and as c:\windows\system32\x.dll then reads the same (C:\Windows\System32\X.dll)
// and sorts together.
std::wstring ProperCasePath(std::wstring_view path);

} // namespace vantrel
