#pragma once
// The merge window selection: which of the other open views to merge into the active one. It only asks; the
// main window makes the merged view.
#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

namespace vantrel {

// An open view the dialog offers.
struct MergeCandidate {
    std::wstring caption;
    HWND window = nullptr;
};

// `others` are the open views apart from the active one (captioned `currentCaption`), in the order the window
// system lists them. The chosen views' windows in list order; empty when the user cancelled or chose none. A
// view closed while the dialog was open is left out.
[[nodiscard]] std::vector<HWND> ShowMergeWindowsDialog(HWND owner, std::wstring_view currentCaption,
                                                       const std::vector<MergeCandidate>& others);

} // namespace vantrel
