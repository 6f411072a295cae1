#pragma once
// Text routines shared by the whole program.
#include <string>
#include <string_view>

namespace vantrel {

std::wstring LowerCase(std::wstring_view text);

// The whole number at the start of text after leading blanks ("12px" gives 12, "abc" 0), at most `max`.
int LeadingNumber(std::wstring_view text, int max);

// True when the text, without blanks around it, is a plain decimal number (sign, digits, point, exponent).
bool ReadsAsNumber(std::wstring_view text, double& value);

// The text without one double quote at its start and one at its end, where there are.
std::wstring WithoutEnclosingQuotes(std::wstring_view text);
// The text without one `mark` at its start and one at its end, where there are.
std::wstring WithoutEnclosing(std::wstring_view text, wchar_t mark);

// Path routines: the text up to and including the last "\", the text after it, and the lower-case text after
// the last "." (empty when there is none).
std::wstring PathOf(std::wstring_view path);
std::wstring FileNameOf(std::wstring_view path);
std::wstring ExtOf(std::wstring_view path);

} // namespace vantrel
