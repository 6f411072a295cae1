#include "bench_keys.h"

#include "bench_clock.h"

#include <windows.h>

#include <psapi.h> // after windows.h, which it needs

#include <cstdio>

namespace bench {
namespace {

void CreateKey(const std::wstring& path, int values) {
    HKEY key = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
    for (int v = 0; v < values; ++v) {
        const std::wstring data = L"Value " + std::to_wstring(v) + L" of " + path;
        RegSetValueExW(key, ValueName(v).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                       static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
    }
    RegCloseKey(key);
}

} // namespace

std::wstring KeyName(int k) {
    wchar_t name[16];
    swprintf(name, 16, L"K%05d", k);
    return name;
}

const std::wstring& ValueName(int v) {
    static const std::wstring names[kValuesPerKey] = {L"V0", L"V1", L"V2", L"V3", L"V4",
                                                      L"V5", L"V6", L"V7", L"V8", L"V9"};
    return names[v];
}

void PrepareKeys() {
    DWORD complete = 0, size = sizeof(complete);
    if (RegGetValueW(HKEY_CURRENT_USER, kBenchKey, L"Complete", RRF_RT_REG_DWORD, nullptr, &complete,
                     &size) == ERROR_SUCCESS &&
        complete == 1)
        return;
    const auto start = Clock::now();
    RegDeleteTreeW(HKEY_CURRENT_USER, kBenchKey);
    const std::wstring flat = std::wstring(kBenchKey) + L"\\Flat\\";
    for (int k = 0; k < kKeys; ++k)
        CreateKey(flat + KeyName(k), kValuesPerKey);
    for (int g = 0; g < kGroups; ++g)
        for (int i = 0; i < kKeys / kGroups; ++i)
            CreateKey(std::wstring(kBenchKey) + L"\\Wild\\G" + std::to_wstring(g) + L"\\Items\\" + KeyName(i),
                      0);
    HKEY key = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER, kBenchKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
    complete = 1;
    RegSetValueExW(key, L"Complete", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&complete),
                   sizeof(complete));
    RegCloseKey(key);
    std::printf("setup_time: %.1f s\n", Seconds(start));
}

double RawPerKeyLoop(int values) {
    const std::wstring base = std::wstring(kBenchKey) + L"\\Flat\\";
    BYTE buffer[400];
    const auto start = Clock::now();
    for (int k = 0; k < kKeys; ++k) {
        HKEY handle = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, (base + KeyName(k)).c_str(), 0, KEY_READ | KEY_WOW64_64KEY,
                          &handle) != ERROR_SUCCESS)
            continue;
        for (int v = 0; v < values; ++v) {
            DWORD type = 0, size = sizeof(buffer);
            RegQueryValueExW(handle, ValueName(v).c_str(), nullptr, &type, buffer, &size);
        }
        RegCloseKey(handle);
    }
    return Seconds(start);
}

double PeakMemoryMegabytes() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
    return static_cast<double>(counters.PeakWorkingSetSize) / (1024.0 * 1024.0);
}

} // namespace bench
