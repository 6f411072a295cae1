#include "sources/registry_text.h"

#include "views/field.h"

#include <limits>

namespace vantrel {
namespace {

bool IsStringType(std::uint32_t type) {
    return type == regtype::kSz || type == regtype::kExpandSz || type == regtype::kMultiSz;
}

std::uint64_t LittleEndian(const std::vector<std::uint8_t>& bytes, size_t count) {
    std::uint64_t value = 0;
    for (size_t i = count; i-- > 0;)
        value = (value << 8) | bytes[i];
    return value;
}

std::wstring Utf16Text(const std::vector<std::uint8_t>& bytes) {
    std::wstring text;
    text.reserve(bytes.size() / 2 + 1);
    size_t i = 0;
    for (; i + 1 < bytes.size(); i += 2)
        text += static_cast<wchar_t>(bytes[i] | (bytes[i + 1] << 8));
    if (i < bytes.size()) // an odd last byte is kept, not lost
        text += static_cast<wchar_t>(bytes[i]);
    if (!text.empty() && text.back() == L'\0')
        text.pop_back();
    return text;
}

std::vector<std::uint8_t> Utf16Data(std::wstring_view text, bool terminate) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve((text.size() + 1) * 2);
    for (const wchar_t c : text) {
        bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>((c >> 8) & 0xFF));
    }
    if (terminate)
        bytes.insert(bytes.end(), {0, 0});
    return bytes;
}

std::vector<std::uint8_t> LittleEndianBytes(std::uint64_t value, size_t count) {
    std::vector<std::uint8_t> bytes(count);
    for (size_t i = 0; i < count; ++i)
        bytes[i] = static_cast<std::uint8_t>(value >> (8 * i));
    return bytes;
}

} // namespace

std::wstring RegistryText(const RegistryData& data) {
    if (IsStringType(data.type))
        return Utf16Text(data.bytes);
    if (data.type == regtype::kDword && data.bytes.size() >= 4)
        return std::to_wstring(LittleEndian(data.bytes, 4));
    if (data.type == regtype::kQword && data.bytes.size() >= 8)
        return std::to_wstring(LittleEndian(data.bytes, 8));
    return std::wstring(data.bytes.begin(), data.bytes.end());
}

std::optional<std::uint64_t> ParseUnsigned(std::wstring_view text, std::uint64_t max) {
    text = TrimBlanks(text);
    if (text.empty())
        return std::nullopt;
    std::uint64_t value = 0;
    for (const wchar_t c : text) {
        if (c < L'0' || c > L'9')
            return std::nullopt;
        const std::uint64_t digit = static_cast<std::uint64_t>(c - L'0');
        if (value > (max - digit) / 10)
            return std::nullopt;
        value = value * 10 + digit;
    }
    return value;
}

std::optional<RegistryData> RegistryDataFromText(std::wstring_view text, std::uint32_t type) {
    switch (type) {
    case regtype::kSz:
    case regtype::kExpandSz:
        return RegistryData{type, Utf16Data(text, true)};
    case regtype::kMultiSz:
        return RegistryData{type, Utf16Data(text, false)};
    case regtype::kDword:
        if (const auto value = ParseUnsigned(text, std::numeric_limits<std::uint32_t>::max()))
            return RegistryData{type, LittleEndianBytes(*value, 4)};
        return std::nullopt;
    case regtype::kQword:
        if (const auto value = ParseUnsigned(text, std::numeric_limits<std::uint64_t>::max()))
            return RegistryData{type, LittleEndianBytes(*value, 8)};
        return std::nullopt;
    default: {
        RegistryData data{type, {}};
        data.bytes.reserve(text.size());
        for (const wchar_t c : text)
            data.bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
        return data;
    }
    }
}

} // namespace vantrel
