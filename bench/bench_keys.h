#pragma once
// The benchmark keys in the test prefix: 15,000 keys of 10 string values under
// HKCU\Software\VantrelBench\Flat, and 150 groups of 100 keys under ...\Wild. They stay between runs; a value
// marks them complete.
#include <string>

namespace bench {

inline constexpr int kKeys = 15000;
inline constexpr int kValuesPerKey = 10;
inline constexpr int kGroups = 150;
inline constexpr const wchar_t* kBenchKey = L"Software\\VantrelBench";

std::wstring KeyName(int k);
const std::wstring& ValueName(int v);
void PrepareKeys();
double PeakMemoryMegabytes();
// Seconds of the plainest loop that reads the first `values` values of every flat key: each key opened once.
double RawPerKeyLoop(int values);

} // namespace bench
