#include "views/cell_block.h"

#include <gtest/gtest.h>

namespace vantrel {
namespace {

constexpr int kTpp = kTwipsPerPixelAt96Dpi;

ViewDefinition ServicesLike() {
    return ParseDefinition(
        L"System\\CurrentControlSet\\Services,123,0123,Services,|80,<key>,Name,|240,DisplayName,"
        L"Shown name,,x|270,ImagePath,Program,|30,Type,Type,*>15",
        kTpp);
}

TEST(SelCGp, OneRowSelectedGivesNothingToDo) {
    const CellBlock block{3, 3, {1, 2}, 5, {L"Dhcp"}};
    EXPECT_EQ(SelCGp(ServicesLike(), block, kTpp), L"");
}

TEST(SelCGp, WholeRowsAreRefused) {
    const CellBlock block{1, 2, {1, 2, 3}, 4, {L"Dhcp", L"Eventlog"}};
    EXPECT_EQ(SelCGp(ServicesLike(), block, kTpp), L"-");
}

TEST(SelCGp, ThirtySixCellsAreTooMany) {
    CellBlock block{1, 18, {1, 2}, 10, {}};
    for (int r = 0; r < 18; ++r)
        block.rowKeys.push_back(L"k" + std::to_wstring(r));
    EXPECT_EQ(SelCGp(ServicesLike(), block, kTpp), L".");
    block.lastRow = 17;
    block.rowKeys.pop_back(); // 34 cells fit
    const std::wstring text = SelCGp(ServicesLike(), block, kTpp);
    EXPECT_EQ(text.substr(text.find(L',') + 1, 36), L"0123456789abcdefghijklmnopqrstuvwxy,");
}

TEST(SelCGp, EachCellBecomesAColumnReadingThatItemsData) {
    const CellBlock block{4, 5, {1, 3}, 5, {L"Dhcp", L"Eventlog"}};
    EXPECT_EQ(SelCGp(ServicesLike(), block, kTpp),
              L"System\\CurrentControlSet\\Services,01234,01234,,|120,<key>,Key,,"
              L"|240,Dhcp\\DisplayName,0-Shown name,,x|30,Dhcp\\Type,0-Type,*>15,"
              L"|240,Eventlog\\DisplayName,1-Shown name,,x|30,Eventlog\\Type,1-Type,*>15,");
}

TEST(SelCGp, ResultParsesToAViewOfThoseCells) {
    const CellBlock block{2, 3, {2}, 5, {L"A", L"B"}};
    const ViewDefinition view = ParseDefinition(SelCGp(ServicesLike(), block, kTpp), kTpp);
    EXPECT_EQ(view.head.colsOrder, L"012");
    EXPECT_EQ(view.head.title, L"");
    EXPECT_EQ(view.column(0).data, L"<key>");
    EXPECT_EQ(view.column(1).data, L"A\\ImagePath");
    EXPECT_EQ(view.column(2).header, L"1-Program");
    EXPECT_EQ(view.column(2).widthTwips, 270 * kTpp);
}

} // namespace
} // namespace vantrel
