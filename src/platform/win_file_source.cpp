#include "platform/win_file_source.h"

#include "platform/file_info.h"
#include "platform/msi_package.h"
#include "platform/program_info.h"
#include "platform/unique_handle.h"
#include "platform/win_files.h"
#include "platform/win_ini_files.h"
#include "sources/file_properties.h"
#include "views/field.h"
#include "views/text.h"

namespace vantrel {
namespace {

constexpr DWORD kSkippedAttributes = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

constexpr int kEntriesBetweenChecks = 256;

// Lists the entries matching `pattern` until the visit answers false; false when it did.
template <typename Visit> bool ListEntries(const std::wstring& pattern, Visit visit) {
    WIN32_FIND_DATAW entry{};
    const UniqueFind find(
        FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &entry, FindExSearchNameMatch, nullptr, 0));
    if (!find)
        return true;
    do {
        if (!visit(entry))
            return false;
    } while (FindNextFileW(find.get(), &entry));
    return true;
}

// Walks the folder and `depth` levels below it; false when the check ended the walk.
bool Walk(std::wstring folder, std::wstring_view patterns, int depth, const WalkCheck& keepWalking,
          std::vector<std::wstring>& files) {
    if (!folder.ends_with(L'\\'))
        folder += L'\\';
    int entries = 0;
    const auto keepListing = [&] {
        return ++entries % kEntriesBetweenChecks != 0 || keepWalking();
    };
    if (!keepWalking())
        return false;
    for (const std::wstring& pattern : SplitFields(patterns, L";")) {
        if (pattern.empty())
            break;
        const bool listed = ListEntries(folder + pattern, [&](const WIN32_FIND_DATAW& entry) {
            if ((entry.dwFileAttributes & kSkippedAttributes) == 0)
                files.push_back(folder + entry.cFileName);
            return keepListing();
        });
        if (!listed)
            return false;
    }
    if (depth <= 0)
        return true;
    // Names first: the listing cannot be nested.
    std::vector<std::wstring> names;
    const bool listed = ListEntries(folder + L"*.*", [&](const WIN32_FIND_DATAW& entry) {
        const std::wstring_view name = entry.cFileName;
        if (name != L"." && name != L"..")
            names.emplace_back(name);
        return keepListing();
    });
    if (!listed)
        return false;
    for (const std::wstring& name : names)
        if (!Walk(folder + name, patterns, depth - 1, keepWalking, files))
            return false;
    return true;
}

// What a row's columns read of its file, read once: the directory entry, a program's version resource, the
// installer package's own handles.
struct FileRow {
    explicit FileRow(std::wstring_view file) : path(file) {}
    const WIN32_FIND_DATAW* Entry() {
        if (!entry)
            entry = DirectoryEntry(path);
        return *entry ? &**entry : nullptr;
    }
    const ProgramFile& Program() {
        if (!program)
            program.emplace(path);
        return *program;
    }

    std::wstring path;
    std::optional<std::optional<WIN32_FIND_DATAW>> entry;
    std::optional<ProgramFile> program;
    RowFileCache package;
};

// The row's file as the cache keeps it; only this source puts anything there.
FileRow& RowOf(std::wstring_view path, RowFileCache& cache) {
    auto* row = static_cast<FileRow*>(cache.state.get());
    if (row == nullptr || row->path != path) {
        auto fresh = std::make_shared<FileRow>(path);
        row = fresh.get();
        cache.state = std::move(fresh);
    }
    return *row;
}

// What the file itself holds, by its kind: programs, driver information files and installer packages.
// Installer properties keep the token's case: the Property table's names are case-sensitive.
std::wstring TypedFileProperty(std::wstring_view path, std::wstring_view token, FileRow& row) {
    const std::wstring lowerPath = LowerCase(path);
    const std::wstring name = LowerCase(token);
    if (lowerPath.ends_with(L".exe") || lowerPath.ends_with(L".dll") || lowerPath.ends_with(L".sys")) {
        if (name == L"title")
            return row.Program().Title();
        if (name == L"version")
            return row.Program().Version();
        return {};
    }
    if (lowerPath.ends_with(L".inf")) {
        WinIniFiles ini;
        return InfProperty(ini, path, token);
    }
    if (lowerPath.ends_with(L".msi")) {
        const MsiPropertyName property = MsiPropertyFor(token);
        if (property.summaryNumber != 0)
            return MsiSummaryProperty(path, property.summaryNumber, row.package);
        return MsiTableProperty(path, property.tableProperty, row.package);
    }
    return {};
}

} // namespace

std::vector<std::wstring> WinFileSource::FolderWalk(std::wstring_view folder, std::wstring_view patterns,
                                                    int depth, const WalkCheck& keepWalking) {
    std::vector<std::wstring> files;
    const WalkCheck walkAll = [] {
        return true;
    };
    (void)Walk(std::wstring(folder), patterns, depth, keepWalking ? keepWalking : walkAll, files);
    return files;
}

bool WinFileSource::FolderHasEntries(std::wstring_view folder) {
    std::wstring pattern(folder);
    if (!pattern.ends_with(L'\\'))
        pattern += L'\\';
    bool any = false;
    (void)ListEntries(pattern + L"*.*", [&](const WIN32_FIND_DATAW&) {
        any = true;
        return false; // one entry tells
    });
    return any;
}

// A name with wildcards exists when any file matches it.
bool WinFileSource::PathExists(std::wstring_view path) {
    if (path.empty())
        return false;
    return GetFileAttributesW(std::wstring(path).c_str()) != INVALID_FILE_ATTRIBUTES || FileExists(path) ||
           FolderHasEntries(path);
}

std::wstring WinFileSource::FileProperty(std::wstring_view path, std::wstring_view token,
                                         std::wstring_view baseFolder, RowFileCache& cache) {
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
    FileRow& row = RowOf(path, cache);
    if (name == L"filesize") {
        const WIN32_FIND_DATAW* entry = row.Entry();
        return std::to_wstring(entry != nullptr ? EntrySize(*entry) : 0);
    }
    if (name == L"filetime") {
        const WIN32_FIND_DATAW* entry = row.Entry();
        return entry != nullptr ? FileTimeText(entry->ftLastWriteTime) : std::wstring();
    }
    return TypedFileProperty(path, token, row);
}

} // namespace vantrel
