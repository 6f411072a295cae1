#include "sources/unicode_text.h"

#include <type_traits>
#include <utility>

namespace vantrel {
namespace {

constexpr char32_t kReplacement = kReplacementCharacter;

// The code point whose UTF-8 sequence starts at `at`, and how many bytes it took; a byte that starts no
// well-formed sequence (a stray continuation byte, a sequence cut short, an overlong form, a surrogate or a
// code point beyond U+10FFFF) is one U+FFFD of its own, so the decoding goes on at the next byte.
std::pair<char32_t, size_t> DecodeOne(std::string_view bytes, size_t at) {
    const auto lead = static_cast<unsigned char>(bytes[at]);
    if (lead < 0x80)
        return {lead, 1};
    size_t length = 0;
    char32_t c = 0;
    char32_t smallest = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2, c = lead & 0x1F, smallest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, c = lead & 0x0F, smallest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, c = lead & 0x07, smallest = 0x10000;
    } else {
        return {kReplacement, 1};
    }
    if (at + length > bytes.size())
        return {kReplacement, 1};
    for (size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(bytes[at + i]);
        if ((next & 0xC0) != 0x80)
            return {kReplacement, 1};
        c = (c << 6) | (next & 0x3F);
    }
    if (c < smallest || c > kLastCodePoint || IsSurrogate(c))
        return {kReplacement, 1};
    return {c, length};
}

} // namespace

std::wstring FromUtf8(std::string_view bytes) {
    std::wstring text;
    text.reserve(bytes.size());
    for (size_t at = 0; at < bytes.size();) {
        const auto [c, length] = DecodeOne(bytes, at);
        AppendCodePoint(text, c);
        at += length;
    }
    return text;
}

void AppendUtf8AsUtf16(std::string_view bytes, std::wstring& out) {
    for (size_t at = 0; at < bytes.size();) {
        const auto [c, length] = DecodeOne(bytes, at);
        if (c >= 0x10000) {
            out += static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10));
            out += static_cast<wchar_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            out += static_cast<wchar_t>(c);
        }
        at += length;
    }
}

char32_t NextCodePoint(std::wstring_view text, size_t& i) {
    const auto unit = static_cast<char32_t>(static_cast<std::make_unsigned_t<wchar_t>>(text[i++]));
    if (unit >= 0xD800 && unit <= 0xDBFF) {
        if (i < text.size()) {
            const auto low = static_cast<char32_t>(static_cast<std::make_unsigned_t<wchar_t>>(text[i]));
            if (low >= 0xDC00 && low <= 0xDFFF) {
                ++i;
                return 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
            }
        }
        return kNotACharacter;
    }
    if ((unit >= 0xDC00 && unit <= 0xDFFF) || unit > 0x10FFFF)
        return kNotACharacter;
    return unit;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

void AppendCodePoint(std::wstring& out, char32_t c) {
    if constexpr (sizeof(wchar_t) == 2) {
        if (c >= 0x10000) {
            out += static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10));
            out += static_cast<wchar_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
            return;
        }
    }
    out += static_cast<wchar_t>(c);
}

std::string ToUtf8(std::wstring_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const char32_t c = NextCodePoint(text, i);
        AppendUtf8(out, c == kNotACharacter ? kReplacement : c);
    }
    return out;
}

} // namespace vantrel
