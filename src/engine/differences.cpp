// Differences at a glance: which cells of a merged or multi-computer view read something else than the cell
// they are compared with, so that drift between computers shows without reading every cell.
#include "engine/view.h"

namespace vantrel {

bool View::ComparesCells() const {
    return carriesDifferences_ || viewKind == ViewKind::MultiComputer ||
           (viewKind == ViewKind::Merged && !mergePartners.empty());
}

// The first computer's row, wherever a sort has put it: the row numbered 1. 0 when there is none.
int View::ReferenceRow() const {
    int number = 1;
    int gridRow = 0;
    (void)GetCol0(number, gridRow);
    return gridRow;
}

bool View::CellDiffers(int gridRow, int gridCol) const {
    if (carriesDifferences_)
        return grid.Shaded(gridRow, gridCol);
    if (gridRow < 1 || gridRow >= grid.Rows() || gridCol < 0 || gridCol >= grid.Cols())
        return false;
    const size_t col = static_cast<size_t>(gridCol);
    const std::wstring_view text = grid.CellText(gridRow, gridCol);
    if (viewKind == ViewKind::MultiComputer) {
        // The computer column and the row numbers tell rows apart; only the values are compared.
        if (col >= colMap.size() || colMap[col] < 1)
            return false;
        const int reference = ReferenceRow();
        return reference > 0 && gridRow != reference && text != grid.CellText(reference, gridCol);
    }
    if (viewKind == ViewKind::Merged && col < mergePartners.size() && mergePartners[col] >= 0)
        return text != grid.CellText(gridRow, mergePartners[col]);
    return false;
}

void View::HighlightDifferences(bool on) {
    grid.ShowShading(on && ComparesCells());
    MarkDifferences();
}

void View::MarkDifferences() {
    if (!HighlightsDifferences() || carriesDifferences_)
        return;
    for (int r = 1; r < grid.Rows(); ++r)
        for (int c = 0; c < grid.Cols(); ++c)
            grid.SetShaded(r, c, CellDiffers(r, c));
}

int View::DifferingRowCount() const {
    // A transposed window shows the rows it was made from as columns.
    const int lines = carriesDifferences_ ? grid.Cols() : grid.Rows();
    const int across = carriesDifferences_ ? grid.Rows() : grid.Cols();
    int count = 0;
    for (int line = 1; line < lines; ++line) {
        for (int i = 0; i < across; ++i) {
            if (carriesDifferences_ ? CellDiffers(i, line) : CellDiffers(line, i)) {
                ++count;
                break;
            }
        }
    }
    return count;
}

} // namespace vantrel
