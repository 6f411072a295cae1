#pragma once
// An ini file read by the program's own ini reader, as the sections of the tests' in-memory ini files.
#include "sources/ini_text.h"

#include <string>
#include <utility>
#include <vector>

namespace vantrel::fuzz {

inline std::vector<std::pair<std::wstring, std::vector<std::wstring>>> IniSections(const IniText& text) {
    std::vector<std::pair<std::wstring, std::vector<std::wstring>>> sections;
    for (std::wstring& name : text.SectionNames()) {
        std::vector<std::wstring> entries = text.SectionEntries(name);
        sections.emplace_back(std::move(name), std::move(entries));
    }
    return sections;
}

// UTF-16 text as the bytes of a file that says so in its byte order mark.
inline std::string Utf16File(std::wstring_view text) {
    std::string bytes("\xFF\xFE");
    for (const wchar_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>((c >> 8) & 0xFF);
    }
    return bytes;
}

} // namespace vantrel::fuzz
