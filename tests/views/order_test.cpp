#include "views/order.h"

#include <gtest/gtest.h>

namespace vantrel {
namespace {

TEST(DigitValue, MapsEveryOrderCharacterBothCases) {
    EXPECT_EQ(DigitValue(L'0'), 0);
    EXPECT_EQ(DigitValue(L'9'), 9);
    EXPECT_EQ(DigitValue(L'a'), 10);
    EXPECT_EQ(DigitValue(L'b'), 11);
    EXPECT_EQ(DigitValue(L'B'), 11);
    EXPECT_EQ(DigitValue(L'Z'), 35);
    EXPECT_EQ(DigitValue(L'{'), 36);
    EXPECT_EQ(DigitValue(L'|'), 37);
    EXPECT_EQ(DigitValue(L'}'), 38);
    EXPECT_EQ(DigitValue(L'~'), 39);
}

TEST(DigitValue, OtherCharactersNameNoColumn) {
    for (const wchar_t c : std::wstring(L" !%*,-./:=@[\\]^_`\x00e4\x0436"))
        EXPECT_EQ(DigitValue(c), -1) << static_cast<int>(c);
}

TEST(OrderCharacter, IsTheInverseOfDigitValue) {
    for (int index = 0; index < 40; ++index)
        EXPECT_EQ(DigitValue(OrderCharacter(index)), index);
    EXPECT_EQ(OrderCharacter(40), 0);
    EXPECT_EQ(OrderCharacter(-1), 0);
}

TEST(ColumnKeyName, DigitsThenCharacterCodeIndexPlus55) {
    EXPECT_EQ(ColumnKeyName(0), L'0');
    EXPECT_EQ(ColumnKeyName(9), L'9');
    EXPECT_EQ(ColumnKeyName(10), L'A');
    EXPECT_EQ(ColumnKeyName(35), L'Z');
    EXPECT_EQ(ColumnKeyName(36), L'[');
    EXPECT_EQ(ColumnKeyName(37), L'\\');
    EXPECT_EQ(ColumnKeyName(38), L']');
    EXPECT_EQ(ColumnKeyName(39), L'^');
}

} // namespace
} // namespace vantrel
