#pragma once
// Where the grid's cells lie in its client area, in pixels, for one scroll position: the fixed header row and
// fixed columns stay put, the rest moves. Built afresh whenever it is needed (it copies only the column
// widths), so it never goes stale when the model changes behind the window's back.
#include "engine/grid_model.h"

#include <vector>

namespace vantrel {

// The vertical position is the first scrollable row shown; the horizontal one the pixels of the scrollable
// columns hidden to the left. Rows scroll whole, columns smoothly.
struct GridScroll {
    int topRow = 1;
    int leftPx = 0;
    bool operator==(const GridScroll&) const = default;
};

struct GridCell {
    int row = -1;
    int col = -1;
    bool operator==(const GridCell&) const = default;
};

class GridLayout {
public:
    GridLayout(const GridModel& model, int twipsPerPixel, int rowHeightPx, GridScroll scroll, int clientWidth,
               int clientHeight);

    int Rows() const { return rows_; }
    int Cols() const { return static_cast<int>(widths_.size()); }
    int FixedCols() const { return fixedCols_; }
    int RowHeight() const { return rowHeight_; }
    int HeaderHeight() const { return rowHeight_; }
    int FixedWidth() const { return fixedWidth_; }
    int ClientWidth() const { return clientWidth_; }
    int ClientHeight() const { return clientHeight_; }
    const GridScroll& Scroll() const { return scroll_; }

    int ColWidth(int col) const;
    int ColLeft(int col) const;
    int RowTop(int row) const;
    // Offset of a scrollable column inside the scrolled strip, whatever the scroll position.
    int StripLeft(int col) const;
    int StripWidth() const { return stripWidth_; }

    // The data rows that fit entirely (at least one): the page of the vertical scroll bar and of PgUp/PgDn.
    int PageRows() const;
    int PageWidth() const;
    int MaxTopRow() const;
    int MaxLeft() const;
    GridScroll Clamped(GridScroll scroll) const;

    // The data rows drawn, the last one perhaps only in part; empty (last < first) without data rows.
    int FirstVisibleRow() const { return scroll_.topRow; }
    int LastVisibleRow() const;

    // The cell under a point, -1 for a coordinate outside the cells.
    GridCell HitTest(int x, int y) const;
    // The data cell nearest to a point, for selecting by dragging past the edges.
    GridCell NearestDataCell(int x, int y) const;
    // The column whose right border in the header row lies within a few pixels of the point, or -1.
    int ResizeBorderAt(int x, int y) const;

private:
    int HitRow(int y) const;
    int HitCol(int x) const;

    int rows_;
    int fixedCols_;
    int rowHeight_;
    int clientWidth_;
    int clientHeight_;
    GridScroll scroll_;
    std::vector<int> widths_;
    std::vector<int> offsets_; // fixed columns: from the left edge; the others: inside the strip
    int fixedWidth_ = 0;
    int stripWidth_ = 0;
};

} // namespace vantrel
