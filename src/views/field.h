#pragma once
// The one field splitter of the program. Every split of a definition, a custom view line, a registry
// multi-string or a command goes through GetField, so they all agree on quotes and blanks.
#include <string>
#include <string_view>
#include <vector>

namespace vantrel {

// Field n (from 0) of text split at separator:
// - a separator between a pair of double quotes does not separate (the quotes stay in the field); an opening
//   quote without a closing one protects nothing;
// - with the single blank as separator, a run of blanks is one separator;
// - with "=" as separator, field 1 is everything after the first "=", so values may contain "=";
// - a field past the last is empty; the result is trimmed of blanks.
std::wstring GetField(std::wstring_view text, std::wstring_view separator, int n);

// Every field of text, as GetField would return them one by one (without the "=" rest rule).
std::vector<std::wstring> SplitFields(std::wstring_view text, std::wstring_view separator);

// text without its leading and trailing blanks (only blanks, as the program's texts are trimmed everywhere).
std::wstring_view TrimBlanks(std::wstring_view text);

} // namespace vantrel
