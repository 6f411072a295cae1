#include "engine/match_list.h"

#include "engine/text.h"

#include <algorithm>

namespace vantrel {

std::wstring MatchList::MarkFor(std::wstring_view value) const {
    std::wstring text = LowerCase(value);
    if (text.starts_with(L"windows xp")) {
        if (const size_t q = text.find(L'q'); q != std::wstring::npos)
            text = text.substr(q, 7);
    }
    if (text.empty())
        return {};
    for (const std::wstring& entry : entries_) {
        const size_t length = std::min(entry.size(), text.size());
        if (text.compare(0, length, LowerCase(std::wstring_view(entry).substr(0, length))) == 0)
            return L" *";
    }
    return {};
}

} // namespace vantrel
