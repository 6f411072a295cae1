#include "ui/grid_paint.h"

#include "ui/gdi_scope.h"

#include <algorithm>

namespace vantrel {
namespace {

constexpr int kTextPaddingPx = 3;
constexpr COLORREF kGridLineColor = RGB(192, 192, 192);
// A soft amber for shaded cells: it reads as a mark on the white cells and never as the blue of a selection.
constexpr COLORREF kShadedCellColor = RGB(255, 226, 170);

struct ColumnRange {
    int first;
    int end;
};

class GridPainter {
public:
    GridPainter(HDC dc, const GridModel& model, const GridLayout& layout, const GridPaintStyle& style)
        : dc_(dc), model_(model), layout_(layout), style_(style),
          gridLines_(CreateSolidBrush(kGridLineColor)) {}

    int Paint() {
        const SelectedObject font(dc_, style_.font);
        const int width = layout_.ClientWidth(), height = layout_.ClientHeight();
        const RECT client{0, 0, width, height};
        FillRect(dc_, &client, GetSysColorBrush(COLOR_APPWORKSPACE));
        const int fixedRight = std::min(layout_.FixedWidth(), width);
        const int headerBottom = std::min(layout_.HeaderHeight(), height);
        const ColumnRange fixed{0, layout_.FixedCols()};
        const ColumnRange scrolling{layout_.FixedCols(), layout_.Cols()};
        const int firstRow = layout_.FirstVisibleRow(), lastRow = layout_.LastVisibleRow();
        PaintBlock({fixedRight, headerBottom, client.right, client.bottom}, firstRow, lastRow, scrolling);
        PaintBlock({0, headerBottom, fixedRight, client.bottom}, firstRow, lastRow, fixed);
        PaintBlock({fixedRight, 0, client.right, headerBottom}, 0, 0, scrolling);
        PaintBlock({0, 0, fixedRight, headerBottom}, 0, 0, fixed);
        return cells_;
    }

private:
    // One of the four panes (corner, header, fixed column, data), each clipped so that the scrolled cells
    // never draw over the fixed ones.
    void PaintBlock(const RECT& pane, int firstRow, int lastRow, ColumnRange cols) {
        if (pane.right <= pane.left || pane.bottom <= pane.top)
            return;
        const SavedDcState saved(dc_);
        IntersectClipRect(dc_, pane.left, pane.top, pane.right, pane.bottom);
        for (int c = cols.first; c < cols.end; ++c) {
            const int left = layout_.ColLeft(c), width = layout_.ColWidth(c);
            if (width == 0 || left >= pane.right || left + width <= pane.left)
                continue;
            for (int r = firstRow; r <= lastRow; ++r) {
                const int top = layout_.RowTop(r);
                PaintCell(r, c, {left, top, left + width, top + layout_.RowHeight()});
            }
        }
    }

    void PaintCell(int row, int col, const RECT& cell) {
        ++cells_;
        if (row < 1 || col < layout_.FixedCols())
            PaintFixedCell(row, col, cell);
        else
            PaintDataCell(row, col, cell);
    }

    void PaintFixedCell(int row, int col, const RECT& cell) {
        SetBkColor(dc_, GetSysColor(COLOR_BTNFACE));
        SetTextColor(dc_, GetSysColor(COLOR_BTNTEXT));
        RECT inside = cell;
        InflateRect(&inside, -1, -1);
        DrawCellText(row, col, inside);
        RECT edge = cell;
        DrawEdge(dc_, &edge, BDR_RAISEDINNER, BF_RECT);
    }

    void PaintDataCell(int row, int col, const RECT& cell) {
        const bool current = row == model_.Row() && col == model_.Col();
        const bool highlighted = !current && Selected(row, col);
        const bool shaded = !highlighted && model_.ShadingShown() && model_.Shaded(row, col);
        SetBkColor(dc_, highlighted ? GetSysColor(COLOR_HIGHLIGHT)
                        : shaded    ? kShadedCellColor
                                    : GetSysColor(COLOR_WINDOW));
        SetTextColor(dc_, GetSysColor(highlighted ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
        // The right and bottom pixel of every data cell are its grid lines.
        const RECT inside{cell.left, cell.top, cell.right - 1, cell.bottom - 1};
        DrawCellText(row, col, inside);
        const RECT right{cell.right - 1, cell.top, cell.right, cell.bottom};
        const RECT bottom{cell.left, cell.bottom - 1, cell.right - 1, cell.bottom};
        FillRect(dc_, &right, static_cast<HBRUSH>(gridLines_.get()));
        FillRect(dc_, &bottom, static_cast<HBRUSH>(gridLines_.get()));
        if (current)
            DrawFocusRect(dc_, &inside);
    }

    // Fills `area` with the background colour and writes the text in it, clipped to it.
    void DrawCellText(int row, int col, const RECT& area) {
        const std::wstring_view text = model_.CellText(row, col);
        const bool right = model_.ColAlignment(col) == CellAlignment::RightCenter;
        SetTextAlign(dc_, (right ? TA_RIGHT : TA_LEFT) | TA_TOP | TA_NOUPDATECP);
        const int x = right ? area.right - kTextPaddingPx : area.left + kTextPaddingPx;
        const int y = area.top + (area.bottom - area.top - style_.textHeightPx) / 2;
        ExtTextOutW(dc_, x, y, ETO_OPAQUE | ETO_CLIPPED, &area, text.data(), static_cast<UINT>(text.size()),
                    nullptr);
    }

    bool Selected(int row, int col) const {
        const auto within = [](int value, int a, int b) {
            return value >= std::min(a, b) && value <= std::max(a, b);
        };
        return within(row, model_.Row(), model_.RowSel()) && within(col, model_.Col(), model_.ColSel());
    }

    HDC dc_;
    const GridModel& model_;
    const GridLayout& layout_;
    const GridPaintStyle& style_;
    UniqueGdiObject gridLines_;
    int cells_ = 0;
};

} // namespace

int PaintGrid(HDC dc, const GridModel& model, const GridLayout& layout, const GridPaintStyle& style) {
    return GridPainter(dc, model, layout, style).Paint();
}

} // namespace vantrel
