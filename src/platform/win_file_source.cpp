#include "platform/win_file_source.h"

#include "platform/unique_handle.h"
#include "views/field.h"
#include "views/text.h"

namespace vantrel {
namespace {

constexpr DWORD kSkippedAttributes = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

template <typename Visit> void ListEntries(const std::wstring& pattern, Visit visit) {
    WIN32_FIND_DATAW entry{};
    const UniqueFind find(
        FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &entry, FindExSearchNameMatch, nullptr, 0));
    if (!find)
        return;
    do {
        visit(entry);
    } while (FindNextFileW(find.get(), &entry));
}

void Walk(std::wstring folder, std::wstring_view patterns, int depth, std::vector<std::wstring>& files) {
    if (!folder.ends_with(L'\\'))
        folder += L'\\';
    for (const std::wstring& pattern : SplitFields(patterns, L";")) {
        if (pattern.empty())
            break;
        ListEntries(folder + pattern, [&](const WIN32_FIND_DATAW& entry) {
            if ((entry.dwFileAttributes & kSkippedAttributes) == 0)
                files.push_back(folder + entry.cFileName);
        });
    }
    if (depth <= 0)
        return;
    // Names first: the listing cannot be nested.
    std::vector<std::wstring> names;
    ListEntries(folder + L"*.*", [&](const WIN32_FIND_DATAW& entry) {
        const std::wstring_view name = entry.cFileName;
        if (name != L"." && name != L"..")
            names.emplace_back(name);
    });
    for (const std::wstring& name : names)
        Walk(folder + name, patterns, depth - 1, files);
}

} // namespace

std::vector<std::wstring> WinFileSource::FolderWalk(std::wstring_view folder, std::wstring_view patterns,
                                                    int depth) {
    std::vector<std::wstring> files;
    Walk(std::wstring(folder), patterns, depth, files);
    return files;
}

bool WinFileSource::FolderHasEntries(std::wstring_view folder) {
    std::wstring pattern(folder);
    if (!pattern.ends_with(L'\\'))
        pattern += L'\\';
    bool any = false;
    ListEntries(pattern + L"*.*", [&](const WIN32_FIND_DATAW&) { any = true; });
    return any;
}

std::wstring WinFileSource::FileProperty(std::wstring_view path, std::wstring_view token,
                                         std::wstring_view baseFolder, RowFileCache&) {
    const std::wstring name = LowerCase(token);
    if (name == L"<keyfile>")
        return FileNameOf(path);
    if (name == L"<keypath>")
        return PathOf(path);
    const std::wstring relative = baseFolder.size() >= 1 && path.size() >= baseFolder.size()
                                      ? std::wstring(path.substr(baseFolder.size() - 1))
                                      : std::wstring(path);
    if (name == L"<relfile>")
        return relative;
    if (name == L"<relpath>")
        return PathOf(relative);
    if (name == L"filesize") {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        if (!GetFileAttributesExW(std::wstring(path).c_str(), GetFileExInfoStandard, &data))
            return {};
        return std::to_wstring((static_cast<unsigned long long>(data.nFileSizeHigh) << 32) |
                               data.nFileSizeLow);
    }
    return {};
}

} // namespace vantrel
