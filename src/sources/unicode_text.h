#pragma once
// Code points of wide texts (UTF-16 on Windows, UTF-32 elsewhere) and their UTF-8 form.
#include <string>
#include <string_view>

namespace vantrel {

inline constexpr char32_t kNotACharacter = 0xFFFFFFFF;
inline constexpr char32_t kReplacementCharacter = 0xFFFD;
inline constexpr char32_t kLastCodePoint = 0x10FFFF;

constexpr bool IsSurrogate(char32_t c) {
    return c >= 0xD800 && c <= 0xDFFF;
}

// The code point at text[i] (a surrogate pair read whole), moving i past it; kNotACharacter for a lone
// surrogate or a value beyond Unicode.
char32_t NextCodePoint(std::wstring_view text, size_t& i);
void AppendUtf8(std::string& out, char32_t c);
void AppendCodePoint(std::wstring& out, char32_t c);

// The text in UTF-8; what is no character (a lone surrogate) becomes U+FFFD.
std::string ToUtf8(std::wstring_view text);
// UTF-8 bytes as text; a byte that starts no well-formed sequence is one U+FFFD of its own.
std::wstring FromUtf8(std::string_view bytes);
// The same appended to `out` as UTF-16 code units whatever the width of wchar_t: the form a Windows file's
// text takes.
void AppendUtf8AsUtf16(std::string_view bytes, std::wstring& out);

} // namespace vantrel
