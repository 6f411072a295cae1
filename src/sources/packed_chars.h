#pragma once
// Text held in as little memory as its characters allow: one byte a character while every character is
// below U+0100 (the usual ini file), UTF-16 once one is not.
#include <cstddef>
#include <string>
#include <string_view>

namespace vantrel {

class PackedChars {
public:
    void Reserve(std::size_t count);
    void Append(std::wstring_view text);
    std::size_t Size() const { return wide_ ? wideChars_.size() : narrowChars_.size(); }
    std::size_t HeldBytes() const;

    // Calls `read` with a view of all the characters, a std::string_view of Latin-1 characters or a
    // std::wstring_view, and answers what it answers.
    template <typename Read> decltype(auto) Visit(Read read) const {
        return wide_ ? read(std::wstring_view(wideChars_)) : read(std::string_view(narrowChars_));
    }

private:
    void Widen();

    bool wide_ = false;
    std::size_t reserved_ = 0;
    std::string narrowChars_;
    std::wstring wideChars_;
};

// A character of either view as UTF-16.
inline wchar_t WideChar(char c) {
    return static_cast<wchar_t>(static_cast<unsigned char>(c));
}
inline wchar_t WideChar(wchar_t c) {
    return c;
}

template <typename Char> std::wstring WideText(std::basic_string_view<Char> text) {
    std::wstring wide(text.size(), L'\0');
    for (std::size_t n = 0; n < text.size(); ++n)
        wide[n] = WideChar(text[n]);
    return wide;
}

} // namespace vantrel
