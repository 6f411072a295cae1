#pragma once
// The text a view puts on the clipboard: its selected block, whichever way it was selected.
#include "engine/grid_model.h"

#include <string>

namespace vantrel {

// Each row of the block from top to bottom: its cells from left to right, a tab after each but the last and
// CR LF after the last, the bottom row included. Cells go as they stand, except that a NUL (inside a
// multi-string value) becomes a blank, so the text is not cut short where it lands. The header row and the
// row-number column come along only when the block takes them in (as after selectall).
std::wstring Copy2clipText(const GridModel& grid);
// The same for the block of rows top..bottom and columns left..right.
std::wstring BlockText(const GridModel& grid, int top, int bottom, int left, int right);

} // namespace vantrel
