#pragma once
// The data of the grid control, apart from its window: cells, column widths and alignment, the current cell
// and the selected block. Row 0 is the fixed header row; column 0 the fixed row-number column.
#include "engine/packed_texts.h"

#include <string>
#include <string_view>
#include <vector>

namespace vantrel {

enum class CellAlignment { LeftCenter, RightCenter };

enum class SortOrder { GenericAscending = 1, GenericDescending = 2 };

class GridModel {
public:
    GridModel();

    int Rows() const { return rows_; }
    int Cols() const { return cols_; }
    // Resizing keeps the texts of the cells that remain; new cells are empty.
    void SetRows(int rows);
    void SetCols(int cols);
    int FixedRows() const { return 1; }
    int FixedCols() const { return fixedCols_; }
    void SetFixedCols(int fixedCols) { fixedCols_ = fixedCols; }

    std::wstring TextMatrix(int row, int col) const { return std::wstring(CellText(row, col)); }
    // The same text without a copy; valid until the grid's texts or size change.
    std::wstring_view CellText(int row, int col) const;
    void SetTextMatrix(int row, int col, std::wstring_view text);

    int ColWidth(int col) const; // twips
    void SetColWidth(int col, int twips);
    CellAlignment ColAlignment(int col) const;
    void SetColAlignment(int col, CellAlignment alignment);

    // Current cell and the other corner of the selected block.
    int Row() const { return row_; }
    int Col() const { return col_; }
    int RowSel() const { return rowSel_; }
    int ColSel() const { return colSel_; }
    // Setting the current cell collapses the selection to it.
    void SetRow(int row);
    void SetCol(int col);
    void SetRowSel(int row);
    void SetColSel(int col);

    // A shaded cell is drawn on a tinted background while the grid shows its shading. The shade is no part of
    // the cell's text, so copies and exports never see it, and it moves with its row when the grid is sorted.
    bool Shaded(int row, int col) const;
    void SetShaded(int row, int col, bool shaded);
    bool ShadingShown() const { return shadingShown_; }
    void ShowShading(bool shown) { shadingShown_ = shown; }

    // The selected block: cells separated by tabs, rows by carriage returns.
    std::wstring Clip() const;
    // Every cell, fixed ones included: cells separated by tabs, rows by CR LF.
    std::wstring AllText() const;

    // Sorts the data rows by the current column: a value that reads as a number compares as a number,
    // other text as text; equal keys keep their order.
    void Sort(SortOrder order);

private:
    bool Valid(int row, int col) const { return row >= 0 && row < rows_ && col >= 0 && col < cols_; }
    size_t At(int row, int col) const {
        return static_cast<size_t>(row) * static_cast<size_t>(cols_) + static_cast<size_t>(col);
    }
    void DropRowsFrom(int row);
    int Clamp(int value, int count) const;
    std::wstring BlockText(int top, int bottom, int left, int right, std::wstring_view rowEnd) const;

    int rows_ = 0;
    int cols_ = 0;
    int fixedCols_ = 1;
    // Cells row after row.
    PackedTexts texts_;
    std::vector<PackedTexts::Ref> cells_;
    std::vector<bool> shaded_;
    bool shadingShown_ = false;
    std::vector<int> widths_;
    std::vector<CellAlignment> alignments_;
    int row_ = 0, col_ = 0, rowSel_ = 0, colSel_ = 0;
};

} // namespace vantrel
