#include "ui/grid_selection.h"

namespace vantrel {
namespace {

bool HasCurrentDataCell(const GridModel& model) {
    return model.Row() >= 1 && model.Col() >= model.FixedCols();
}

// The first column a user can see, or -1 when every data column is hidden.
int FirstShownCol(const GridModel& model) {
    const GridCell first = MoveCell(model, {1, -1}, GridMove::Home, 1);
    return first.col >= model.FixedCols() ? first.col : -1;
}

void SelectColumns(GridModel& model, int anchor, int to) {
    model.SetRow(1);
    model.SetCol(anchor);
    model.SetRowSel(model.Rows() - 1);
    model.SetColSel(to);
}

void SelectRows(GridModel& model, int anchor, int to) {
    model.SetRow(anchor);
    model.SetCol(FirstShownCol(model));
    model.SetRowSel(to);
    model.SetColSel(model.Cols() - 1);
}

void SelectCells(GridModel& model, GridCell cell, bool extend) {
    if (extend && HasCurrentDataCell(model)) {
        model.SetRowSel(cell.row);
        model.SetColSel(cell.col);
        return;
    }
    model.SetRow(cell.row);
    model.SetCol(cell.col);
}

} // namespace

GridDrag PressCell(GridModel& model, GridCell cell, bool extend) {
    if (cell.row < 0 || cell.col < 0 || model.Rows() <= 1 || FirstShownCol(model) < 0)
        return GridDrag::None;
    const bool headerRow = cell.row == 0;
    const bool fixedCol = cell.col < model.FixedCols();
    if (headerRow && fixedCol) {
        SelectRows(model, 1, model.Rows() - 1);
        return GridDrag::None;
    }
    if (headerRow) {
        SelectColumns(model, extend && HasCurrentDataCell(model) ? model.Col() : cell.col, cell.col);
        return GridDrag::Columns;
    }
    if (fixedCol) {
        SelectRows(model, extend && HasCurrentDataCell(model) ? model.Row() : cell.row, cell.row);
        return GridDrag::Rows;
    }
    SelectCells(model, cell, extend);
    return GridDrag::Cells;
}

void DragSelection(GridModel& model, GridDrag drag, GridCell cell) {
    if (drag == GridDrag::None || cell.row < 1 || cell.col < model.FixedCols())
        return;
    if (drag != GridDrag::Columns)
        model.SetRowSel(cell.row);
    if (drag != GridDrag::Rows)
        model.SetColSel(cell.col);
}

GridCell MoveSelection(GridModel& model, GridMove move, bool extend, int pageRows) {
    if (extend && HasCurrentDataCell(model)) {
        const GridCell to = MoveCell(model, {model.RowSel(), model.ColSel()}, move, pageRows);
        model.SetRowSel(to.row);
        model.SetColSel(to.col);
        return to;
    }
    const GridCell to = MoveCell(model, {model.Row(), model.Col()}, move, pageRows);
    model.SetRow(to.row);
    model.SetCol(to.col);
    return to;
}

} // namespace vantrel
