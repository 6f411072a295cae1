#pragma once
// Building a new definition from a block of cells the user selected in a filled view: every selected cell
// becomes one column that reads the same data for that cell's item.
#include "views/definition.h"

#include <string>
#include <vector>

namespace vantrel {

// What SelCGp needs to know about a selection, independent of the grid control.
struct CellBlock {
    int firstRow = 0; // grid rows of the selection, top to bottom
    int lastRow = 0;
    std::vector<int> columns;          // definition column of each selected grid column, left to right
    int gridColumnCount = 0;           // all columns of the grid, the row-number column included
    std::vector<std::wstring> rowKeys; // row key (item) of each selected row, top to bottom
};

inline constexpr std::wstring_view kWholeRowsSelected = L"-";
inline constexpr std::wstring_view kTooManyCellsSelected = L".";

// The definition of a view with one column per selected cell (plus the key column), or: an empty text when
// one row is selected, "-" when whole rows are selected, "." when 36 cells or more are selected.
std::wstring SelCGp(const ViewDefinition& view, const CellBlock& block, int twipsPerPixel);

} // namespace vantrel
