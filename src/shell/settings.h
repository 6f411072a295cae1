#pragma once
// Where the program keeps its settings, and the settings an administrator may set by hand.
#include <string>
#include <string_view>

namespace vantrel {

class Registry;

inline constexpr std::wstring_view kSettingsKey = L"HKCU\\Software\\Ostrand\\Kivo";

// A setting as text; empty when it is not set (or the settings cannot be read).
std::wstring ReadSetting(Registry& registry, std::wstring_view name);

// The knowledge-base search page ("KBSearchAddress"), which takes "?kbid=" and an article's six digits.
std::wstring KbSearchAddress(Registry& registry);
// The PCI ID look-up site ("PciLookupAddress"), under which "/iii/?i=" and a vendor number name a page.
std::wstring PciLookupAddress(Registry& registry);

// How many rows a fill of other computers reads at once ("ParallelReads", 1 to 64; 1 reads them one after
// the other).
int ParallelReads(Registry& registry);

} // namespace vantrel
