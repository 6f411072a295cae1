#include "platform/folder_listing.h"

#include "platform/unique_handle.h"

#include <windows.h>

#include <algorithm>

namespace vantrel {
namespace {

// A drive without a medium answers with an error instead of asking the user to insert one.
class NoCriticalErrorBoxes {
public:
    NoCriticalErrorBoxes() {
        SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &previous_);
    }
    ~NoCriticalErrorBoxes() { SetThreadErrorMode(previous_, nullptr); }
    NoCriticalErrorBoxes(const NoCriticalErrorBoxes&) = delete;
    NoCriticalErrorBoxes& operator=(const NoCriticalErrorBoxes&) = delete;

private:
    DWORD previous_ = 0;
};

bool IsDotEntry(const wchar_t* name) {
    return name[0] == L'.' && (name[1] == L'\0' || (name[1] == L'.' && name[2] == L'\0'));
}

} // namespace

std::vector<std::wstring> DriveRoots() {
    std::vector<std::wstring> roots;
    const DWORD drives = GetLogicalDrives();
    for (int letter = 0; letter < 26; ++letter)
        if (drives & (1u << letter))
            roots.push_back(std::wstring{static_cast<wchar_t>(L'A' + letter), L':', L'\\'});
    return roots;
}

std::wstring DriveListText(std::wstring_view root) {
    std::wstring text{static_cast<wchar_t>(towlower(root.empty() ? L' ' : root[0])), L':'};
    const std::wstring path(root);
    if (GetDriveTypeW(path.c_str()) != DRIVE_FIXED)
        return text;
    wchar_t label[MAX_PATH + 1]{};
    const NoCriticalErrorBoxes quiet;
    if (GetVolumeInformationW(path.c_str(), label, MAX_PATH + 1, nullptr, nullptr, nullptr, nullptr, 0) &&
        label[0] != L'\0')
        text += L" [" + std::wstring(label) + L"]";
    return text;
}

bool IsFolder(std::wstring_view path) {
    if (path.empty())
        return false;
    const NoCriticalErrorBoxes quiet;
    const DWORD attributes = GetFileAttributesW(std::wstring(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::vector<std::wstring> SubfolderNames(std::wstring_view folder) {
    std::wstring pattern(folder);
    if (!pattern.ends_with(L'\\'))
        pattern += L'\\';
    pattern += L'*';
    std::vector<std::wstring> names;
    const NoCriticalErrorBoxes quiet;
    WIN32_FIND_DATAW entry{};
    const UniqueFind find(FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &entry,
                                           FindExSearchLimitToDirectories, nullptr, 0));
    if (!find)
        return names;
    do {
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 && !IsDotEntry(entry.cFileName))
            names.emplace_back(entry.cFileName);
    } while (FindNextFileW(find.get(), &entry));
    std::ranges::sort(names, [](const std::wstring& a, const std::wstring& b) {
        return lstrcmpiW(a.c_str(), b.c_str()) < 0;
    });
    return names;
}

} // namespace vantrel
