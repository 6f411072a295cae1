#pragma once
#include "sources/ini_text.h"
#include "views/ini_files.h"

#include <cstdint>
#include <optional>

namespace vantrel {

// Ini files read by the program's own reader (sources/ini_text.h), which answers as the system's profile
// functions do but reads a file once rather than once a question: one file is held at a time, and read
// again when its size or last write time changed. Writes go through the profile functions.
class WinIniFiles final : public IniFiles {
public:
    bool ReadAhead(std::wstring_view file, const std::function<bool()>& keepGoing) override;
    std::vector<std::wstring> SectionNames(std::wstring_view file) override;
    std::vector<std::wstring> SectionEntries(std::wstring_view file, std::wstring_view section) override;
    std::wstring ReadIniValue(std::wstring_view file, std::wstring_view section,
                              std::wstring_view key) override;
    [[nodiscard]] WriteResult WriteIniValue(std::wstring_view file, std::wstring_view section,
                                            std::wstring_view key, std::wstring_view value) override;

private:
    struct HeldFile {
        std::wstring path;
        std::uint64_t sizeBytes = 0;
        std::uint64_t lastWriteTime = 0;
        IniText text;
    };
    // The text of the file, read when it is not the one held; nothing when `keepGoing` stopped the read.
    const IniText* TextOf(std::wstring_view file, const std::function<bool()>& keepGoing);
    const IniText& TextOf(std::wstring_view file);

    std::optional<HeldFile> held_;
};

// The system's conversions of a file's bytes: the ANSI code page and UTF-8.
IniDecoders SystemIniDecoders();

} // namespace vantrel
