#pragma once
// The registry layer's access to the Windows registry (advapi32), local and through the remote registry
// service. Every key is opened in the 64-bit view, so the program sees what regedit shows whether it runs
// as a 32- or a 64-bit program.
#include "sources/registry_api.h"

namespace vantrel {

class WinRegistryApi final : public RegistryApi {
public:
    RegHandle Root(RootKey root) override;
    std::expected<RegHandle, long> Connect(std::wstring_view computer, RootKey root) override;
    std::expected<RegHandle, long> Open(RegHandle parent, std::wstring_view subkey,
                                        KeyAccess access) override;
    std::expected<RegHandle, long> Create(RegHandle parent, std::wstring_view subkey) override;
    std::expected<RegistryData, long> QueryValue(RegHandle key, std::wstring_view name) override;
    std::expected<std::wstring, long> EnumKey(RegHandle key, std::uint32_t index) override;
    std::expected<RegistryValue, long> EnumValue(RegHandle key, std::uint32_t index) override;
    long SetValue(RegHandle key, std::wstring_view name, const RegistryData& data) override;
    long DeleteValue(RegHandle key, std::wstring_view name) override;
    void Close(RegHandle key) override;
};

} // namespace vantrel
