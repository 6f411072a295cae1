#include "views/definition.h"

#include <gtest/gtest.h>

namespace vantrel {
namespace {

constexpr int kTpp = kTwipsPerPixelAt96Dpi;

TEST(ViewDefinition, FixedSlotsHoldRowNumberAndMarkColumns) {
    const ViewDefinition view;
    EXPECT_EQ(view.column(kRowNumberColumn).widthTwips, 480);
    EXPECT_EQ(view.column(kRowNumberColumn).header, L"");
    EXPECT_EQ(view.column(kMarkColumn).widthTwips, 270);
    EXPECT_EQ(view.column(kMarkColumn).header, L"!*");
    EXPECT_EQ(view.column(0).widthTwips, 0);
    EXPECT_FALSE(view.isParsed());
    EXPECT_THROW(view.column(241), std::out_of_range);
    EXPECT_THROW(view.column(-3), std::out_of_range);
}

TEST(GetCico, ReadsHeadAndColumnsWithWidthsInTwips) {
    const ViewDefinition view = ParseDefinition(
        L"HKCR\\Clsid,01345,013457,ActiveX Controls,|240,<key>,Class-ID|45,Control\\!?,ActX,+>,x", kTpp);
    EXPECT_EQ(view.head, (ViewHead{L"HKCR\\Clsid", L"01345", L"013457", L"ActiveX Controls"}));
    EXPECT_TRUE(view.isParsed());
    EXPECT_EQ(view.column(0), (ColumnSpec{3600, L"<key>", L"Class-ID", L"", L""}));
    EXPECT_EQ(view.column(1), (ColumnSpec{675, L"Control\\!?", L"ActX", L"+>", L"x"}));
    EXPECT_EQ(view.column(2), ColumnSpec{});
}

TEST(GetCico, TwipsPerPixelIsAParameter) {
    const ViewDefinition view = ParseDefinition(L"K,0,0,T,|100,<key>,Key", 12);
    EXPECT_EQ(view.column(0).widthTwips, 1200);
    EXPECT_EQ(MakCGp(view, 12), L"K,0,0,T,|100,<key>,Key,,");
}

TEST(GetCico, HiddenComparisonColumnOfTheSameServerView) {
    const ViewDefinition view = ParseDefinition(L"HKCR\\CLSID,4710235,4710235,T,|250,<key>,Cls-ID,|0,"
                                                L"\\HKCR\\CLSID\\%%\\InprocServer32\\,Fixed,*=%4%|",
                                                kTpp);
    EXPECT_EQ(view.column(1),
              (ColumnSpec{0, L"\\HKCR\\CLSID\\%%\\InprocServer32\\", L"Fixed", L"*=%4%", L""}));
}

TEST(GetCico, KeepsWidthsAlreadyHeld) {
    ViewDefinition view;
    view.column(1).widthTwips = 999; // dragged by the user
    GetCico(L"K,01,01,T,|10,<key>,Key|20,Name,Name", view, kTpp);
    EXPECT_EQ(view.column(0).widthTwips, 150);
    EXPECT_EQ(view.column(1).widthTwips, 999);
    EXPECT_EQ(view.column(1).data, L"Name");
}

TEST(GetCico, StopsAtTheFirstEmptySegment) {
    const ViewDefinition view = ParseDefinition(L"K,01,01,T,|10,<key>|  |20,Late", kTpp);
    EXPECT_EQ(view.column(0).data, L"<key>");
    EXPECT_EQ(view.column(1).data, L"");
    EXPECT_EQ(view.column(2).data, L"");
}

TEST(GetCico, SegmentWithEmptyDataStillReadsOn) {
    const ViewDefinition view = ParseDefinition(L"K,012,012,T,|10,<key>|30,,Default|20,Name", kTpp);
    EXPECT_EQ(view.column(1), (ColumnSpec{450, L"", L"Default", L"", L""}));
    EXPECT_EQ(view.column(2).data, L"Name");
    // ...but writing stops at the column whose data is empty.
    EXPECT_EQ(MakCGp(view, kTpp), L"K,012,012,T,|10,<key>,,,");
}

TEST(GetCico, WidthTextsThatAreNotNumbers) {
    const ViewDefinition view = ParseDefinition(L"K,0123,0,T,|abc,a|12px,b| 7 ,c|-5,d", kTpp);
    EXPECT_EQ(view.column(0).widthTwips, 0);
    EXPECT_EQ(view.column(1).widthTwips, 180);
    EXPECT_EQ(view.column(2).widthTwips, 105);
    EXPECT_EQ(view.column(3).widthTwips, 0);
}

TEST(GetCico, TitleWithoutTrailingCommaRunsIntoTheFirstColumn) {
    const ViewDefinition view = ParseDefinition(L"K,0,0,Title|10,<key>,Key", kTpp);
    EXPECT_EQ(view.head.title, L"Title|10");
    EXPECT_EQ(view.column(0).data, L"<key>");
}

TEST(MakCGp, HeadThatRanIntoTheColumnsDoesNotShiftThem) {
    const ViewDefinition view = ParseDefinition(L"K,01,01,Title|10,<key>,Key|20,Name,Name", kTpp);
    const std::wstring written = MakCGp(view, kTpp);
    EXPECT_EQ(written, L"K,01,01,Title,|10,<key>,Key,,|20,Name,Name,,");
    const ViewDefinition reread = ParseDefinition(written, kTpp);
    EXPECT_EQ(reread.column(0), view.column(0));
    EXPECT_EQ(reread.column(1), view.column(1));
    EXPECT_EQ(reread.head.title, L"Title");
}

TEST(GetCico, HeadShorterThanFourFields) {
    const ViewDefinition view = ParseDefinition(L"Software\\Acme", kTpp);
    EXPECT_EQ(view.head, (ViewHead{L"Software\\Acme", L"", L"", L""}));
    EXPECT_EQ(view.column(0), ColumnSpec{});
}

TEST(GetCico, IgnoresColumnsPast240) {
    std::wstring text = L"K,0,0,T,";
    for (int i = 0; i < 300; ++i)
        text += L"|1,d" + std::to_wstring(i) + L",h";
    const ViewDefinition view = ParseDefinition(text, kTpp);
    EXPECT_EQ(view.column(240).data, L"d240");
    EXPECT_EQ(view.column(kRowNumberColumn).widthTwips, 480); // untouched by any definition
    const std::wstring written = MakCGp(view, kTpp);
    EXPECT_NE(written.find(L"|1,d240,h,,"), std::wstring::npos);
    EXPECT_EQ(written.find(L"d241"), std::wstring::npos);
}

TEST(MakCGp, WritesHeadAndAllFiveFieldsOfEveryColumn) {
    ViewDefinition view;
    view.head = {L"System\\CurrentControlSet\\Services", L"123456", L"0123456789", L"Registered services"};
    view.column(0) = {1200, L"<key>", L"Name", L"", L""};
    view.column(1) = {3607, L"Type", L"Type", L"*>15", L"note"}; // 240.47 pixels
    view.column(2) = {22, L"Start", L"", L"", L""};              // 1.47 pixels
    EXPECT_EQ(MakCGp(view, kTpp),
              L"System\\CurrentControlSet\\Services,123456,0123456789,Registered services,"
              L"|80,<key>,Name,,|240,Type,Type,*>15,note|1,Start,,,");
}

TEST(PixelsFromTwips, RoundsToTheNearestPixel) {
    EXPECT_EQ(PixelsFromTwips(0, 15), 0);
    EXPECT_EQ(PixelsFromTwips(7, 15), 0);
    EXPECT_EQ(PixelsFromTwips(8, 15), 1);
    EXPECT_EQ(PixelsFromTwips(3600, 15), 240);
    EXPECT_EQ(PixelsFromTwips(100, 0), 0);
}

} // namespace
} // namespace vantrel
