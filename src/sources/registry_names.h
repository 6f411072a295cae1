#pragma once
// Key and value names compare as the registry compares them: without regard to case, for the letters of the
// Latin, Greek and Cyrillic alphabets; subkeys list in the order of their upper-case names.
#include <string_view>

namespace vantrel {

wchar_t RegistryUpperCase(wchar_t c);

// Less than, equal to or greater than 0, as `a` sorts before, with or after `b`.
int CompareRegistryNames(std::wstring_view a, std::wstring_view b);

inline bool SameRegistryName(std::wstring_view a, std::wstring_view b) {
    return a.size() == b.size() && CompareRegistryNames(a, b) == 0;
}

} // namespace vantrel
