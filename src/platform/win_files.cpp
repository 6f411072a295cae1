#include "platform/win_files.h"

#include "platform/unique_handle.h"

namespace vantrel {
namespace {

template <typename Accept> bool ListsAny(const std::wstring& pattern, Accept accept) {
    WIN32_FIND_DATAW entry{};
    const UniqueFind find(FindFirstFileW(pattern.c_str(), &entry));
    if (!find)
        return false;
    do {
        if (accept(entry))
            return true;
    } while (FindNextFileW(find.get(), &entry));
    return false;
}

} // namespace

bool FileExists(std::wstring_view path) {
    if (path.empty() || path.ends_with(L'\\'))
        return false;
    return ListsAny(std::wstring(path), [](const WIN32_FIND_DATAW& entry) {
        return (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    });
}

bool FolderExists(std::wstring_view path) {
    if (path.empty())
        return false;
    std::wstring pattern(path);
    if (!pattern.ends_with(L'\\'))
        pattern += L'\\';
    return ListsAny(pattern + L"*.*", [](const WIN32_FIND_DATAW&) { return true; });
}

} // namespace vantrel
