#pragma once
// How presses, drags and navigation keys change the current cell and the selected block in the model, as a
// flex grid does it: the header row picks whole columns, the fixed column whole rows, their corner all.
#include "engine/grid_model.h"
#include "ui/grid_layout.h"
#include "ui/grid_navigation.h"

namespace vantrel {

// What a drag that began with a press goes on to select.
enum class GridDrag { None, Cells, Columns, Rows };

// A left press on `cell` (from GridLayout::HitTest); with `extend` (Shift) the block grows from the current
// cell instead of starting over. Returns what dragging on from here selects.
GridDrag PressCell(GridModel& model, GridCell cell, bool extend);

// The pointer of a drag reached `cell` (a data cell): moves the far corner of the block.
void DragSelection(GridModel& model, GridDrag drag, GridCell cell);

// A navigation key: without `extend` the current cell moves and the block collapses onto it, with it the far
// corner moves and the current cell stays. Returns the cell that moved, to be scrolled into view.
GridCell MoveSelection(GridModel& model, GridMove move, bool extend, int pageRows);

} // namespace vantrel
