#include "platform/file_info.h"

#include "platform/unique_handle.h"

#include <cwchar>
#include <optional>

namespace vantrel {

std::optional<WIN32_FIND_DATAW> DirectoryEntry(std::wstring_view path) {
    WIN32_FIND_DATAW entry{};
    const UniqueFind find(FindFirstFileW(std::wstring(path).c_str(), &entry));
    if (!find)
        return std::nullopt;
    return entry;
}

unsigned long long EntrySize(const WIN32_FIND_DATAW& entry) {
    return (static_cast<unsigned long long>(entry.nFileSizeHigh) << 32) | entry.nFileSizeLow;
}

unsigned long long Get_FSize(std::wstring_view path) {
    const auto entry = DirectoryEntry(path);
    return entry ? EntrySize(*entry) : 0;
}

std::wstring Get_FTime(std::wstring_view path) {
    const auto entry = DirectoryEntry(path);
    if (!entry)
        return {};
    return FileTimeText(entry->ftLastWriteTime);
}

std::wstring FileTimeText(const FILETIME& utc) {
    FILETIME local{};
    SYSTEMTIME fields{};
    if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToSystemTime(&local, &fields))
        return {};
    wchar_t text[64]{};
    std::swprintf(text, std::size(text), L"%u/%02u/%02u, %02u:%02u:%02u.%03u", fields.wYear, fields.wMonth,
                  fields.wDay, fields.wHour, fields.wMinute, fields.wSecond, fields.wMilliseconds);
    return text;
}

} // namespace vantrel
