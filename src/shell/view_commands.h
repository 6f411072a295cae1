#pragma once
// The rules behind the command words that act on views, shared by the main window and by kivoc's session
// without a window: which view a file opens, the copy of a view on another computer, the arguments of
// "sort", "setmatch" and "detail", and how a new view takes what its opener hands it.
#include "engine/view.h"
#include "shell/view_opening.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace vantrel {

// Whether files and folders are there, as the opener of a file asks.
struct PathProbe {
    std::function<bool(std::wstring_view)> fileExists;
    std::function<bool(std::wstring_view)> folderExists;
};

// A custom view file (.kvf), any other existing file as an ini table, or, when folders are allowed, a folder
// as a folder view (the installation view when it holds packages). Nothing when there is no such file.
std::optional<ViewOpening> OpeningOfFile(const std::wstring& path, bool foldersAllowed,
                                         const PathProbe& probe);

// The view `from` (registry, custom and class views) with its columns as they are now, on another computer;
// nothing for the other kinds.
std::optional<ViewOpening> OpeningOnComputer(View& from, const std::wstring& computer);

// A new view takes its kind, computer, paths and definition (a catalogue number resolved; the default
// definition when there is none, except for folders); the mark option when the opening does not decide it.
void TakeOpening(View& view, const ViewOpening& opening, bool markOptionOfOwner);

// "sort": the column is the number after an optional sign; a "-" anywhere sorts descending.
void SortByArgument(View& view, std::wstring_view argument);

// "setmatch": the column becomes the match list's column; false (nothing done) for a column not in the grid.
[[nodiscard]] bool SetMatchColumn(View& view, int column);
int MatchColumnArgument(std::wstring_view argument);

// "detail": 1 for the detailed list, 0 for the standard one.
int ListModeArgument(std::wstring_view argument);

} // namespace vantrel
