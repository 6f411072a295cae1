#pragma once
// The memory of this process as the benchmarks count it.
#include <windows.h>

#include <psapi.h>

namespace bench {

inline constexpr double kMegabyte = 1024.0 * 1024.0;

// The working set now and its high-water mark, in bytes. The working set is the counter whose peak Windows
// and Wine both keep: Wine answers the peak private bytes (PeakPagefileUsage) with the private bytes of the
// moment, while its PeakWorkingSetSize is the kernel's resident high-water mark. Without a page file and with
// memory to spare (as on the test machines) every page the program touched stays resident, so the working set
// counts what a fill allocated.
struct WorkingSet {
    double bytes = 0;
    double peakBytes = 0;
};

inline WorkingSet WorkingSetNow() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters)))
        return {};
    return {static_cast<double>(counters.WorkingSetSize), static_cast<double>(counters.PeakWorkingSetSize)};
}

} // namespace bench
