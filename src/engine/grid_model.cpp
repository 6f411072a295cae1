#include "engine/grid_model.h"

#include "views/text.h"

#include <algorithm>

namespace vantrel {
namespace {

constexpr int kDefaultWidthTwips = 960;
const std::wstring kEmpty;

} // namespace

GridModel::GridModel() {
    SetCols(2);
    SetRows(2);
}

void GridModel::SetRows(int rows) {
    rows_ = std::max(rows, 1);
    cells_.resize(static_cast<size_t>(rows_), std::vector<std::wstring>(static_cast<size_t>(cols_)));
    shaded_.resize(static_cast<size_t>(rows_), std::vector<bool>(static_cast<size_t>(cols_)));
    row_ = Clamp(row_, rows_);
    rowSel_ = Clamp(rowSel_, rows_);
}

void GridModel::SetCols(int cols) {
    cols_ = std::max(cols, 1);
    for (auto& row : cells_)
        row.resize(static_cast<size_t>(cols_));
    for (auto& row : shaded_)
        row.resize(static_cast<size_t>(cols_));
    widths_.resize(static_cast<size_t>(cols_), kDefaultWidthTwips);
    alignments_.resize(static_cast<size_t>(cols_), CellAlignment::LeftCenter);
    col_ = Clamp(col_, cols_);
    colSel_ = Clamp(colSel_, cols_);
}

int GridModel::Clamp(int value, int count) const {
    return std::clamp(value, 0, count - 1);
}

const std::wstring& GridModel::TextMatrix(int row, int col) const {
    return Valid(row, col) ? cells_[static_cast<size_t>(row)][static_cast<size_t>(col)] : kEmpty;
}

void GridModel::SetTextMatrix(int row, int col, std::wstring text) {
    if (Valid(row, col))
        cells_[static_cast<size_t>(row)][static_cast<size_t>(col)] = std::move(text);
}

bool GridModel::Shaded(int row, int col) const {
    return Valid(row, col) && shaded_[static_cast<size_t>(row)][static_cast<size_t>(col)];
}

void GridModel::SetShaded(int row, int col, bool shaded) {
    if (Valid(row, col))
        shaded_[static_cast<size_t>(row)][static_cast<size_t>(col)] = shaded;
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
            text += TextMatrix(r, c);
        }
    }
    return text;
}

void GridModel::Sort(SortOrder order) {
    if (rows_ <= 2)
        return;
    const size_t col = static_cast<size_t>(col_);
    struct Key {
        bool numeric;
        double number;
        std::wstring text;
    };
    struct SortedRow {
        Key key;
        std::vector<std::wstring> cells;
        std::vector<bool> shaded;
    };
    std::vector<SortedRow> rows;
    rows.reserve(cells_.size() - 1);
    for (size_t r = 1; r < cells_.size(); ++r) {
        Key key{};
        key.numeric = ReadsAsNumber(cells_[r][col], key.number);
        if (!key.numeric)
            key.text = LowerCase(cells_[r][col]);
        rows.push_back({std::move(key), std::move(cells_[r]), std::move(shaded_[r])});
    }
    // Numbers sort before text.
    const auto less = [](const Key& a, const Key& b) {
        if (a.numeric != b.numeric)
            return a.numeric;
        return a.numeric ? a.number < b.number : a.text < b.text;
    };
    std::stable_sort(rows.begin(), rows.end(), [&](const SortedRow& a, const SortedRow& b) {
        return order == SortOrder::GenericAscending ? less(a.key, b.key) : less(b.key, a.key);
    });
    for (size_t r = 1; r < cells_.size(); ++r) {
        cells_[r] = std::move(rows[r - 1].cells);
        shaded_[r] = std::move(rows[r - 1].shaded);
    }
}

} // namespace vantrel
