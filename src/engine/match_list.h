#pragma once
// One list for the whole program: the texts the mark column matches cell values against. The first fill
// loads it with the names of the locally installed products; the user may replace it.
#include <string>
#include <vector>

namespace vantrel {

class MatchList {
public:
    bool IsLoaded() const { return loaded_; }
    const std::vector<std::wstring>& Entries() const { return entries_; }
    void Replace(std::vector<std::wstring> entries) {
        entries_ = std::move(entries);
        loaded_ = !entries_.empty();
    }
    // The mark a value gets: " *" when a lower-cased prefix of it matches the start of an entry (or the
    // other way round), else nothing. Windows XP update names are matched by their "Q" number.
    std::wstring MarkFor(std::wstring_view value) const;

private:
    std::vector<std::wstring> entries_;
    bool loaded_ = false;
};

} // namespace vantrel
