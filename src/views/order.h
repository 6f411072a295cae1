#pragma once
// Order characters: one character per definition column index in the column orders of a view.
#include <string>
#include <string_view>

namespace vantrel {

// "0"-"9" are columns 0-9, "a"-"z" (either case) 10-35, "{", "|", "}", "~" 36-39 (merged views only).
inline constexpr std::wstring_view kOrderAlphabet = L"0123456789abcdefghijklmnopqrstuvwxyz{|}~";

// The column index an order character stands for, or -1 for a character that names no column.
int DigitValue(wchar_t c);

// The order character of a column index (0..39), or 0 when the index has none.
wchar_t OrderCharacter(int index);

// The character that names column `index` in the "Column" keys of custom view files: the decimal digit for
// 0-9, otherwise the character with code index + 55 ("A" for 10 up to "Z" for 35, then "[", "\", "]", "^").
wchar_t ColumnKeyName(int index);

} // namespace vantrel
