#include "ui/grid_layout.h"

#include <algorithm>
#include <cstdlib>

namespace vantrel {
namespace {

// How close to a column border the pointer must be to grab it.
constexpr int kBorderGripPx = 3;

int TwipsToPixels(int twips, int twipsPerPixel) {
    return twipsPerPixel > 0 ? (twips + twipsPerPixel / 2) / twipsPerPixel : twips;
}

} // namespace

GridLayout::GridLayout(const GridModel& model, int twipsPerPixel, int rowHeightPx, GridScroll scroll,
                       int clientWidth, int clientHeight)
    : rows_(model.Rows()), fixedCols_(std::clamp(model.FixedCols(), 0, model.Cols())),
      rowHeight_(std::max(rowHeightPx, 1)), clientWidth_(std::max(clientWidth, 0)),
      clientHeight_(std::max(clientHeight, 0)) {
    const int cols = model.Cols();
    widths_.reserve(static_cast<size_t>(cols));
    offsets_.reserve(static_cast<size_t>(cols));
    for (int c = 0; c < cols; ++c) {
        const int width = TwipsToPixels(model.ColWidth(c), twipsPerPixel);
        widths_.push_back(width);
        if (c < fixedCols_) {
            offsets_.push_back(fixedWidth_);
            fixedWidth_ += width;
        } else {
            offsets_.push_back(stripWidth_);
            stripWidth_ += width;
        }
    }
    scroll_ = Clamped(scroll);
}

int GridLayout::ColWidth(int col) const {
    return col >= 0 && col < Cols() ? widths_[static_cast<size_t>(col)] : 0;
}

int GridLayout::ColLeft(int col) const {
    if (col < 0 || col >= Cols())
        return 0;
    const int offset = offsets_[static_cast<size_t>(col)];
    return col < fixedCols_ ? offset : fixedWidth_ + offset - scroll_.leftPx;
}

int GridLayout::StripLeft(int col) const {
    return col >= fixedCols_ && col < Cols() ? offsets_[static_cast<size_t>(col)] : 0;
}

int GridLayout::RowTop(int row) const {
    if (row <= 0)
        return 0;
    return HeaderHeight() + (row - scroll_.topRow) * rowHeight_;
}

int GridLayout::PageRows() const {
    return std::max(1, (clientHeight_ - HeaderHeight()) / rowHeight_);
}

int GridLayout::PageWidth() const {
    return std::max(1, clientWidth_ - fixedWidth_);
}

int GridLayout::MaxTopRow() const {
    return std::max(1, rows_ - PageRows());
}

int GridLayout::MaxLeft() const {
    return std::max(0, stripWidth_ - PageWidth());
}

GridScroll GridLayout::Clamped(GridScroll scroll) const {
    return {std::clamp(scroll.topRow, 1, MaxTopRow()), std::clamp(scroll.leftPx, 0, MaxLeft())};
}

int GridLayout::LastVisibleRow() const {
    const int dataHeight = std::max(0, clientHeight_ - HeaderHeight());
    const int shown = (dataHeight + rowHeight_ - 1) / rowHeight_;
    return std::min(rows_ - 1, scroll_.topRow + shown - 1);
}

int GridLayout::HitRow(int y) const {
    if (y < 0 || y >= clientHeight_)
        return -1;
    if (y < HeaderHeight())
        return 0;
    const int row = scroll_.topRow + (y - HeaderHeight()) / rowHeight_;
    return row < rows_ ? row : -1;
}

int GridLayout::HitCol(int x) const {
    if (x < 0 || x >= clientWidth_)
        return -1;
    const bool inFixed = x < fixedWidth_;
    const int position = inFixed ? x : x - fixedWidth_ + scroll_.leftPx;
    const int first = inFixed ? 0 : fixedCols_;
    const int end = inFixed ? fixedCols_ : Cols();
    for (int c = first; c < end; ++c) {
        const int offset = offsets_[static_cast<size_t>(c)];
        if (position >= offset && position < offset + widths_[static_cast<size_t>(c)])
            return c;
    }
    return -1;
}

GridCell GridLayout::HitTest(int x, int y) const {
    const int row = HitRow(y);
    const int col = HitCol(x);
    if (row < 0 || col < 0)
        return {};
    return {row, col};
}

GridCell GridLayout::NearestDataCell(int x, int y) const {
    if (rows_ <= 1 || fixedCols_ >= Cols())
        return {};
    const int lastRow = std::max(scroll_.topRow, LastVisibleRow());
    const int row = y < HeaderHeight()
                        ? scroll_.topRow
                        : std::min(scroll_.topRow + (y - HeaderHeight()) / rowHeight_, lastRow);
    const int stripRight = std::min(clientWidth_, fixedWidth_ + stripWidth_ - scroll_.leftPx);
    const int col = HitCol(std::clamp(x, fixedWidth_, std::max(fixedWidth_, stripRight - 1)));
    if (col < 0)
        return {};
    return {row, col};
}

int GridLayout::ResizeBorderAt(int x, int y) const {
    if (y < 0 || y >= HeaderHeight())
        return -1;
    int best = -1;
    int bestDistance = kBorderGripPx + 1;
    for (int c = 0; c < Cols(); ++c) {
        if (ColWidth(c) == 0)
            continue;
        const int right = ColLeft(c) + ColWidth(c);
        if (c >= fixedCols_ && right <= fixedWidth_)
            continue; // scrolled away under the fixed columns
        // On a tie the border right of the pointer wins: that is the only way to grab a very narrow column.
        const int distance = std::abs(x - right);
        if (distance <= bestDistance) {
            best = c;
            bestDistance = distance;
        }
    }
    return best;
}

} // namespace vantrel
