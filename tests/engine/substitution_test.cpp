// Substitution tokens and the comparison of conditions.
#include "engine/text.h"
#include "engine/view_fixture.h"

namespace vantrel::test {
namespace {

TEST_F(ViewTest, ColumnValuesAndTheirFields) {
    View& v = NewView(L"8");
    v.rowValues[0] = L"S-1-5-18\\Products\\ABC";
    v.rowValues[4] = L"C:\\x.dll";
    v.rowValues[11] = L"b";
    EXPECT_EQ(v.StrVVar(L"=%0~\\~2%"), L"=ABC");
    EXPECT_EQ(v.StrVVar(L"%0~\\~0%"), L"S-1-5-18");
    EXPECT_EQ(v.StrVVar(L"[%4%][%B%][%b%][%5%]"), L"[C:\\x.dll][b][b][]");
    EXPECT_EQ(v.StrVVar(L"100%"), L"100%");
    EXPECT_EQ(v.StrVVar(L"%_%"), L"%_%");
}

TEST_F(ViewTest, ValuesHoldingTokensAreNotSubstitutedAgain) {
    View& v = NewView(L"8");
    v.rowValues[0] = L"a%0%";
    EXPECT_EQ(v.StrVVar(L"%0%"), L"a%0%");
    v.rowValues[1] = L"";
    EXPECT_EQ(v.StrVVar(L"%1%%1%x"), L"x");
}

TEST_F(ViewTest, EnvironmentVariables) {
    View& v = NewView(L"8");
    environment.variables[L"a"] = L"1";
    environment.variables[L"b"] = L"2";
    EXPECT_EQ(v.StrEVar(L"%windir%\\System32"), L"C:\\windows\\System32");
    EXPECT_EQ(v.StrEVar(L"%A%%B%"), L"12");
    EXPECT_EQ(v.StrEVar(L"%unset%x"), L"x");
    EXPECT_EQ(v.StrEVar(L"50%"), L"50%");
    EXPECT_EQ(v.StrEVar(L"%%"), L"%%");
}

TEST_F(ViewTest, DataVariableAndItsPackedForm) {
    View& v = NewView(L"8");
    host.textAnswer = L"{1F7CBE67-3193-435D-A2CF-C8A2BF35C08E}";
    EXPECT_EQ(v.StrCVar(L"%%|%{%|%%"),
              L"{1F7CBE67-3193-435D-A2CF-C8A2BF35C08E}|76EBC7F13913D5342AFC8C2AFB530CE8|%%");
    EXPECT_EQ(v.StrCVar(L"no tokens"), L"no tokens");
    EXPECT_EQ(host.prompts.size(), 1u);
    // The column tokens come before the environment: a one-character name that is an order character is a
    // column.
    environment.variables[L"4"] = L"env";
    v.rowValues[4] = L"col";
    EXPECT_EQ(v.StrCVar(L"%4%"), L"col");
}

TEST(CompareValues, NumbersWhenTheReferenceIsANumberOtherThanZero) {
    EXPECT_TRUE(CompareValues(L'>', L"16", L"15"));
    EXPECT_FALSE(CompareValues(L'>', L"9", L"15"));
    EXPECT_FALSE(CompareValues(L'>', L"many", L"15")); // no number counts as 0
    EXPECT_TRUE(CompareValues(L'<', L"many", L"15"));
    EXPECT_TRUE(CompareValues(L'=', L"15.0", L"15"));
    EXPECT_TRUE(CompareValues(L'>', L"100", L"15")); // not as text
}

TEST(CompareValues, TextByCharacterCodeWithTheValueLowerCased) {
    EXPECT_FALSE(CompareValues(L'^', L"SYSTEM", L"system"));
    EXPECT_TRUE(CompareValues(L'^', L"Net", L"system"));
    EXPECT_TRUE(CompareValues(L'=', L"", L""));
    EXPECT_TRUE(CompareValues(L'>', L"x", L""));
    EXPECT_FALSE(CompareValues(L'>', L"", L""));
    EXPECT_TRUE(CompareValues(L'=', L"0", L"0")); // 0 compares as text
    EXPECT_FALSE(CompareValues(L'=', L"0.0", L"0"));
    EXPECT_FALSE(CompareValues(L'!', L"a", L"a"));
}

TEST(MatchList, MarksPrefixMatchesBothWays) {
    MatchList list;
    list.Replace({L"Acme Tools", L"Q123456", L"KB2"});
    EXPECT_EQ(list.MarkFor(L"acme tools 4.2"), L" *");
    EXPECT_EQ(list.MarkFor(L"Acme"), L" *");
    EXPECT_EQ(list.MarkFor(L"Windows XP Hotfix Q123456 (SP2)"), L" *");
    EXPECT_EQ(list.MarkFor(L"Windows XP Hotfix Q999999"), L"");
    EXPECT_EQ(list.MarkFor(L""), L"");
    EXPECT_EQ(list.MarkFor(L"Beta"), L"");
}

} // namespace
} // namespace vantrel::test
