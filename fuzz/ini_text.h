#pragma once
// Ini text read the way the profile functions read a file, for fuzz targets that feed an ini reader through
// the in-memory IniFiles of the tests.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vantrel::fuzz {

using IniSections = std::vector<std::pair<std::wstring, std::vector<std::wstring>>>;

// The sections of `text` in file order, each with its entries: a line "[name]" starts a section (the name
// ends at the first "]"), any other line that is not blank is an entry of the section above it, lines before
// the first section are not read. Lines end at "\n", "\r\n" or "\r"; blanks around a line do not count.
IniSections ParseIniText(std::wstring_view text);

} // namespace vantrel::fuzz
