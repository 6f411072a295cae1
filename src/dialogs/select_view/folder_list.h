#pragma once
// The selection form's folder list: the open folder with the folders above it up to its drive's root, each a
// step further in, and its subfolders beneath it. A double-click opens a folder.
#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

namespace vantrel {

struct FolderLine {
    std::wstring text; // the name, indented by its depth
    std::wstring path; // the folder's full path, without a trailing "\" except at a root
};

// The lines for `openFolder` (a path starting with a drive, "c:\tools") and the names of its subfolders.
std::vector<FolderLine> FolderLines(std::wstring_view openFolder,
                                    const std::vector<std::wstring>& subfolders);

class FolderList {
public:
    explicit FolderList(HWND listBox = nullptr) : list_(listBox) {}

    // Opens `folder`, or the nearest folder above it that exists; its line is selected.
    void Open(std::wstring_view folder);
    // The folder of the selected line; the open folder when no line is selected.
    std::wstring SelectedFolder() const;
    const std::wstring& openFolder() const { return open_; }

private:
    HWND list_;
    std::wstring open_;
    std::vector<std::wstring> paths_; // by line
};

} // namespace vantrel
