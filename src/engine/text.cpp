#include "engine/text.h"

#include <cwctype>

namespace vantrel {
namespace {

template <typename T> bool Compare(wchar_t op, const T& value, const T& reference) {
    switch (op) {
    case L'=':
        return value == reference;
    case L'^':
        return value != reference;
    case L'<':
        return value < reference;
    case L'>':
        return value > reference;
    default:
        return false;
    }
}

} // namespace

bool ReplaceFirst(std::wstring& text, std::wstring_view search, std::wstring_view replacement) {
    const size_t at = text.find(search);
    if (at == std::wstring::npos)
        return false;
    text.replace(at, search.size(), replacement);
    return true;
}

bool CompareValues(wchar_t op, std::wstring_view value, std::wstring_view reference) {
    double referenceNumber = 0;
    if (ReadsAsNumber(reference, referenceNumber) && referenceNumber != 0) {
        double valueNumber = 0;
        if (!ReadsAsNumber(value, valueNumber))
            valueNumber = 0;
        return Compare(op, valueNumber, referenceNumber);
    }
    return Compare(op, LowerCase(value), std::wstring(reference));
}

std::wstring ProperCasePath(std::wstring_view path) {
    std::wstring text = LowerCase(path);
    if (text.size() >= 2 && text.front() == L'"' && text.back() == L'"')
        text = text.substr(1, text.size() - 2);
    for (size_t i = 0; i < text.size(); ++i)
        if (i == 0 || text[i - 1] == L'\\')
            text[i] = static_cast<wchar_t>(std::towupper(text[i]));
    return text;
}

} // namespace vantrel
