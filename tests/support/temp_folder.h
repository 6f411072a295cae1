#pragma once
// Folders of a test's own in the temp folder.
#include <windows.h>

#include <string>
#include <string_view>

namespace vantrel::test {

// The temp folder's subfolder `name`, created unless it is there; without a trailing "\".
inline std::wstring TempFolder(std::wstring_view name) {
    wchar_t temp[MAX_PATH]{};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + std::wstring(name);
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

} // namespace vantrel::test
