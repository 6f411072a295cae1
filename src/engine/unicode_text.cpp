#include "engine/unicode_text.h"

#include <type_traits>

namespace vantrel {

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
        AppendUtf8(out, c == kNotACharacter ? U'\uFFFD' : c);
    }
    return out;
}

} // namespace vantrel
