#include "dialogs/file_properties/file_entry.h"

#include "platform/file_info.h"

namespace vantrel {

std::optional<FileEntry> FindFileEntry(std::wstring_view path) {
    const std::optional<WIN32_FIND_DATAW> directoryEntry = DirectoryEntry(path);
    if (!directoryEntry)
        return std::nullopt;
    const WIN32_FIND_DATAW& found = *directoryEntry;
    FileEntry entry;
    entry.sizeBytes = EntrySize(found);
    entry.attributes = found.dwFileAttributes;
    entry.times = {FileTimeText(found.ftLastWriteTime), FileTimeText(found.ftLastAccessTime),
                   FileTimeText(found.ftCreationTime)};
    return entry;
}

} // namespace vantrel
