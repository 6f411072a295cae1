#include "dialogs/file_properties/file_entry.h"

#include "platform/file_info.h"
#include "platform/unique_handle.h"

namespace vantrel {

std::optional<FileEntry> FindFileEntry(std::wstring_view path) {
    const std::wstring pattern(path);
    WIN32_FIND_DATAW found{};
    const UniqueFind find(FindFirstFileW(pattern.c_str(), &found));
    if (!find)
        return std::nullopt;
    FileEntry entry;
    entry.sizeBytes = (static_cast<std::uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
    entry.attributes = found.dwFileAttributes;
    entry.times = {FileTimeText(found.ftLastWriteTime), FileTimeText(found.ftLastAccessTime),
                   FileTimeText(found.ftCreationTime)};
    return entry;
}

} // namespace vantrel
