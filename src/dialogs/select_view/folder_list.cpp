#include "dialogs/select_view/folder_list.h"

#include "platform/folder_listing.h"

namespace vantrel {
namespace {

constexpr size_t kIndentPerLevel = 4; // blanks

// "c:\tools\" and "c:\tools" are the same folder; "c:" is the root "c:\".
std::wstring WithoutTrailingSlash(std::wstring_view path) {
    std::wstring folder(path);
    while (folder.size() > 3 && folder.ends_with(L'\\'))
        folder.pop_back();
    if (folder.size() == 2)
        folder += L'\\';
    return folder;
}

std::wstring Indented(std::wstring_view name, size_t depth) {
    return std::wstring(depth * kIndentPerLevel, L' ') + std::wstring(name);
}

std::wstring Parent(std::wstring_view folder) {
    const size_t slash = folder.rfind(L'\\');
    return WithoutTrailingSlash(folder.substr(0, slash == std::wstring_view::npos ? 0 : slash + 1));
}

} // namespace

std::vector<FolderLine> FolderLines(std::wstring_view openFolder,
                                    const std::vector<std::wstring>& subfolders) {
    const std::wstring folder = WithoutTrailingSlash(openFolder);
    std::vector<FolderLine> lines;
    if (folder.size() < 3 || folder[1] != L':')
        return lines;
    lines.push_back({folder.substr(0, 3), folder.substr(0, 3)});
    for (size_t start = 3; start < folder.size();) {
        size_t end = folder.find(L'\\', start);
        if (end == std::wstring::npos)
            end = folder.size();
        lines.push_back({Indented(std::wstring_view(folder).substr(start, end - start), lines.size()),
                         folder.substr(0, end)});
        start = end + 1;
    }
    const size_t depth = lines.size();
    const std::wstring prefix = folder.ends_with(L'\\') ? folder : folder + L'\\';
    for (const std::wstring& name : subfolders)
        lines.push_back({Indented(name, depth), prefix + name});
    return lines;
}

void FolderList::Open(std::wstring_view folder) {
    std::wstring existing = WithoutTrailingSlash(folder);
    while (existing.size() > 3 && !IsFolder(existing))
        existing = Parent(existing);
    open_ = existing;
    SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list_, LB_RESETCONTENT, 0, 0);
    paths_.clear();
    for (FolderLine& line : FolderLines(open_, SubfolderNames(open_))) {
        SendMessageW(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.text.c_str()));
        paths_.push_back(std::move(line.path));
    }
    for (size_t i = 0; i < paths_.size(); ++i)
        if (paths_[i] == open_)
            SendMessageW(list_, LB_SETCURSEL, i, 0);
    SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list_, nullptr, TRUE);
}

std::wstring FolderList::SelectedFolder() const {
    const auto selected = SendMessageW(list_, LB_GETCURSEL, 0, 0);
    if (selected < 0 || static_cast<size_t>(selected) >= paths_.size())
        return open_;
    return paths_[static_cast<size_t>(selected)];
}

} // namespace vantrel
