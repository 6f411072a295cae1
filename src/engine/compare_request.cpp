#include "engine/compare_request.h"

#include "views/cell_block.h"
#include "views/text.h"

#include <algorithm>

namespace vantrel {
namespace {

constexpr std::wstring_view kNotSupported = L"Sorry - not supported for this view ";
constexpr std::wstring_view kNoRow = L"First select a datarow or row-column area to compare.";
constexpr std::wstring_view kNotUsable = L"Please select one datarow or a row-column area to compare.";
constexpr std::wstring_view kTooManyCells =
    L"Sorry, a selected row-column area to expand can have max 35 cells.";

CellBlock SelectedBlock(const View& view) {
    const GridModel& grid = view.grid;
    CellBlock block;
    block.firstRow = std::min(grid.Row(), grid.RowSel());
    block.lastRow = std::max(grid.Row(), grid.RowSel());
    block.gridColumnCount = grid.Cols();
    for (int c = std::min(grid.Col(), grid.ColSel()); c <= std::max(grid.Col(), grid.ColSel()); ++c)
        if (c > 0 && static_cast<size_t>(c) < view.colMap.size() && view.colMap[static_cast<size_t>(c)] >= 0)
            block.columns.push_back(view.colMap[static_cast<size_t>(c)]);
    for (int r = std::max(block.firstRow, 1); r <= block.lastRow; ++r)
        block.rowKeys.push_back(view.ItemOfGridRow(r));
    return block;
}

} // namespace

std::expected<CompareRequest, std::wstring> MakeCompareRequest(View& view) {
    if (view.viewKind == ViewKind::Merged || view.viewKind == ViewKind::MultiComputer)
        return std::unexpected(std::wstring(kNotSupported));
    if (view.grid.Row() < 1)
        return std::unexpected(std::wstring(kNoRow));
    const std::wstring item = view.ItemOfGridRow(view.grid.Row());
    const std::wstring cells = SelCGp(view.columns, SelectedBlock(view), view.twipsPerPixel());
    if (cells == kWholeRowsSelected)
        return std::unexpected(std::wstring(kNotUsable));
    if (cells == kTooManyCellsSelected)
        return std::unexpected(std::wstring(kTooManyCells));
    if (!cells.empty())
        return CompareRequest{cells, view.basePath};
    view.GetCurWidths();
    return CompareRequest{MakCGp(view.columns, view.twipsPerPixel()),
                          view.folderPath.empty() ? view.basePath + L"\\" + item : item};
}

} // namespace vantrel
