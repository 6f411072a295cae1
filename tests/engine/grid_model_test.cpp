#include "engine/grid_model.h"

#include <gtest/gtest.h>

namespace vantrel {
namespace {

GridModel Filled(std::initializer_list<std::wstring> column1) {
    GridModel grid;
    grid.SetCols(3);
    grid.SetRows(static_cast<int>(column1.size()) + 1);
    int r = 1;
    for (const std::wstring& text : column1) {
        grid.SetTextMatrix(r, 0, std::to_wstring(r));
        grid.SetTextMatrix(r, 1, text);
        ++r;
    }
    return grid;
}

std::vector<std::wstring> Column(const GridModel& grid, int c) {
    std::vector<std::wstring> texts;
    for (int r = 1; r < grid.Rows(); ++r)
        texts.push_back(grid.TextMatrix(r, c));
    return texts;
}

TEST(GridModel, SortsNumbersAsNumbersAndTextWithoutCaseKeepingRowsTogether) {
    GridModel grid = Filled({L"b", L"10", L"A", L"9", L"c", L"9"});
    grid.SetCol(1);
    grid.Sort(SortOrder::GenericAscending);
    EXPECT_EQ(Column(grid, 1), (std::vector<std::wstring>{L"9", L"9", L"10", L"A", L"b", L"c"}));
    EXPECT_EQ(Column(grid, 0), (std::vector<std::wstring>{L"4", L"6", L"2", L"3", L"1", L"5"}));
    grid.Sort(SortOrder::GenericDescending);
    EXPECT_EQ(Column(grid, 1), (std::vector<std::wstring>{L"c", L"b", L"A", L"10", L"9", L"9"}));
    EXPECT_EQ(grid.TextMatrix(0, 1), L""); // the header row stays
}

TEST(GridModel, ClipOfTheSelectedBlockInAnyDirection) {
    GridModel grid = Filled({L"a", L"b", L"c"});
    grid.SetTextMatrix(2, 2, L"x");
    grid.SetRow(3);
    grid.SetCol(2);
    grid.SetRowSel(2);
    grid.SetColSel(1);
    EXPECT_EQ(grid.Clip(), L"b\tx\rc\t");
    grid.SetRow(1); // collapses the selection to the current cell (1, 2)
    EXPECT_EQ(grid.Clip(), L"");
    grid.SetCol(1);
    EXPECT_EQ(grid.Clip(), L"a");
}

TEST(GridModel, ResizingKeepsTextsAndClampsTheSelection) {
    GridModel grid = Filled({L"a", L"b", L"c"});
    grid.SetRow(3);
    grid.SetRows(2);
    EXPECT_EQ(grid.Row(), 1);
    EXPECT_EQ(grid.TextMatrix(1, 1), L"a");
    EXPECT_EQ(grid.TextMatrix(2, 1), L""); // outside
    grid.SetRows(4);
    EXPECT_EQ(grid.TextMatrix(3, 1), L"");
    grid.SetColWidth(1, 1500);
    grid.SetCols(5);
    EXPECT_EQ(grid.ColWidth(1), 1500);
    grid.SetRows(0);
    EXPECT_EQ(grid.Rows(), 1);
}

} // namespace
} // namespace vantrel
