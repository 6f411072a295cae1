#include "shell/settings.h"

#include "engine/web_lookup.h"
#include "sources/registry.h"
#include "sources/registry_text.h"
#include "views/markers.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace vantrel {
namespace {

std::wstring SettingOr(Registry& registry, std::wstring_view name, std::wstring_view fallback) {
    std::wstring value = ReadSetting(registry, name);
    return value.empty() ? std::wstring(fallback) : value;
}

} // namespace

std::wstring ReadSetting(Registry& registry, std::wstring_view name) {
    std::wstring value = registry.ReadValue(L"", RootKey::FromPath, kSettingsKey, name);
    if (value == kValueMissing || value == kKeyMissing || value == kNotConnected)
        value.clear();
    return value;
}

std::wstring KbSearchAddress(Registry& registry) {
    return SettingOr(registry, L"KBSearchAddress", kKnowledgeBaseSearchAddress);
}

int ParallelReads(Registry& registry) {
    constexpr std::uint64_t kDefault = 16;
    constexpr std::uint64_t kMost = 64;
    const auto number =
        ParseUnsigned(ReadSetting(registry, L"ParallelReads"), std::numeric_limits<std::uint64_t>::max());
    return static_cast<int>(std::clamp<std::uint64_t>(number.value_or(kDefault), 1, kMost));
}

std::wstring PciLookupAddress(Registry& registry) {
    return SettingOr(registry, L"PciLookupAddress", L"https://pciids.sourceforge.net");
}

} // namespace vantrel
