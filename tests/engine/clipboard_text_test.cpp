// The clipboard text of a selected block.
#include "engine/clipboard_text.h"

#include <gtest/gtest.h>

namespace vantrel {
namespace {

// A 4 × 3 grid (header row and row numbers included) whose cells name themselves: "r1c2".
GridModel Named(int rows = 4, int cols = 3) {
    GridModel grid;
    grid.SetRows(rows);
    grid.SetCols(cols);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            grid.SetTextMatrix(r, c, L"r" + std::to_wstring(r) + L"c" + std::to_wstring(c));
    return grid;
}

void Select(GridModel& grid, int row, int col, int rowSel, int colSel) {
    grid.SetRow(row);
    grid.SetCol(col);
    grid.SetRowSel(rowSel);
    grid.SetColSel(colSel);
}

struct Block {
    int row, col, rowSel, colSel;
    const wchar_t* text;
};

TEST(Copy2clipText, EveryRowEndsInCrLfWhicheverWayTheBlockWasSelected) {
    const Block blocks[] = {
        {1, 1, 2, 2, L"r1c1\tr1c2\r\nr2c1\tr2c2\r\n"},
        {2, 2, 1, 1, L"r1c1\tr1c2\r\nr2c1\tr2c2\r\n"}, // upwards and leftwards
        {2, 1, 1, 2, L"r1c1\tr1c2\r\nr2c1\tr2c2\r\n"},
        {3, 2, 3, 2, L"r3c2\r\n"},                 // one cell
        {1, 1, 3, 1, L"r1c1\r\nr2c1\r\nr3c1\r\n"}, // one column
        {0, 0, 1, 2,
         L"r0c0\tr0c1\tr0c2\r\nr1c0\tr1c1\tr1c2\r\n"}, // header and row numbers only when taken in
    };
    for (const Block& block : blocks) {
        GridModel grid = Named();
        Select(grid, block.row, block.col, block.rowSel, block.colSel);
        EXPECT_EQ(Copy2clipText(grid), block.text) << block.row << "," << block.col;
    }
}

TEST(Copy2clipText, AMultiStringCellComesWholeWithBlanksForItsNuls) {
    GridModel grid = Named();
    grid.SetTextMatrix(1, 1, std::wstring(L"first\0second\0third", 18));
    Select(grid, 1, 1, 1, 2);
    EXPECT_EQ(Copy2clipText(grid), L"first second third\tr1c2\r\n");
}

// Rows join the text in chunks of 50: every row of a long table still comes once, in order.
TEST(Copy2clipText, LongTablesComeWholeAcrossTheChunks) {
    GridModel grid = Named(151, 2);
    Select(grid, 150, 1, 0, 0);
    std::wstring expected;
    for (int r = 0; r <= 150; ++r)
        expected += L"r" + std::to_wstring(r) + L"c0\tr" + std::to_wstring(r) + L"c1\r\n";
    EXPECT_EQ(Copy2clipText(grid), expected);
}

} // namespace
} // namespace vantrel
