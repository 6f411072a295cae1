// Exports of a view's whole grid: a header and 15,000 rows of 10 columns like those of an installed-software
// view (names, versions, sizes, dates, paths, GUIDs, some cells empty). One function per figure, each on
// the same grid.
#include "bench_clock.h"
#include "engine/clipboard_text.h"
#include "engine/grid_model.h"
#include "platform/clipboard.h"
#include "platform/xlsx_file.h"

#include <windows.h>

#include <objbase.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

using namespace bench;
using Grid = std::vector<std::vector<std::wstring>>;

constexpr int kRows = 15000;

Grid RealisticGrid() {
    Grid grid;
    grid.reserve(kRows + 1);
    grid.push_back({L"Name", L"Version", L"Publisher", L"Size", L"Installed", L"Location", L"Uninstall",
                    L"Product code", L"Language", L"Comments"});
    for (int i = 0; i < kRows; ++i) {
        const std::wstring n = std::to_wstring(i);
        const std::wstring vendor = L"Vendor " + std::to_wstring(i % 97);
        wchar_t guid[40];
        std::swprintf(guid, 40, L"{%08X-1234-4ABC-9DEF-%012X}", 0x5A000000u + i, 0x100000u + i * 7);
        grid.push_back({
            L"Product " + n + L" & Tools",
            std::to_wstring(i % 9) + L"." + std::to_wstring(i % 31) + L"." + std::to_wstring(i % 7),
            vendor + L" Ltd.",
            std::to_wstring(1024 + i * 37),
            L"2024" + std::wstring(i % 10 < 5 ? L"03" : L"11") + std::to_wstring(10 + i % 18),
            L"C:\\Program Files\\" + vendor + L"\\Product " + n + L"\\",
            L"MsiExec.exe /X" + std::wstring(guid),
            guid,
            i % 3 == 0 ? L"1033" : L"",
            i % 5 == 0 ? L"Installed by <setup> for \"all users\"" : L"",
        });
    }
    return grid;
}

std::wstring TempPath(const wchar_t* name) {
    wchar_t folder[MAX_PATH]{};
    GetTempPathW(MAX_PATH, folder);
    return std::wstring(folder) + name;
}

// "&Copy " after "&Select all": the whole grid's text built and put on the clipboard.
double ExportCopyTime(const Grid& grid) {
    vantrel::GridModel model;
    model.SetRows(static_cast<int>(grid.size()));
    model.SetCols(static_cast<int>(grid[0].size()) + 1); // and the row numbers
    for (size_t r = 0; r < grid.size(); ++r) {
        model.SetTextMatrix(static_cast<int>(r), 0, r == 0 ? L"" : std::to_wstring(r));
        for (size_t c = 0; c < grid[r].size(); ++c)
            model.SetTextMatrix(static_cast<int>(r), static_cast<int>(c) + 1, grid[r][c]);
    }
    const auto start = Clock::now();
    model.SetRow(0); // selectall
    model.SetCol(0);
    model.SetRowSel(model.Rows() - 1);
    model.SetColSel(model.Cols() - 1);
    const bool copied = vantrel::SetClipboardText(nullptr, vantrel::Copy2clipText(model));
    const double seconds = Seconds(start);
    if (!copied)
        std::fprintf(stderr, "export_copy: the clipboard could not be had\n");
    return copied ? seconds : -1;
}

// The .xlsx workbook written where Excel is absent: the grid built into XML, packed and written.
double ExportWorkbookTime(const Grid& grid) {
    const std::wstring path = TempPath(L"vantrel bench export.xlsx");
    const auto start = Clock::now();
    const vantrel::WriteResult written = vantrel::WriteWorkbook(path, {{L"Vantrel1", grid}});
    const double seconds = Seconds(start);
    DeleteFileW(path.c_str());
    if (!written)
        std::fprintf(stderr, "export_workbook: error 0x%08X\n",
                     static_cast<unsigned>(written.error().systemError));
    return written ? seconds : -1;
}

} // namespace

int main() {
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)))
        return 1;
    const Grid grid = RealisticGrid();
    const double copy = ExportCopyTime(grid);
    std::printf("export_copy_time: %.0f ms\n", copy * 1000);
    const double workbook = ExportWorkbookTime(grid);
    std::printf("export_workbook_time: %.3f s\n", workbook);
    CoUninitialize();
    return copy >= 0 && workbook >= 0 ? 0 : 1;
}
