// The clipboard text of a large grid, through the real clipboard.
#include "engine/clipboard_text.h"
#include "platform/clipboard.h"

#include <gtest/gtest.h>

namespace vantrel {
namespace {

// 15,000 rows of 10 columns copied after selectall come back whole, every row ending in CR LF.
TEST(ClipboardOnWine, AWholeLargeGridComesBackWhole) {
    GridModel grid;
    grid.SetRows(15001);
    grid.SetCols(10);
    for (int r = 0; r < grid.Rows(); ++r)
        for (int c = 0; c < grid.Cols(); ++c)
            grid.SetTextMatrix(r, c,
                               r == 7 && c == 3 ? std::wstring(L"a\0b", 3)
                                                : L"r" + std::to_wstring(r) + L"c" + std::to_wstring(c));
    grid.SetRow(0);
    grid.SetCol(0);
    grid.SetRowSel(grid.Rows() - 1);
    grid.SetColSel(grid.Cols() - 1);
    const std::wstring text = Copy2clipText(grid);
    ASSERT_TRUE(SetClipboardText(nullptr, text));
    const std::optional<std::wstring> back = ClipboardText(nullptr);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->size(), text.size());
    EXPECT_TRUE(*back == text);
    EXPECT_NE(back->find(L"\ta b\t"), std::wstring::npos); // the NUL as a blank, the text not cut there
    EXPECT_TRUE(back->ends_with(L"r15000c9\r\n"));
}

} // namespace
} // namespace vantrel
