#pragma once
// Reading and writing ini files (sectioned key=value text), answering as the system's profile functions do.
#include <cstdint>
#include <expected>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel {

// A write that failed, with the system's error code: the user is told it in the system's words.
struct WriteFailure {
    std::uint32_t systemError = 0;
};
using WriteResult = std::expected<void, WriteFailure>;

class IniFiles {
public:
    virtual ~IniFiles() = default;
    // Reads the file ahead of the questions that follow, calling `keepGoing` now and then while it reads;
    // false when `keepGoing` said to stop. Readers that read nothing ahead answer true at once.
    virtual bool ReadAhead(std::wstring_view /*file*/, const std::function<bool()>& /*keepGoing*/) {
        return true;
    }
    // The section names in file order; none for a missing file.
    virtual std::vector<std::wstring> SectionNames(std::wstring_view file) = 0;
    // The entries ("key=value") of a section in file order, each whole however long the section is.
    virtual std::vector<std::wstring> SectionEntries(std::wstring_view file, std::wstring_view section) = 0;
    // One value, whole however long; empty when missing.
    virtual std::wstring ReadIniValue(std::wstring_view file, std::wstring_view section,
                                      std::wstring_view key) = 0;
    // Writes one value, creating the file and the section as needed.
    [[nodiscard]] virtual WriteResult WriteIniValue(std::wstring_view file, std::wstring_view section,
                                                    std::wstring_view key, std::wstring_view value) = 0;
};

} // namespace vantrel
