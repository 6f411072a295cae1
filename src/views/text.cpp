#include "views/text.h"

#include "views/field.h"

#include <cwchar>
#include <cwctype>

namespace vantrel {

std::wstring LowerCase(std::wstring_view text) {
    std::wstring lower(text);
    for (wchar_t& c : lower)
        c = static_cast<wchar_t>(std::towlower(c));
    return lower;
}

int LeadingNumber(std::wstring_view text, int max) {
    long long value = 0;
    for (const wchar_t c : TrimBlanks(text)) {
        if (c < L'0' || c > L'9')
            break;
        value = value * 10 + (c - L'0');
        if (value >= max)
            return max;
    }
    return static_cast<int>(value);
}

bool ReadsAsNumber(std::wstring_view text, double& value) {
    const std::wstring trimmed(TrimBlanks(text));
    // Only plain decimal notation: no hexadecimal, infinity or NaN forms.
    if (trimmed.empty() || trimmed.find_first_not_of(L"0123456789+-.eE") != std::wstring::npos)
        return false;
    wchar_t* end = nullptr;
    value = std::wcstod(trimmed.c_str(), &end);
    return end == trimmed.c_str() + trimmed.size();
}

std::wstring PathOf(std::wstring_view path) {
    const size_t slash = path.rfind(L'\\');
    return slash == std::wstring_view::npos ? std::wstring() : std::wstring(path.substr(0, slash + 1));
}

std::wstring FileNameOf(std::wstring_view path) {
    const size_t slash = path.rfind(L'\\');
    return std::wstring(slash == std::wstring_view::npos ? path : path.substr(slash + 1));
}

std::wstring ExtOf(std::wstring_view path) {
    const size_t dot = path.rfind(L'.');
    return dot == std::wstring_view::npos ? std::wstring() : LowerCase(path.substr(dot + 1));
}

std::wstring WithoutEnclosing(std::wstring_view text, wchar_t mark) {
    if (text.starts_with(mark))
        text.remove_prefix(1);
    if (text.ends_with(mark))
        text.remove_suffix(1);
    return std::wstring(text);
}

std::wstring WithoutEnclosingQuotes(std::wstring_view text) {
    return WithoutEnclosing(text, L'"');
}

} // namespace vantrel
