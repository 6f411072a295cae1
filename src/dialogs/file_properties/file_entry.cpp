#include "dialogs/file_properties/file_entry.h"

#include "platform/unique_handle.h"

namespace vantrel {
namespace {

// The time format the folder views use too. TODO(file-reader): FileTimeText (platform/file_info.h) writes
// it for both once the folder views' reader is in; until then the dialog keeps its own copy here.
std::wstring LocalTimeText(const FILETIME& utc) {
    FILETIME local{};
    SYSTEMTIME time{};
    FileTimeToLocalFileTime(&utc, &local);
    FileTimeToSystemTime(&local, &time);
    wchar_t text[40];
    swprintf(text, std::size(text), L"%u/%02u/%02u, %02u:%02u:%02u.%03u", time.wYear, time.wMonth, time.wDay,
             time.wHour, time.wMinute, time.wSecond, time.wMilliseconds);
    return text;
}

} // namespace

std::optional<FileEntry> FindFileEntry(std::wstring_view path) {
    const std::wstring pattern(path);
    WIN32_FIND_DATAW found{};
    const UniqueFind find(FindFirstFileW(pattern.c_str(), &found));
    if (!find)
        return std::nullopt;
    FileEntry entry;
    entry.sizeBytes = (static_cast<std::uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
    entry.attributes = found.dwFileAttributes;
    entry.times = {LocalTimeText(found.ftLastWriteTime), LocalTimeText(found.ftLastAccessTime),
                   LocalTimeText(found.ftCreationTime)};
    return entry;
}

} // namespace vantrel
