#pragma once
// Custom view files (.kvf): a view's base, its two column orders and its columns in the section [Main] of an
// ini-format file. Widths are written in pixels; on reading, a width under 1200 counts as pixels and any
// larger one as twips already. The title is not stored.
#include "views/definition.h"
#include "views/ini_files.h"

#include <string>
#include <string_view>

namespace vantrel {

inline constexpr std::wstring_view kCustomViewFilter =
    L"Vantrel custom views (*.kvf)|*.kvf|All files (*.*)|*.*";
inline constexpr std::wstring_view kCustomViewCaption = L"Custom view: ";

// Replaces `view` with the view stored in `file`. Nothing but an empty view when the file, [Main] or its
// ColsOrder is missing; columns stop at the first missing "Column" line.
void ReadCustomView(IniFiles& ini, std::wstring_view file, ViewDefinition& view, int twipsPerPixel);

// Writes the base, the orders and the columns from 0 while their data is not empty. Only columns an order
// can name (0..39) are written: the key of a higher column would clash with a lower one's.
// Stops at the first write that fails.
[[nodiscard]] WriteResult WriteCustomView(IniFiles& ini, std::wstring_view file, const ViewDefinition& view,
                                          int twipsPerPixel);

// The file name a save proposes: the view's file, or else its caption with "\" as "-" and ":" as ".".
std::wstring ProposedCustomViewName(std::wstring_view customFile, std::wstring_view caption);

} // namespace vantrel
