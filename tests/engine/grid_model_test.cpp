#include "engine/grid_model.h"

#include "views/text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

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

// The grid against plain nested vectors through random resizes, writes (short, long and empty texts, written
// over and over so that dropped texts pile up and get compacted), shading and sorts.
struct PlainGrid {
    std::vector<std::vector<std::wstring>> texts{2, std::vector<std::wstring>(2)};
    std::vector<std::vector<bool>> shaded{2, std::vector<bool>(2)};

    void Resize(size_t rows, size_t cols) {
        texts.resize(rows, std::vector<std::wstring>(cols));
        shaded.resize(rows, std::vector<bool>(cols));
        for (size_t r = 0; r < rows; ++r) {
            texts[r].resize(cols);
            shaded[r].resize(cols);
        }
    }
    void Sort(size_t col, bool ascending) {
        std::vector<size_t> order(texts.size() - 1);
        for (size_t r = 0; r < order.size(); ++r)
            order[r] = r + 1;
        const auto key = [&](size_t r) {
            double number = 0;
            const bool numeric = ReadsAsNumber(texts[r][col], number);
            return std::tuple(!numeric, numeric ? number : 0.0, numeric ? L"" : LowerCase(texts[r][col]));
        };
        std::ranges::stable_sort(
            order, [&](size_t a, size_t b) { return ascending ? key(a) < key(b) : key(b) < key(a); });
        const PlainGrid before = *this;
        for (size_t r = 0; r < order.size(); ++r) {
            texts[r + 1] = before.texts[order[r]];
            shaded[r + 1] = before.shaded[order[r]];
        }
    }
};

void ExpectSame(const GridModel& grid, const PlainGrid& plain, int step) {
    ASSERT_EQ(static_cast<size_t>(grid.Rows()), plain.texts.size()) << "step " << step;
    ASSERT_EQ(static_cast<size_t>(grid.Cols()), plain.texts[0].size()) << "step " << step;
    for (int r = 0; r < grid.Rows(); ++r)
        for (int c = 0; c < grid.Cols(); ++c) {
            ASSERT_EQ(grid.CellText(r, c), plain.texts[static_cast<size_t>(r)][static_cast<size_t>(c)])
                << "step " << step << ", cell " << r << "," << c;
            ASSERT_EQ(grid.Shaded(r, c), plain.shaded[static_cast<size_t>(r)][static_cast<size_t>(c)])
                << "step " << step << ", cell " << r << "," << c;
        }
}

TEST(GridModel, KeepsEveryTextThroughResizesRewritesAndSorts) {
    std::mt19937 random(7);
    const auto pick = [&](int count) {
        return std::uniform_int_distribution<int>(0, count - 1)(random);
    };
    const auto text = [&] {
        switch (pick(8)) {
        case 0:
            return std::wstring();
        case 1:
            return std::wstring(70000 + static_cast<size_t>(pick(1000)),
                                static_cast<wchar_t>(L'a' + pick(26)));
        case 2:
            return std::to_wstring(pick(50));
        default:
            return std::wstring(static_cast<size_t>(1 + pick(3000)), static_cast<wchar_t>(L'A' + pick(52)));
        }
    };
    GridModel grid;
    PlainGrid plain;
    for (int step = 0; step < 3000; ++step) {
        const int rows = grid.Rows(), cols = grid.Cols();
        switch (pick(20)) {
        case 0: {
            const int newRows = 1 + pick(40), newCols = 1 + pick(8);
            grid.SetRows(newRows);
            grid.SetCols(newCols);
            plain.Resize(static_cast<size_t>(newRows), static_cast<size_t>(newCols));
            break;
        }
        case 1: {
            const int col = pick(cols);
            const bool ascending = pick(2) == 0;
            grid.SetCol(col);
            grid.Sort(ascending ? SortOrder::GenericAscending : SortOrder::GenericDescending);
            if (rows > 2)
                plain.Sort(static_cast<size_t>(col), ascending);
            break;
        }
        case 2: {
            const int r = pick(rows), c = pick(cols);
            grid.SetShaded(r, c, true);
            plain.shaded[static_cast<size_t>(r)][static_cast<size_t>(c)] = true;
            break;
        }
        default: {
            const int r = pick(rows), c = pick(cols);
            const std::wstring written = text();
            grid.SetTextMatrix(r, c, written);
            plain.texts[static_cast<size_t>(r)][static_cast<size_t>(c)] = written;
        }
        }
        ExpectSame(grid, plain, step);
        if (HasFatalFailure())
            return;
    }
}

TEST(GridModel, ACellWrittenFromAnotherCellOfTheSameGridGetsItsText) {
    GridModel grid = Filled({L"first", L"second"});
    for (int i = 0; i < 2000; ++i) { // enough to start new blocks and compact on the way
        grid.SetTextMatrix(0, 2, std::wstring(4000, static_cast<wchar_t>(L'a' + i % 26)));
        grid.SetTextMatrix(1 + i % 2, 2, grid.CellText(0, 2));
        grid.SetTextMatrix(1 + i % 2, 1, grid.CellText(2 - i % 2, 1));
    }
    EXPECT_EQ(grid.TextMatrix(1, 2), std::wstring(4000, L'a' + 1998 % 26));
    EXPECT_EQ(grid.TextMatrix(2, 2), std::wstring(4000, L'a' + 1999 % 26));
    EXPECT_EQ(grid.TextMatrix(1, 1), L"second");
    EXPECT_EQ(grid.TextMatrix(2, 1), L"second");
}

} // namespace
} // namespace vantrel
