#include "ui/grid_navigation.h"

#include <algorithm>

namespace vantrel {
namespace {

bool Shown(const GridModel& model, int col) {
    return model.ColWidth(col) > 0;
}

// The nearest shown data column from `col` going by `step`, or -1.
int ShownColumn(const GridModel& model, int col, int step) {
    for (int c = col; c >= model.FixedCols() && c < model.Cols(); c += step)
        if (Shown(model, c))
            return c;
    return -1;
}

} // namespace

GridCell MoveCell(const GridModel& model, GridCell from, GridMove move, int pageRows) {
    const int lastRow = model.Rows() - 1;
    const int firstCol = ShownColumn(model, model.FixedCols(), 1);
    const int lastCol = ShownColumn(model, model.Cols() - 1, -1);
    if (lastRow < 1 || firstCol < 0)
        return from;
    // A current cell left in the fixed area (a fresh grid) starts from the first data cell.
    const int row = std::clamp(from.row, 1, lastRow);
    const int col = from.col < model.FixedCols() || from.col > lastCol ? firstCol : from.col;
    const auto atRow = [&](int r) {
        return GridCell{std::clamp(r, 1, lastRow), col};
    };
    const auto atCol = [&](int c) {
        return GridCell{row, c < 0 ? col : c};
    };
    switch (move) {
    case GridMove::Up:
        return atRow(row - 1);
    case GridMove::Down:
        return atRow(row + 1);
    case GridMove::PageUp:
        return atRow(row - std::max(pageRows, 1));
    case GridMove::PageDown:
        return atRow(row + std::max(pageRows, 1));
    case GridMove::Left:
        return atCol(ShownColumn(model, col - 1, -1));
    case GridMove::Right:
        return atCol(ShownColumn(model, col + 1, 1));
    case GridMove::Home:
        return atCol(firstCol);
    case GridMove::End:
        return atCol(lastCol);
    case GridMove::FirstCell:
        return {1, firstCol};
    case GridMove::LastCell:
        return {lastRow, lastCol};
    }
    return from;
}

} // namespace vantrel
