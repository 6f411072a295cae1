#pragma once
// What "M&ultiple computers row view" compares: the selected data row of a view, or the block of cells
// selected in it, as a definition and the path its rows are read under.
#include "engine/view.h"

#include <expected>
#include <string>

namespace vantrel {

struct CompareRequest {
    std::wstring definition; // the whole view for one row, or a column per selected cell
    std::wstring path;       // the item's key path (file path in a folder view), or the view's base
};

// The request for the view's grid selection, or the message that refuses it.
std::expected<CompareRequest, std::wstring> MakeCompareRequest(View& view);

} // namespace vantrel
