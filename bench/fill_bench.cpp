// The fill of a view over 15,000 keys with 10 columns, against the raw registry loop that opens each key
// once and reads the same values: time, items per second, the share spent letting window messages run,
// and peak memory. Sorting and painting are not part of it.
#include "bench_keys.h"
#include "engine/view.h"
#include "headless_host.h"

#include <windows.h>

#include <cstdio>

namespace {

using namespace bench;

std::wstring BenchDefinition() {
    std::wstring definition =
        L"HKCU\\" + std::wstring(kBenchKey) + L"\\Flat,0123456789a,0123456789a,Bench,|100,<key>,Key";
    for (int v = 0; v < kValuesPerKey; ++v)
        definition += L"|100," + ValueName(v) + L"," + ValueName(v);
    return definition;
}

} // namespace

int main() {
    PrepareKeys();
    // A window of our own, so that letting messages run works as it does in the program.
    const HWND window = CreateWindowExW(0, L"STATIC", L"bench", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                                        nullptr, GetModuleHandleW(nullptr), nullptr);

    BenchServices services;
    services.matchList.Replace({L"preloaded"}); // the match list load is not part of a fill's cost
    HeadlessHost host;
    vantrel::View view(services.ForViews(), host, 15);
    view.definition = BenchDefinition();

    const auto start = Clock::now();
    view.fillflex();
    const double fill = Seconds(start);
    const double raw = RawPerKeyLoop(kValuesPerKey);

    std::printf("fill_rows: %d\n", view.rowCount);
    std::printf("fill_time: %.2f s\n", fill);
    std::printf("fill_items_per_second: %.0f\n", kKeys / fill);
    std::printf("raw_per_key_loop_time: %.2f s\n", raw);
    std::printf("fill_to_raw_per_key_ratio: %.3f\n", fill / raw);
    std::printf("event_share: %.1f %%\n", 100.0 * host.eventSeconds / fill);
    std::printf("peak_memory: %.1f MB\n", PeakMemoryMegabytes());
    DestroyWindow(window);
    return view.rowCount == kKeys ? 0 : 1;
}
