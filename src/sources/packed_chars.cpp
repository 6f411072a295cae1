#include "sources/packed_chars.h"

#include <algorithm>

namespace vantrel {

void PackedChars::Reserve(std::size_t count) {
    reserved_ = count;
    if (wide_)
        wideChars_.reserve(count);
    else
        narrowChars_.reserve(count);
}

void PackedChars::Append(std::wstring_view text) {
    if (!wide_ && std::ranges::any_of(text, [](wchar_t c) { return c >= 0x100; }))
        Widen();
    if (wide_) {
        wideChars_.append(text);
        return;
    }
    for (const wchar_t c : text)
        narrowChars_ += static_cast<char>(static_cast<unsigned char>(c));
}

void PackedChars::Widen() {
    wideChars_.reserve(std::max(reserved_, narrowChars_.size()));
    for (const char c : narrowChars_)
        wideChars_ += WideChar(c);
    std::string().swap(narrowChars_);
    wide_ = true;
}

std::size_t PackedChars::HeldBytes() const {
    return narrowChars_.capacity() + wideChars_.capacity() * sizeof(wchar_t);
}

} // namespace vantrel
