// Registry layer figures for 15,000 keys of 10 values in the test prefix: ReadValue against the raw API calls
// it makes, and EnumKeys over a flat key and over a wildcard base of the same size.
#include "bench_clock.h"
#include "bench_keys.h"
#include "platform/win_registry.h"
#include "sources/registry.h"

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

using namespace bench;
constexpr int kValuesRead = 8;

double ReadThroughLayer(vantrel::Registry& registry) {
    const std::wstring base = L"HKCU\\" + std::wstring(kBenchKey) + L"\\Flat\\";
    size_t characters = 0;
    const auto start = Clock::now();
    for (int k = 0; k < kKeys; ++k) {
        const std::wstring key = base + KeyName(k);
        for (int v = 0; v < kValuesRead; ++v)
            characters += registry.ReadValue(L"", vantrel::RootKey::FromPath, key, ValueName(v)).size();
    }
    const double seconds = Seconds(start);
    if (characters == 0)
        std::printf("warning: nothing was read\n");
    return seconds;
}

double ReadRawPerValue() {
    const std::wstring base = std::wstring(kBenchKey) + L"\\Flat\\";
    BYTE buffer[400];
    const auto start = Clock::now();
    for (int k = 0; k < kKeys; ++k) {
        const std::wstring key = base + KeyName(k);
        for (int v = 0; v < kValuesRead; ++v) {
            HKEY handle = nullptr;
            if (RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ | KEY_WOW64_64KEY, &handle) !=
                ERROR_SUCCESS)
                continue;
            DWORD type = 0, size = sizeof(buffer);
            RegQueryValueExW(handle, ValueName(v).c_str(), nullptr, &type, buffer, &size);
            RegCloseKey(handle);
        }
    }
    return Seconds(start);
}

} // namespace

int main() {
    PrepareKeys();
    vantrel::WinRegistryApi api;
    vantrel::Registry registry(api);
    constexpr double reads = static_cast<double>(kKeys) * kValuesRead;

    const double layer = ReadThroughLayer(registry);
    const double rawPerValue = ReadRawPerValue();
    const double rawPerKey = RawPerKeyLoop(kValuesRead);
    std::printf("readvalue_time: %.2f s\n", layer);
    std::printf("readvalue_per_value: %.1f us\n", layer / reads * 1e6);
    std::printf("raw_per_value_loop_time: %.2f s\n", rawPerValue);
    std::printf("raw_per_value_loop_per_value: %.1f us\n", rawPerValue / reads * 1e6);
    std::printf("readvalue_to_raw_per_value_ratio: %.3f\n", layer / rawPerValue);
    std::printf("raw_per_key_loop_time: %.2f s\n", rawPerKey);
    std::printf("raw_per_key_loop_per_value: %.1f us\n", rawPerKey / reads * 1e6);

    auto start = Clock::now();
    const auto flat = registry.EnumKeys(L"", vantrel::RootKey::FromPath,
                                        L"HKCU\\" + std::wstring(kBenchKey) + L"\\Flat", true);
    std::printf("enumkeys_flat_time: %.1f ms\n", Seconds(start) * 1e3);
    std::printf("enumkeys_flat_items: %zu\n", flat.size());
    start = Clock::now();
    const auto wild = registry.EnumKeys(L"", vantrel::RootKey::FromPath,
                                        L"HKCU\\" + std::wstring(kBenchKey) + L"\\Wild\\*\\Items", true);
    std::printf("enumkeys_wildcard_time: %.1f ms\n", Seconds(start) * 1e3);
    std::printf("enumkeys_wildcard_items: %zu\n", wild.size());
    return 0;
}
