#include "sources/registry_names.h"

#include <cstdint>

namespace vantrel {

// The registry upper-cases through a table of the whole of Unicode; these are the alphabets whose names we
// meet in practice. The C library's towupper would not do: in the "C" locale of a native run it maps ASCII
// only.
wchar_t RegistryUpperCase(wchar_t c) {
    const auto u = static_cast<std::uint32_t>(c);
    if (u < 0x80)
        return u >= 'a' && u <= 'z' ? static_cast<wchar_t>(u - 0x20) : c;
    if (u >= 0xE0 && u <= 0xFE && u != 0xF7)
        return static_cast<wchar_t>(u - 0x20);
    if (u == 0xFF)
        return static_cast<wchar_t>(0x178);
    // Latin Extended-A pairs each capital with the small letter after it, except in two runs where the
    // capital comes second.
    const bool oddCapitals = (u >= 0x139 && u <= 0x148) || (u >= 0x179 && u <= 0x17E);
    if (u >= 0x100 && u <= 0x17E && u != 0x138 && u != 0x149)
        return oddCapitals ? static_cast<wchar_t>(u % 2 == 0 ? u - 1 : u) : static_cast<wchar_t>(u & ~1u);
    if (u >= 0x3B1 && u <= 0x3C9 && u != 0x3C2)
        return static_cast<wchar_t>(u - 0x20);
    if (u >= 0x430 && u <= 0x44F)
        return static_cast<wchar_t>(u - 0x20);
    if (u >= 0x450 && u <= 0x45F)
        return static_cast<wchar_t>(u - 0x50);
    return c;
}

int CompareRegistryNames(std::wstring_view a, std::wstring_view b) {
    const size_t common = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < common; ++i) {
        if (a[i] == b[i])
            continue;
        const auto x = static_cast<std::uint32_t>(RegistryUpperCase(a[i]));
        const auto y = static_cast<std::uint32_t>(RegistryUpperCase(b[i]));
        if (x != y)
            return x < y ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

} // namespace vantrel
