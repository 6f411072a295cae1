#include "sources/packed_guid.h"

#include "views/order.h"

namespace vantrel {
namespace {

// Output digit i is input digit number DigitValue(kPermutation[i]), counted from 1: the first 8 digits
// reversed, the next two groups of 4 reversed, the remaining 16 swapped in pairs.
constexpr std::wstring_view kPermutation = L"87654321cba9gfedihkjmlonqpsrutwv";
constexpr size_t kDigits = 32;

} // namespace

std::wstring PackedGuid(std::wstring_view text) {
    if (text.size() < kDigits)
        return std::wstring(text);
    const bool braced = text.starts_with(L'{');
    std::wstring digits;
    if (braced) {
        // Characters 2-9, 11-14, 16-19, 21-24 and 26-37 of the braced form.
        for (const auto& [start, length] : {std::pair{1, 8}, {10, 4}, {15, 4}, {20, 4}, {25, 12}})
            digits += text.substr(static_cast<size_t>(start), static_cast<size_t>(length));
        if (digits.size() < kDigits)
            return std::wstring(text);
    } else {
        digits = text.substr(0, kDigits);
    }

    std::wstring permuted(kDigits, L' ');
    for (size_t i = 0; i < kDigits; ++i)
        permuted[i] = digits[static_cast<size_t>(DigitValue(kPermutation[i]) - 1)];
    if (braced)
        return permuted;
    return L"{" + permuted.substr(0, 8) + L"-" + permuted.substr(8, 4) + L"-" + permuted.substr(12, 4) +
           L"-" + permuted.substr(16, 4) + L"-" + permuted.substr(20, 12) + L"}";
}

} // namespace vantrel
