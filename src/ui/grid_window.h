#pragma once
// The grid control: a window that shows a GridModel with its header row and row-number column fixed,
// scrolls, selects cells and blocks by mouse and keyboard, lets the user drag column widths, shows a tooltip,
// and tells its owner what the user did. Positions in events are twips from the grid's top-left corner,
// as the view window's handlers expect.
#include "engine/grid_model.h"
#include "ui/base_window.h"
#include "ui/grid_layout.h"
#include "ui/grid_navigation.h"

#include <memory>
#include <string>

namespace vantrel {

// Mouse buttons and shift state as the handlers receive them.
namespace gridinput {
inline constexpr int kLeftButton = 1;
inline constexpr int kRightButton = 2;
inline constexpr int kMiddleButton = 4;
inline constexpr int kShift = 1;
inline constexpr int kCtrl = 2;
inline constexpr int kAlt = 4;
} // namespace gridinput

// What the grid tells its owner; every handler is optional.
class GridEvents {
public:
    virtual ~GridEvents() = default;
    virtual void OnGridClick() {}
    virtual void OnGridRowColChange() {}
    virtual void OnGridDblClick() {}
    virtual void OnGridMouseUp(int /*button*/, int /*shift*/, int /*xTwips*/, int /*yTwips*/) {}
    virtual void OnGridMouseMove(int /*button*/, int /*shift*/, int /*xTwips*/, int /*yTwips*/) {}
    virtual void OnGridKeyDown(int /*keyCode*/, int /*shift*/) {}
    virtual void OnGridKeyUp(int /*keyCode*/, int /*shift*/) {}
    virtual void OnGridKeyPress(int /*character*/) {}
};

class GridWindow : public BaseWindow<GridWindow> {
public:
    // A child window of `parent` showing `model`; both the model and the events object must outlive it.
    static std::unique_ptr<GridWindow> Create(HWND parent, int id, GridModel& model, GridEvents& events,
                                              int twipsPerPixel);
    ~GridWindow();

    // The model changed (rows, columns, texts or widths): recompute the scroll ranges and repaint.
    void Refresh();

    // The status text shown as the grid's tooltip; an empty text shows none.
    void SetToolTipText(std::wstring_view text);
    const std::wstring& ToolTipText() const { return toolTip_; }
    std::wstring tag; // free text for the owner

    // The cell under the mouse pointer as the grid last saw it (-1 outside the cells).
    int MouseRow() const { return mouseRow_; }
    int MouseCol() const { return mouseCol_; }
    // Left edge of a column and top edge of a row in twips, as they are placed now (after scrolling).
    int ColPos(int col) const;
    int RowPos(int row) const;
    int RowHeight(int row) const;
    int TwipsPerPixel() const { return twipsPerPixel_; }

    // Scrolls so that the cell is visible.
    void EnsureVisible(int row, int col);

    // How many cells the last paint drew (painting touches only the visible cells).
    int LastPaintedCellCount() const { return lastPaintedCells_; }

private:
    friend class BaseWindow<GridWindow>;
    GridWindow(GridModel& model, GridEvents& events, int twipsPerPixel);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    bool OnCreate();
    void OnDestroy();
    void OnSize();
    void OnPaint();
    void OnVScroll(int request);
    void OnHScroll(int request);
    void OnMouseWheel(int delta);
    void OnLButtonDown(WPARAM keys, POINT point);
    void OnLButtonDblClk(WPARAM keys, POINT point);
    void OnLButtonUp(WPARAM keys, POINT point);
    void OnOtherButtonDown(POINT point);
    void OnOtherButtonUp(int button, WPARAM keys, POINT point);
    void OnMouseMove(WPARAM keys, POINT point);
    LRESULT OnSetCursor(WPARAM wParam, LPARAM lParam);
    void OnCaptureChanged(HWND gaining);
    void OnTimer(UINT_PTR id);
    void OnKeyDown(int key);
    void OnKeyUp(int key);
    void OnChar(int character);

    GridLayout Layout() const;
    void MeasureFont();
    void UpdateScrollBars();
    void ScrollTo(GridScroll target);
    void Invalidate();
    void TrackMouse(POINT point);
    void BeginColumnResize(int col, POINT point, const GridLayout& layout);
    void ResizeColumnTo(int x);
    void ExtendDrag(POINT point);
    void UpdateAutoScroll(POINT point);
    void EndDrag();
    void Navigate(GridMove move, bool extend);
    void RaiseRowColChangeIfMoved(GridCell before);
    void RaiseMouseUp(int button, WPARAM keys, POINT point);

    struct Impl;
    std::unique_ptr<Impl> impl_;
    GridModel& model_;
    GridEvents& events_;
    int twipsPerPixel_;
    std::wstring toolTip_;
    int mouseRow_ = -1;
    int mouseCol_ = -1;
    int lastPaintedCells_ = 0;
};

} // namespace vantrel
