#pragma once
// The rules of the knowledge-base article look-up: which page to ask for, the title out of the page that
// comes back, and what "&Copy" makes of number and title. The fetching itself is the platform's.
#include <string>
#include <string_view>

namespace vantrel {

// The vendor's knowledge-base search page; the article's query is added to it.
inline constexpr std::wstring_view kKnowledgeBaseSearchAddress =
    L"https://support.microsoft.com/default.aspx";

// `searchAddress` + "?kbid=" + the article's six digits: the last six characters of the number without the
// blanks around it, so "KB123456", "Q123456" and a finished "KB123456 " ask for the same page.
std::wstring ArticleAddress(std::wstring_view searchAddress, std::wstring_view article);

// The text of the page's first <title> element (tags in any case, attributes allowed) as one line: the page
// read as UTF-8 (a byte that is no UTF-8 becomes U+FFFD), character references decoded, every run of white
// space one blank, none around it. Empty when the page has no title.
std::wstring HtmlTitle(std::string_view page);

// What "&Copy" puts on the clipboard: the finished number ("KB123456 ") and the title. The vendor's titles
// begin with the article's six digits and a separator ("123456 - Title"), which the number stands in for;
// a title that does not begin with them comes whole.
std::wstring ArticleCopyText(std::wstring_view finishedNumber, std::wstring_view title);

} // namespace vantrel
