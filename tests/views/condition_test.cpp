#include "views/condition.h"

#include <gtest/gtest.h>

namespace vantrel {
namespace {

ConditionParts Parts(ConditionKind kind, ConditionOperator op, std::wstring reference) {
    return {kind, op, std::move(reference)};
}

TEST(ReadCondition, KindsAndOperatorsOfTheBuiltInViews) {
    EXPECT_EQ(ReadCondition(L"*>15"), Parts(ConditionKind::Required, ConditionOperator::Greater, L"15"));
    EXPECT_EQ(ReadCondition(L"*^System"),
              Parts(ConditionKind::Required, ConditionOperator::NotEqual, L"System"));
    EXPECT_EQ(ReadCondition(L"*=%4%"), Parts(ConditionKind::Required, ConditionOperator::Equal, L"%4%"));
    EXPECT_EQ(ReadCondition(L"*="), Parts(ConditionKind::Required, ConditionOperator::Equal, L""));
    EXPECT_EQ(ReadCondition(L"+>"), Parts(ConditionKind::Alternative, ConditionOperator::Greater, L""));
    EXPECT_EQ(ReadCondition(L"*<  7 "), Parts(ConditionKind::Required, ConditionOperator::Less, L"7"));
    EXPECT_EQ(ReadCondition(L"*^%Windir%\\System32\\Dllcache"),
              Parts(ConditionKind::Required, ConditionOperator::NotEqual, L"%Windir%\\System32\\Dllcache"));
}

TEST(ReadCondition, EmptyInertAndInvalid) {
    EXPECT_EQ(ReadCondition(L"").kind, ConditionKind::None);
    EXPECT_EQ(ReadCondition(L"(only a comment)").kind, ConditionKind::None);
    EXPECT_EQ(ReadCondition(L">15").kind, ConditionKind::Inert);
    EXPECT_EQ(ReadCondition(L"-=x").kind, ConditionKind::Inert);
    EXPECT_EQ(ReadCondition(L"*!x"), Parts(ConditionKind::Required, ConditionOperator::Invalid, L"x"));
    EXPECT_EQ(ReadCondition(L"*"), Parts(ConditionKind::Required, ConditionOperator::Invalid, L""));
}

TEST(ReadCondition, CommentFromTheFirstParenthesisIsIgnoredButNotRemoved) {
    const std::wstring stored = L"*>15(services only) (really)";
    EXPECT_EQ(ReadCondition(stored), Parts(ConditionKind::Required, ConditionOperator::Greater, L"15"));
    EXPECT_EQ(stored, L"*>15(services only) (really)");
    EXPECT_EQ(CutCondition(stored), L"*>15");
    EXPECT_EQ(CutCondition(L"*=%4%"), L"*=%4%");
}

} // namespace
} // namespace vantrel
