#include "engine/grid_model.h"

#include "views/text.h"

#include <algorithm>

namespace vantrel {
namespace {

constexpr int kDefaultWidthTwips = 960;

} // namespace

GridModel::GridModel() {
    SetCols(2);
    SetRows(2);
}

void GridModel::SetRows(int rows) {
    rows = std::max(rows, 1);
    if (rows < rows_)
        DropRowsFrom(rows);
    rows_ = rows;
    cells_.resize(At(rows_, 0));
    shaded_.resize(cells_.size());
    row_ = Clamp(row_, rows_);
    rowSel_ = Clamp(rowSel_, rows_);
}

void GridModel::DropRowsFrom(int row) {
    for (size_t cell = At(row, 0); cell < cells_.size(); ++cell)
        texts_.Drop(cells_[cell]);
}

void GridModel::SetCols(int cols) {
    cols = std::max(cols, 1);
    if (cols != cols_) {
        std::vector<PackedTexts::Ref> cells(static_cast<size_t>(rows_) * static_cast<size_t>(cols));
        std::vector<bool> shaded(cells.size());
        for (int r = 0; r < rows_; ++r)
            for (int c = 0; c < cols_; ++c) {
                if (c >= cols) {
                    texts_.Drop(cells_[At(r, c)]);
                    continue;
                }
                const size_t to = static_cast<size_t>(r) * static_cast<size_t>(cols) + static_cast<size_t>(c);
                cells[to] = cells_[At(r, c)];
                shaded[to] = shaded_[At(r, c)];
            }
        cells_ = std::move(cells);
        shaded_ = std::move(shaded);
        cols_ = cols;
    }
    widths_.resize(static_cast<size_t>(cols_), kDefaultWidthTwips);
    alignments_.resize(static_cast<size_t>(cols_), CellAlignment::LeftCenter);
    col_ = Clamp(col_, cols_);
    colSel_ = Clamp(colSel_, cols_);
}

int GridModel::Clamp(int value, int count) const {
    return std::clamp(value, 0, count - 1);
}

std::wstring_view GridModel::CellText(int row, int col) const {
    return Valid(row, col) ? texts_.View(cells_[At(row, col)]) : std::wstring_view();
}

void GridModel::SetTextMatrix(int row, int col, std::wstring_view text) {
    if (!Valid(row, col))
        return;
    PackedTexts::Ref& cell = cells_[At(row, col)];
    const PackedTexts::Ref added = texts_.Add(text); // first: should it throw, the cell keeps its text
    texts_.Drop(cell);
    cell = added;
    if (texts_.WorthCompacting())
        texts_.Compact(cells_);
}

bool GridModel::Shaded(int row, int col) const {
    return Valid(row, col) && shaded_[At(row, col)];
}

void GridModel::SetShaded(int row, int col, bool shaded) {
    if (Valid(row, col))
        shaded_[At(row, col)] = shaded;
}

int GridModel::ColWidth(int col) const {
    return col >= 0 && col < cols_ ? widths_[static_cast<size_t>(col)] : 0;
}

void GridModel::SetColWidth(int col, int twips) {
    if (col >= 0 && col < cols_)
        widths_[static_cast<size_t>(col)] = std::max(twips, 0);
}

CellAlignment GridModel::ColAlignment(int col) const {
    return col >= 0 && col < cols_ ? alignments_[static_cast<size_t>(col)] : CellAlignment::LeftCenter;
}

void GridModel::SetColAlignment(int col, CellAlignment alignment) {
    if (col >= 0 && col < cols_)
        alignments_[static_cast<size_t>(col)] = alignment;
}

void GridModel::SetRow(int row) {
    row_ = rowSel_ = Clamp(row, rows_);
    colSel_ = col_;
}

void GridModel::SetCol(int col) {
    col_ = colSel_ = Clamp(col, cols_);
    rowSel_ = row_;
}
void GridModel::SetRowSel(int row) {
    rowSel_ = Clamp(row, rows_);
}
void GridModel::SetColSel(int col) {
    colSel_ = Clamp(col, cols_);
}

std::wstring GridModel::Clip() const {
    return BlockText(std::min(row_, rowSel_), std::max(row_, rowSel_), std::min(col_, colSel_),
                     std::max(col_, colSel_), L"\r");
}

std::wstring GridModel::AllText() const {
    return BlockText(0, rows_ - 1, 0, cols_ - 1, L"\r\n");
}

std::wstring GridModel::BlockText(int top, int bottom, int left, int right, std::wstring_view rowEnd) const {
    std::wstring text;
    for (int r = top; r <= bottom; ++r) {
        if (r > top)
            text += rowEnd;
        for (int c = left; c <= right; ++c) {
            if (c > left)
                text += L'\t';
            text += CellText(r, c);
        }
    }
    return text;
}

void GridModel::Sort(SortOrder sortOrder) {
    if (rows_ <= 2)
        return;
    // The keys: a number, or the text in lower case (kept packed, as the cells are).
    struct Key {
        bool numeric = false;
        double number = 0;
        PackedTexts::Ref text;
    };
    PackedTexts lowered;
    std::vector<Key> keys(static_cast<size_t>(rows_));
    std::vector<int> order(static_cast<size_t>(rows_ - 1));
    for (int r = 1; r < rows_; ++r) {
        Key& key = keys[static_cast<size_t>(r)];
        const std::wstring_view text = CellText(r, col_);
        key.numeric = ReadsAsNumber(text, key.number);
        if (!key.numeric)
            key.text = lowered.Add(LowerCase(text));
        order[static_cast<size_t>(r - 1)] = r;
    }
    // Numbers sort before text.
    const auto less = [&](int a, int b) {
        const Key& x = keys[static_cast<size_t>(a)];
        const Key& y = keys[static_cast<size_t>(b)];
        if (x.numeric != y.numeric)
            return x.numeric;
        return x.numeric ? x.number < y.number : lowered.View(x.text) < lowered.View(y.text);
    };
    std::ranges::stable_sort(order, [&](int a, int b) {
        return sortOrder == SortOrder::GenericAscending ? less(a, b) : less(b, a);
    });
    std::vector<PackedTexts::Ref> cells(cells_.size());
    std::vector<bool> shaded(shaded_.size());
    for (int c = 0; c < cols_; ++c) {
        cells[At(0, c)] = cells_[At(0, c)];
        shaded[At(0, c)] = shaded_[At(0, c)];
    }
    for (int r = 1; r < rows_; ++r)
        for (int c = 0; c < cols_; ++c) {
            cells[At(r, c)] = cells_[At(order[static_cast<size_t>(r - 1)], c)];
            shaded[At(r, c)] = shaded_[At(order[static_cast<size_t>(r - 1)], c)];
        }
    cells_ = std::move(cells);
    shaded_ = std::move(shaded);
}

} // namespace vantrel
