#include "ini_text.h"

namespace vantrel::fuzz {
namespace {

std::wstring_view TrimLine(std::wstring_view line) {
    constexpr std::wstring_view kBlanks = L" \t";
    const size_t first = line.find_first_not_of(kBlanks);
    if (first == std::wstring_view::npos)
        return {};
    return line.substr(first, line.find_last_not_of(kBlanks) - first + 1);
}

} // namespace

IniSections ParseIniText(std::wstring_view text) {
    IniSections sections;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find_first_of(L"\r\n", start);
        if (end == std::wstring_view::npos)
            end = text.size();
        const std::wstring_view line = TrimLine(text.substr(start, end - start));
        start = end + (text.substr(end).starts_with(L"\r\n") ? 2 : 1);
        if (line.empty())
            continue;
        if (line.front() == L'[') {
            const std::wstring_view name = line.substr(1, line.find(L']') - 1);
            sections.emplace_back(std::wstring(TrimLine(name)), std::vector<std::wstring>());
        } else if (!sections.empty()) {
            sections.back().second.emplace_back(line);
        }
    }
    return sections;
}

} // namespace vantrel::fuzz
