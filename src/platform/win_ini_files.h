#pragma once
#include "views/ini_files.h"

namespace vantrel {

// The profile functions of Windows; buffers grow until a section or a list of names fits whole.
class WinIniFiles final : public IniFiles {
public:
    std::vector<std::wstring> SectionNames(std::wstring_view file) override;
    std::vector<std::wstring> SectionEntries(std::wstring_view file, std::wstring_view section) override;
    std::wstring ReadIniValue(std::wstring_view file, std::wstring_view section,
                              std::wstring_view key) override;
    [[nodiscard]] WriteResult WriteIniValue(std::wstring_view file, std::wstring_view section,
                                            std::wstring_view key, std::wstring_view value) override;
};

} // namespace vantrel
