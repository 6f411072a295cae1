// Substitution of the tokens of data expressions, headers, titles and conditions: the data variable, values
// of other columns of the row, and environment variables.
#include "engine/text.h"
#include "engine/view.h"
#include "sources/packed_guid.h"
#include "views/field.h"
#include "views/order.h"

namespace vantrel {
namespace {

constexpr std::wstring_view kDataVariableToken = L"%%";
constexpr std::wstring_view kPackedDataVariableToken = L"%{%";
constexpr std::wstring_view kDataVariablePrompt = L"Enter the data variable:";

bool NamesDataVariable(std::wstring_view text) {
    return text.find(kDataVariableToken) != std::wstring_view::npos ||
           text.find(kPackedDataVariableToken) != std::wstring_view::npos;
}

} // namespace

bool View::MayAskDataVariable() const {
    if (!dataVariable.empty() || state_ != ViewState::Filling)
        return false;
    for (const int k : colMap) {
        if (k <= 0)
            continue;
        if (NamesDataVariable(columns.column(k).condition))
            return true;
        // The column's data, and that of the columns an empty value falls back to ("!*").
        for (int j = k; j > 0; --j) {
            const std::wstring& data = columns.column(j).data;
            if (NamesDataVariable(data))
                return true;
            if (!data.ends_with(L"!*"))
                break;
        }
    }
    return false;
}

std::wstring View::StrCVar(std::wstring text) {
    if (text.find(L'%') == std::wstring::npos)
        return text;
    if (NamesDataVariable(text)) {
        // Asked once per window; after an empty answer the fill is stopping, and nobody is asked again.
        if (dataVariable.empty() && state_ != ViewState::StopRequested) {
            dataVariable = host_.AskText(kDataVariablePrompt);
            if (dataVariable.empty())
                state_ = ViewState::StopRequested;
        }
        ReplaceFirst(text, kDataVariableToken, dataVariable);
        ReplaceFirst(text, kPackedDataVariableToken, PackedGuid(dataVariable));
    }
    return StrEVar(StrVVar(std::move(text)));
}

std::wstring View::StrVVar(std::wstring text) const {
    size_t p = text.find(L'%');
    while (p != std::wstring::npos) {
        const auto at = [&](size_t offset) {
            return p + offset < text.size() ? text[p + offset] : L'\0';
        };
        // The search goes on after an inserted value: a value is not substituted again, so a value that
        // holds a token of its own cannot make the text grow without end.
        size_t resume = p + 1;
        // %n%: the value of column n in this row.
        if (const int n = DigitValue(at(1)); at(2) == L'%' && n >= 0) {
            const std::wstring& value = rowValues[static_cast<size_t>(n)];
            text.replace(p, 3, value);
            resume = p + value.size();
        }
        // %n~c~m%: field m of the value of column n, split at c.
        if (const int n = DigitValue(at(1)); at(2) == L'~' && at(4) == L'~' && at(6) == L'%' && n >= 0) {
            const wchar_t separator = at(3);
            const int m = at(5) >= L'0' && at(5) <= L'9' ? at(5) - L'0' : 0;
            const std::wstring value = GetField(rowValues[static_cast<size_t>(n)], {&separator, 1}, m);
            text.replace(p, 7, value);
            resume = p + value.size();
        }
        p = text.find(L'%', resume);
    }
    return text;
}

std::wstring View::StrEVar(std::wstring text) const {
    size_t p = text.find(L'%');
    while (p != std::wstring::npos) {
        const size_t q = text.find(L'%', p + 2);
        if (q == std::wstring::npos) {
            p = text.find(L'%', p + 1);
            continue;
        }
        const std::wstring value =
            services_.environment.Variable(std::wstring_view(text).substr(p + 1, q - p - 1));
        text.replace(p, q - p + 1, value);
        // Go on after the inserted value: it is not scanned again, and no text after it is skipped.
        p = text.find(L'%', p + value.size());
    }
    return text;
}

std::wstring View::PlDat(int j) {
    if (j < 0)
        return {};
    std::wstring data = columns.column(j).data;
    if (data.ends_with(L"!*"))
        data.resize(data.size() - 2);
    if (data.find(L'%') != std::wstring::npos)
        data = StrCVar(std::move(data));
    return data;
}

} // namespace vantrel
