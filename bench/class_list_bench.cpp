// The class list over the Wine prefix's real registry (Wine's own classes and the demo ones), in the detailed
// list, which reads every class with a type library as well as the controls, and in the standard list: time,
// rows, the classes looked at and the share spent letting window messages run.
#include "headless_host.h"

#include <windows.h>

#include <cstdio>

namespace {

using namespace bench;

// The classes of the prefix, counted straight from Windows.
DWORD ClassKeyCount() {
    HKEY classes = nullptr;
    DWORD count = 0;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Classes\\CLSID", 0, KEY_READ, &classes) !=
        ERROR_SUCCESS)
        return 0;
    RegQueryInfoKeyW(classes, nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr, nullptr, nullptr,
                     nullptr, nullptr);
    RegCloseKey(classes);
    return count;
}

struct ClassListFill {
    double seconds = 0;
    double eventSeconds = 0;
    int rows = 0;
};

ClassListFill FillClassList(BenchServices& services, int listMode) {
    HeadlessHost host;
    host.listMode = listMode;
    vantrel::View view(services.ForViews(), host, 15);
    view.viewKind = vantrel::ViewKind::ClassList;
    const auto start = Clock::now();
    view.fillflex();
    return {Seconds(start), host.eventSeconds, view.rowCount};
}

} // namespace

int main() {
    // A window of our own, so that letting messages run works as it does in the program.
    const HWND window = CreateWindowExW(0, L"STATIC", L"bench", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                                        nullptr, GetModuleHandleW(nullptr), nullptr);
    BenchServices services;
    const ClassListFill detailed = FillClassList(services, 1);
    const ClassListFill standard = FillClassList(services, 0);

    std::printf("class_list_classes: %lu\n", ClassKeyCount());
    std::printf("class_list_fill_time: %.3f s\n", detailed.seconds);
    std::printf("class_list_rows: %d\n", detailed.rows);
    std::printf("class_list_event_share: %.1f %%\n", 100.0 * detailed.eventSeconds / detailed.seconds);
    std::printf("class_list_standard_fill_time: %.3f s\n", standard.seconds);
    std::printf("class_list_standard_rows: %d\n", standard.rows);
    DestroyWindow(window);
    return detailed.rows > 0 ? 0 : 1;
}
