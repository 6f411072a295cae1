#pragma once
// The directory entry of the item the file properties dialog shows.
#include <windows.h>

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vantrel {

struct FileEntry {
    std::uint64_t sizeBytes = 0;
    std::uint32_t attributes = 0;
    std::array<std::wstring, 3> times; // last modified, last accessed, created; as "2004/03/15, 09:05:07.123"

    bool IsFolder() const { return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
};

// Nothing when the item cannot be found.
std::optional<FileEntry> FindFileEntry(std::wstring_view path);

} // namespace vantrel
