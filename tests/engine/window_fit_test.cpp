#include "engine/window_fit.h"

#include <gtest/gtest.h>

namespace vantrel {
namespace {

TableFitInput Room(int tableWidth, int tableHeight) {
    TableFitInput in;
    in.tableWidth = tableWidth;
    in.tableHeight = tableHeight;
    in.frameHeightAllowance = 400;
    in.borderWidth = 60;
    in.windowLeft = 300;
    in.windowTop = 300;
    in.mainWidth = 15000;
    in.mainInnerHeight = 10000;
    return in;
}

TEST(FlexResize, SmallTableGetsItsOwnSize) {
    EXPECT_EQ(FlexResize(Room(6000, 2400)), (WindowSize{6120, 2905}));
}

TEST(FlexResize, WideTableIsCutWithRoomForTheHorizontalScrollBar) {
    EXPECT_EQ(FlexResize(Room(20000, 2400)), (WindowSize{14520, 3235}));
}

TEST(FlexResize, LongTableIsCutWithRoomForTheVerticalScrollBar) {
    EXPECT_EQ(FlexResize(Room(6000, 50000)), (WindowSize{6360, 9700}));
}

TEST(FlexResize, TableTooLargeBothWaysStaysInsideTheMainWindow) {
    EXPECT_EQ(FlexResize(Room(20000, 50000)), (WindowSize{14520, 9700}));
}

} // namespace
} // namespace vantrel
