#include "shell/settings.h"

#include "engine/web_lookup.h"
#include "sources/registry.h"
#include "views/markers.h"

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

std::wstring PciLookupAddress(Registry& registry) {
    return SettingOr(registry, L"PciLookupAddress", L"https://pciids.sourceforge.net");
}

} // namespace vantrel
