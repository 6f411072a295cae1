// The knowledge-base look-up's rules: the article's address, a page's title, the text "&Copy" makes.
#include "engine/web_lookup.h"

#include <gtest/gtest.h>

namespace vantrel {
namespace {

constexpr std::wstring_view kSearch = L"http://kb.example/search";

TEST(ArticleAddress, TheSameSixDigitsWhateverTheNumberLooksLike) {
    for (const wchar_t* article : {L"KB123456", L"Q123456", L"KB123456 ", L" Q123456 "})
        EXPECT_EQ(ArticleAddress(kSearch, article), L"http://kb.example/search?kbid=123456") << article;
    EXPECT_EQ(ArticleAddress(kSearch, L"KB12"), L"http://kb.example/search?kbid=KB12");
}

struct TitleCase {
    const char* page;
    const wchar_t* title;
};

TEST(HtmlTitle, TheFirstTitleAsOneLineOfPlainText) {
    const TitleCase cases[] = {
        {"<html><head><title>123456 - Plain</title></head></html>", L"123456 - Plain"},
        {"<HTML><HEAD><TITLE>Upper case tags</TITLE>", L"Upper case tags"},
        {"<title lang=\"en\" dir='ltr'>With attributes</title >", L"With attributes"},
        {"<title>\r\n\t 123456  -\n  Spread\tover   lines \r\n</title>", L"123456 - Spread over lines"},
        {"<title>A &amp; B &lt;C&gt; &quot;D&quot; &#39;E&apos;&nbsp;F</title>", L"A & B <C> \"D\" 'E' F"},
        {"<title>&#65;&#x42;&#X63; &#8364;</title>", L"ABc \u20AC"},
        {"<title>&unknown; &amp &#xZZ; & alone</title>", L"&unknown; &amp &#xZZ; & alone"},
        {"<title>&#0;&#xD800;&#1114112;&#99999999999999;</title>", L"\uFFFD\uFFFD\uFFFD\uFFFD"},
        {"<title>One</title><title>Two</title>", L"One"},
        {"<titles>no</titles><title>Yes</title>", L"Yes"},
        {"<html><body>no title here</body></html>", L""},
        {"<title>never closed", L""},
        {"<title", L""},
        {"<title></title>", L""},
        {"", L""},
    };
    for (const TitleCase& c : cases)
        EXPECT_EQ(HtmlTitle(c.page), c.title) << c.page;
}

TEST(HtmlTitle, ReadsUtf8AndReplacesWhatIsNone) {
    // "Müller – 𝄞": two- and three-byte sequences, and one of four, which Windows holds as a surrogate pair.
    EXPECT_EQ(HtmlTitle("<title>M\xC3\xBCller \xE2\x80\x93 \xF0\x9D\x84\x9E</title>"),
              L"M\u00FCller \u2013 \U0001D11E");
    const TitleCase bad[] = {
        {"<title>a\x80z</title>", L"a\uFFFDz"},                           // a stray continuation byte
        {"<title>a\xC3</title>", L"a\uFFFD"},                             // cut short by the tag
        {"<title>\xC0\xAF</title>", L"\uFFFD\uFFFD"},                     // an overlong "/"
        {"<title>\xED\xA0\x80</title>", L"\uFFFD\uFFFD\uFFFD"},           // a surrogate
        {"<title>\xF4\x90\x80\x80</title>", L"\uFFFD\uFFFD\uFFFD\uFFFD"}, // past U+10FFFF
        {"<title>\xFF\xFE</title>", L"\uFFFD\uFFFD"},
    };
    for (const TitleCase& c : bad)
        EXPECT_EQ(HtmlTitle(c.page), c.title) << c.page;
}

TEST(ArticleCopyText, TheNumberStandsInForTheDigitsThatBeginTheTitle) {
    EXPECT_EQ(ArticleCopyText(L"KB123456 ", L"123456 - Title"), L"KB123456 - Title");
    EXPECT_EQ(ArticleCopyText(L"Q123456 ", L"123456 - Title"), L"Q123456 - Title");
    EXPECT_EQ(ArticleCopyText(L"KB123456 ", L"123456"), L"KB123456 ");
}

TEST(ArticleCopyText, ATitleOfItsOwnComesWhole) {
    EXPECT_EQ(ArticleCopyText(L"KB123456 ", L"Security update for Windows"),
              L"KB123456 Security update for Windows");
    EXPECT_EQ(ArticleCopyText(L"KB123456 ", L"654321 - Another article"),
              L"KB123456 654321 - Another article");
}

} // namespace
} // namespace vantrel
