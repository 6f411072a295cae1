#include "sources/export_text.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

namespace vantrel {
namespace {

constexpr std::array<std::uint8_t, 2> kUtf16Mark = {0xFF, 0xFE};
constexpr std::array<std::uint8_t, 3> kUtf8Mark = {0xEF, 0xBB, 0xBF};
constexpr wchar_t kReplacement = 0xFFFD;

// Windows-1252 differs from Latin-1 only here; its five unassigned bytes map to the control characters of the
// same number, as MultiByteToWideChar maps them.
constexpr std::array<std::uint16_t, 32> kWindows1252From80 = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

bool StartsWith(std::span<const std::uint8_t> bytes, std::span<const std::uint8_t> mark) {
    return bytes.size() >= mark.size() && std::equal(mark.begin(), mark.end(), bytes.begin());
}

std::wstring FromUtf16(std::span<const std::uint8_t> bytes) {
    std::wstring text;
    const size_t count = bytes.size() / 2;
    // The count the operation is handed is not trusted: libstdc++ 12 hands it the capacity it grew the string
    // to, which for a short text is more than was asked, and the file has no bytes for that much.
    text.resize_and_overwrite(count, [&](wchar_t* units, size_t) {
        // Where wchar_t is UTF-16 in the file's byte order (Windows) the bytes are the text as they are.
        if constexpr (sizeof(wchar_t) == 2 && std::endian::native == std::endian::little) {
            std::memcpy(units, bytes.data(), count * 2);
        } else {
            for (size_t i = 0; i < count; ++i)
                units[i] = static_cast<wchar_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
        }
        return count;
    });
    return text;
}

void AppendCodePoint(std::wstring& text, std::uint32_t point) {
    if (point < 0x10000) {
        text += static_cast<wchar_t>(point);
        return;
    }
    point -= 0x10000;
    text += static_cast<wchar_t>(0xD800 + (point >> 10));
    text += static_cast<wchar_t>(0xDC00 + (point & 0x3FF));
}

std::wstring FromUtf8(std::span<const std::uint8_t> bytes) {
    std::wstring text;
    text.reserve(bytes.size());
    size_t i = 0;
    while (i < bytes.size()) {
        const std::uint8_t lead = bytes[i];
        if (lead < 0x80) {
            text += static_cast<wchar_t>(lead);
            ++i;
            continue;
        }
        const size_t length = lead >= 0xF0 && lead <= 0xF4 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
        std::uint32_t point = length == 4 ? lead & 0x07u : length == 3 ? lead & 0x0Fu : lead & 0x1Fu;
        size_t taken = 1;
        while (length != 0 && taken < length && i + taken < bytes.size() && (bytes[i + taken] & 0xC0) == 0x80)
            point = (point << 6) | (bytes[i + taken++] & 0x3Fu);
        // Overlong forms, surrogates and points beyond Unicode are no characters either.
        const bool whole = length != 0 && taken == length && !(length == 3 && point < 0x800) &&
                           !(length == 4 && (point < 0x10000 || point > 0x10FFFF)) &&
                           !(point >= 0xD800 && point <= 0xDFFF);
        if (whole) {
            AppendCodePoint(text, point);
            i += taken;
        } else {
            text += kReplacement;
            ++i;
        }
    }
    return text;
}

} // namespace

wchar_t AnsiCharacter(std::uint8_t byte) {
    return byte >= 0x80 && byte < 0xA0 ? static_cast<wchar_t>(kWindows1252From80[byte - 0x80])
                                       : static_cast<wchar_t>(byte);
}

std::wstring DecodeExportText(std::span<const std::uint8_t> bytes) {
    if (StartsWith(bytes, kUtf16Mark))
        return FromUtf16(bytes.subspan(kUtf16Mark.size()));
    if (StartsWith(bytes, kUtf8Mark))
        return FromUtf8(bytes.subspan(kUtf8Mark.size()));
    std::wstring text(bytes.size(), L'\0');
    for (size_t i = 0; i < bytes.size(); ++i)
        text[i] = AnsiCharacter(bytes[i]);
    return text;
}

} // namespace vantrel
