#pragma once
// Drawing the grid: the visible cells only, so a paint costs the same for ten rows as for a million.
#include "engine/grid_model.h"
#include "ui/grid_layout.h"

#include <windows.h>

namespace vantrel {

struct GridPaintStyle {
    HFONT font = nullptr;
    int textHeightPx = 0;
};

// Draws the grid into `dc` (client coordinates, all of the client area) and returns how many cells it drew.
int PaintGrid(HDC dc, const GridModel& model, const GridLayout& layout, const GridPaintStyle& style);

} // namespace vantrel
