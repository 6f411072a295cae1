#include "engine/web_lookup.h"

#include "sources/unicode_text.h"
#include "views/field.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <optional>

namespace vantrel {
namespace {

constexpr size_t kArticleDigits = 6;
constexpr char32_t kReplacement = kReplacementCharacter;

// A referenced character; what is none (a surrogate, NUL, beyond Unicode) is U+FFFD.
void AppendCharacter(std::wstring& text, char32_t c) {
    AppendCodePoint(text, c > kLastCodePoint || IsSurrogate(c) || c == 0 ? kReplacement : c);
}

struct NamedReference {
    std::wstring_view name;
    wchar_t character;
};

// The references page titles use. A non-breaking space is a blank here: the title is shown on one line and
// its blanks are evened out.
constexpr std::array<NamedReference, 6> kNamedReferences = {{
    {L"amp", L'&'},
    {L"lt", L'<'},
    {L"gt", L'>'},
    {L"quot", L'"'},
    {L"apos", L'\''},
    {L"nbsp", L' '},
}};

std::optional<char32_t> NumericReference(std::wstring_view digits) {
    unsigned base = 10;
    if (!digits.empty() && (digits[0] == L'x' || digits[0] == L'X')) {
        base = 16;
        digits.remove_prefix(1);
    }
    if (digits.empty())
        return std::nullopt;
    char32_t value = 0;
    for (const wchar_t d : digits) {
        unsigned digit = 0;
        if (d >= L'0' && d <= L'9')
            digit = static_cast<unsigned>(d - L'0');
        else if (base == 16 && d >= L'a' && d <= L'f')
            digit = static_cast<unsigned>(d - L'a' + 10);
        else if (base == 16 && d >= L'A' && d <= L'F')
            digit = static_cast<unsigned>(d - L'A' + 10);
        else
            return std::nullopt;
        // Anything past the last code point is as wrong as far past it; stopping here keeps it from wrapping.
        value = std::min<char32_t>(value * base + digit, kLastCodePoint + 1);
    }
    return value;
}

// The reference between "&" and ";" as its character; nothing for a text that is no reference we know,
// which then stays as it stands.
std::optional<std::wstring> DecodedReference(std::wstring_view reference) {
    if (reference.starts_with(L'#')) {
        const auto value = NumericReference(reference.substr(1));
        if (!value)
            return std::nullopt;
        std::wstring character;
        AppendCharacter(character, *value);
        return character;
    }
    for (const NamedReference& named : kNamedReferences)
        if (named.name == reference)
            return std::wstring(1, named.character);
    return std::nullopt;
}

// The longest reference we decode: "#x10FFFF" and a few leading zeros.
constexpr size_t kLongestReference = 16;

std::wstring DecodeReferences(std::wstring_view text) {
    std::wstring decoded;
    decoded.reserve(text.size());
    for (size_t at = 0; at < text.size();) {
        if (text[at] == L'&') {
            const size_t end = text.find(L';', at + 1);
            if (end != std::wstring_view::npos && end - at - 1 <= kLongestReference) {
                if (const auto character = DecodedReference(text.substr(at + 1, end - at - 1))) {
                    decoded += *character;
                    at = end + 1;
                    continue;
                }
            }
        }
        decoded += text[at++];
    }
    return decoded;
}

bool IsWhiteSpace(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\n' || c == L'\r' || c == L'\f' || c == L'\v';
}

std::wstring OneLine(std::wstring_view text) {
    std::wstring line;
    line.reserve(text.size());
    bool blankPending = false;
    for (const wchar_t c : text) {
        if (IsWhiteSpace(c)) {
            blankPending = !line.empty();
            continue;
        }
        if (blankPending)
            line += L' ';
        blankPending = false;
        line += c;
    }
    return line;
}

char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Where `tag` ("<title" or "</title", lower case) starts at or after `from` as a whole tag name; npos when
// nowhere.
size_t FindTag(std::string_view page, std::string_view tag, size_t from) {
    for (size_t at = from; at + tag.size() <= page.size(); ++at) {
        const bool same = std::equal(tag.begin(), tag.end(), page.begin() + static_cast<std::ptrdiff_t>(at),
                                     [](char a, char b) { return a == AsciiLower(b); });
        if (!same)
            continue;
        const size_t after = at + tag.size();
        if (after == page.size())
            return std::string_view::npos;
        const char next = page[after];
        if (next == '>' || next == '/' || next == ' ' || next == '\t' || next == '\r' || next == '\n' ||
            next == '\f')
            return at;
    }
    return std::string_view::npos;
}

// The last six characters of the number without the blanks around it (all of a shorter one).
std::wstring_view ArticleDigits(std::wstring_view article) {
    const std::wstring_view number = TrimBlanks(article);
    return number.size() > kArticleDigits ? number.substr(number.size() - kArticleDigits) : number;
}

} // namespace

std::wstring ArticleAddress(std::wstring_view searchAddress, std::wstring_view article) {
    return std::wstring(searchAddress) + L"?kbid=" + std::wstring(ArticleDigits(article));
}

std::wstring HtmlTitle(std::string_view page) {
    const size_t open = FindTag(page, "<title", 0);
    if (open == std::string_view::npos)
        return {};
    const size_t textStart = page.find('>', open);
    if (textStart == std::string_view::npos)
        return {};
    const size_t close = FindTag(page, "</title", textStart + 1);
    if (close == std::string_view::npos)
        return {};
    return OneLine(DecodeReferences(FromUtf8(page.substr(textStart + 1, close - textStart - 1))));
}

std::wstring ArticleCopyText(std::wstring_view finishedNumber, std::wstring_view title) {
    const std::wstring_view digits = ArticleDigits(finishedNumber);
    // "123456 - Title": the digits and the blank after them give way to the number.
    constexpr size_t kReplacedLength = kArticleDigits + 1;
    if (!digits.empty() && title.starts_with(digits))
        return std::wstring(finishedNumber) +
               std::wstring(title.substr(std::min(kReplacedLength, title.size())));
    return std::wstring(finishedNumber) + std::wstring(title);
}

} // namespace vantrel
