#include "sources/file_properties.h"

#include "views/text.h"

namespace vantrel {
namespace {

// The summary information properties by number: field n (of 12 characters each) names property n. Fields
// 10 and 17 are unused numbers.
constexpr std::wstring_view kSummaryProperties =
    L"codepage   ,title      ,subject    ,author     ,keywords   ,comments   ,template   ,lastauthor ,"
    L"revision   ,           ,printed    ,created    ,saved      ,pages      ,words      ,characters ,"
    L"           ,application,security   ,";
constexpr std::size_t kSummaryFieldLength = 12;

std::wstring BeforeEquals(std::wstring text) {
    if (const auto equals = text.find(L'='); equals != std::wstring::npos)
        text.resize(equals);
    return text;
}

// Drivers name their vendor and class through [strings] ("%Msft%") or in quotes.
std::wstring CleanInfValue(IniFiles& ini, std::wstring_view path, std::wstring text) {
    if (text.empty())
        return text;
    text = BeforeEquals(std::move(text));
    if (text.starts_with(L'%'))
        text = text.size() < 2 ? std::wstring()
                               : ini.ReadIniValue(path, L"strings", text.substr(1, text.size() - 2));
    if (text.starts_with(L'"'))
        text = text.size() < 2 ? std::wstring() : text.substr(1, text.size() - 2);
    return text;
}

} // namespace

MsiPropertyName MsiPropertyFor(std::wstring_view token) {
    const std::wstring name = LowerCase(token);
    // The one-based position of the match divided by the field length: so a match that starts on a field's
    // closing comma already counts for the next field, as it always has.
    if (const auto found = kSummaryProperties.find(name); found != std::wstring_view::npos)
        return {static_cast<int>((found + 1) / kSummaryFieldLength) + 1, {}};
    if (name == L"name")
        return {0, L"ProductName"};
    if (name == L"version")
        return {0, L"ProductVersion"};
    return {0, std::wstring(token)};
}

std::wstring InfProperty(IniFiles& ini, std::wstring_view path, std::wstring_view token) {
    const std::wstring name = LowerCase(token);
    std::wstring value;
    if (name == L"title") {
        const auto manufacturers = ini.SectionEntries(path, L"Manufacturer");
        if (!manufacturers.empty())
            value = BeforeEquals(manufacturers.front());
    } else if (name == L"subject") {
        value = ini.ReadIniValue(path, L"Version", L"Class");
    } else if (name == L"author") {
        value = ini.ReadIniValue(path, L"Version", L"Provider");
    }
    return CleanInfValue(ini, path, std::move(value));
}

} // namespace vantrel
