#include "engine/clipboard_text.h"

#include <algorithm>

namespace vantrel {
namespace {

constexpr int kRowsPerChunk = 50;

} // namespace

std::wstring Copy2clipText(const GridModel& grid) {
    return BlockText(grid, std::min(grid.Row(), grid.RowSel()),
                     std::min(std::max(grid.Row(), grid.RowSel()), grid.Rows() - 1),
                     std::min(grid.Col(), grid.ColSel()),
                     std::min(std::max(grid.Col(), grid.ColSel()), grid.Cols() - 1));
}

std::wstring BlockText(const GridModel& grid, int top, int bottom, int left, int right) {
    std::wstring text;
    // Rows gather in a small buffer that joins the text every 50 rows: a long table is not copied over and
    // over as it grows.
    std::wstring rows;
    for (int r = top; r <= bottom; ++r) {
        for (int c = left; c <= right; ++c) {
            const size_t start = rows.size();
            rows += grid.CellText(r, c);
            std::replace(rows.begin() + static_cast<std::ptrdiff_t>(start), rows.end(), L'\0', L' ');
            rows += c == right ? L"\r\n" : L"\t";
        }
        if (r % kRowsPerChunk == 0 || r == bottom) {
            text += rows;
            rows.clear();
        }
    }
    return text;
}

} // namespace vantrel
