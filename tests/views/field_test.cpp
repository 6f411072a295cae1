#include "views/field.h"

#include <gtest/gtest.h>

namespace vantrel {
namespace {

TEST(GetField, CommaFieldsAreTrimmedAndCountedFromZero) {
    EXPECT_EQ(GetField(L" a , b ,c", L",", 0), L"a");
    EXPECT_EQ(GetField(L" a , b ,c", L",", 1), L"b");
    EXPECT_EQ(GetField(L" a , b ,c", L",", 2), L"c");
    EXPECT_EQ(GetField(L" a , b ,c", L",", 3), L"");
    EXPECT_EQ(GetField(L"a,b", L",", -1), L"");
}

TEST(GetField, LastFieldRunsToTheEnd) {
    EXPECT_EQ(GetField(L"a,b", L",", 1), L"b");
    EXPECT_EQ(GetField(L"a,", L",", 1), L"");
    EXPECT_EQ(GetField(L"", L",", 0), L"");
}

TEST(GetField, QuotedSeparatorsDoNotSplitAndQuotesStay) {
    EXPECT_EQ(GetField(L"a,\"b,c\",d", L",", 0), L"a");
    EXPECT_EQ(GetField(L"a,\"b,c\",d", L",", 1), L"\"b,c\"");
    EXPECT_EQ(GetField(L"a,\"b,c\",d", L",", 2), L"d");
    EXPECT_EQ(GetField(L"x\"1|2\"y|z", L"|", 1), L"z");
}

TEST(GetField, UnclosedQuoteProtectsNothing) {
    EXPECT_EQ(GetField(L"a,\"b,c", L",", 1), L"\"b");
    EXPECT_EQ(GetField(L"a,\"b,c", L",", 2), L"c");
    // The pair is the first two quotes; the third opens nothing.
    EXPECT_EQ(GetField(L"\"a,b\",\"c,d", L",", 1), L"\"c");
}

TEST(GetField, RunOfBlanksIsOneSeparator) {
    EXPECT_EQ(GetField(L"first   second", L" ", 1), L"second");
    EXPECT_EQ(GetField(L"first   second  third", L" ", 2), L"third");
    EXPECT_EQ(GetField(L" word", L" ", 0), L"");
    EXPECT_EQ(GetField(L" word", L" ", 1), L"word");
    // Only the single blank collapses: a two-character separator is matched as it stands.
    EXPECT_EQ(GetField(L"a,,,b", L",", 1), L"");
    EXPECT_EQ(GetField(L"a,,,b", L",", 3), L"b");
}

TEST(GetField, EqualsSeparatorGivesTheRestAsFieldOne) {
    EXPECT_EQ(GetField(L"k=v=w", L"=", 0), L"k");
    EXPECT_EQ(GetField(L"k=v=w", L"=", 1), L"v=w");
    EXPECT_EQ(GetField(L"k=v=w", L"=", 2), L"w");
    EXPECT_EQ(GetField(L"\"a=b\"=c", L"=", 1), L"c");
    EXPECT_EQ(GetField(L"novalue", L"=", 1), L"");
}

TEST(GetField, MultiCharacterAndUnusualSeparators) {
    EXPECT_EQ(GetField(L"a::b::c", L"::", 2), L"c");
    EXPECT_EQ(GetField(std::wstring(L"x\0y\0", 4), std::wstring(L"\0", 1), 1), L"y");
    EXPECT_EQ(GetField(L"a\"b\"c", L"\"", 1), L"b");
    EXPECT_EQ(GetField(L"whole", L"", 0), L"whole");
    EXPECT_EQ(GetField(L"whole", L"", 1), L"");
}

TEST(SplitFields, AgreesWithGetFieldForEveryField) {
    const std::wstring samples[] = {L"a,\"b,c\",d", L" x , ,\"y",      L"", L",", L"a\"\",b",
                                    L"\"\"\"\",\"", L"  lead  trail  "};
    for (const std::wstring& text : samples) {
        for (const std::wstring_view separator : {L",", L" ", L"|"}) {
            const auto fields = SplitFields(text, separator);
            for (size_t n = 0; n < fields.size(); ++n)
                EXPECT_EQ(fields[n], GetField(text, separator, static_cast<int>(n))) << text;
            EXPECT_EQ(GetField(text, separator, static_cast<int>(fields.size())), L"") << text;
        }
    }
}

TEST(TrimBlanks, RemovesOnlyBlanks) {
    EXPECT_EQ(TrimBlanks(L"  a b  "), L"a b");
    EXPECT_EQ(TrimBlanks(L"\ta\t"), L"\ta\t");
    EXPECT_EQ(TrimBlanks(L"   "), L"");
}

} // namespace
} // namespace vantrel
