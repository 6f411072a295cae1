#pragma once
// Where a navigation key takes the current cell (or the moving corner of the selected block): never into the
// fixed row or columns, never onto a hidden (zero-width) column.
#include "engine/grid_model.h"
#include "ui/grid_layout.h"

namespace vantrel {

enum class GridMove { Up, Down, Left, Right, PageUp, PageDown, Home, End, FirstCell, LastCell };

// The cell reached from `from`; `from` itself when the grid has no data cell to go to.
GridCell MoveCell(const GridModel& model, GridCell from, GridMove move, int pageRows);

} // namespace vantrel
