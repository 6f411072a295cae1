#include "views/field.h"

namespace vantrel {
namespace {

constexpr wchar_t kQuote = L'"';

class FieldScanner {
public:
    FieldScanner(std::wstring_view text, std::wstring_view separator)
        : text_(text), separator_(separator),
          quotesProtect_(separator.find(kQuote) == std::wstring_view::npos), blankRuns_(separator == L" ") {}

    // Position where the field that starts at `start` ends: the start of the next separator, or the end.
    size_t FieldEnd(size_t start) const {
        size_t i = start;
        while (i < text_.size()) {
            if (quotesProtect_ && text_[i] == kQuote) {
                const size_t closing = text_.find(kQuote, i + 1);
                if (closing != std::wstring_view::npos) {
                    i = closing + 1;
                    continue;
                }
            }
            if (text_.substr(i).starts_with(separator_))
                return i;
            ++i;
        }
        return text_.size();
    }

    // Start of the field after the separator found at `separatorStart`.
    size_t NextFieldStart(size_t separatorStart) const {
        size_t next = separatorStart + separator_.size();
        if (blankRuns_)
            while (next < text_.size() && text_[next] == L' ')
                ++next;
        return next;
    }

    bool AtEnd(size_t position) const { return position >= text_.size(); }

private:
    std::wstring_view text_;
    std::wstring_view separator_;
    bool quotesProtect_;
    bool blankRuns_;
};

} // namespace

std::wstring_view TrimBlanks(std::wstring_view text) {
    const size_t first = text.find_first_not_of(L' ');
    if (first == std::wstring_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(L' ') - first + 1);
}

std::wstring GetField(std::wstring_view text, std::wstring_view separator, int n) {
    if (n < 0)
        return {};
    if (separator.empty())
        return n == 0 ? std::wstring(TrimBlanks(text)) : std::wstring();

    const FieldScanner scanner(text, separator);
    size_t start = 0;
    for (int field = 0;; ++field) {
        const size_t end = scanner.FieldEnd(start);
        if (field == n)
            return std::wstring(TrimBlanks(text.substr(start, end - start)));
        if (scanner.AtEnd(end))
            return {};
        if (separator == L"=" && n == 1)
            return std::wstring(TrimBlanks(text.substr(end + 1)));
        start = scanner.NextFieldStart(end);
    }
}

std::vector<std::wstring> SplitFields(std::wstring_view text, std::wstring_view separator) {
    if (separator.empty())
        return {std::wstring(TrimBlanks(text))};
    const FieldScanner scanner(text, separator);
    std::vector<std::wstring> fields;
    size_t start = 0;
    for (;;) {
        const size_t end = scanner.FieldEnd(start);
        fields.emplace_back(TrimBlanks(text.substr(start, end - start)));
        if (scanner.AtEnd(end))
            return fields;
        start = scanner.NextFieldStart(end);
    }
}

} // namespace vantrel
