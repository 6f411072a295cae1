// The grid of a filled view, 15,000 rows × 10 columns: sorting by a text and by a numeric column, fitting
// every column to its texts, selecting everything and reading it, and painting one screen.
#include "engine/grid_model.h"
#include "engine/grid_status.h"
#include "ui/grid_window.h"

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRows = 15000;
constexpr int kCols = 11; // the row numbers and 10 data columns
constexpr int kTwipsPerPixel = 15;

double Milliseconds(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void FillModel(vantrel::GridModel& grid) {
    grid.SetCols(kCols);
    grid.SetRows(kRows + 1);
    for (int c = 0; c < kCols; ++c) {
        grid.SetColWidth(c, c == 0 ? 480 : 1500);
        grid.SetTextMatrix(0, c, c == 0 ? L"" : L"Column " + std::to_wstring(c));
    }
    unsigned seed = 12345;
    for (int r = 1; r <= kRows; ++r) {
        grid.SetTextMatrix(r, 0, std::to_wstring(r));
        for (int c = 1; c < kCols; ++c) {
            seed = seed * 1103515245u + 12345u;
            grid.SetTextMatrix(r, c,
                               c == 2 ? std::to_wstring(seed % 100000)
                                      : L"Product " + std::to_wstring(seed % 9973) + L" of vendor " +
                                            std::to_wstring(c));
        }
    }
}

class NoEvents final : public vantrel::GridEvents {};

} // namespace

int main() {
    vantrel::GridModel grid;
    FillModel(grid);
    NoEvents events;
    const HWND host = CreateWindowExW(0, L"STATIC", L"bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 1200,
                                      800, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    auto window = vantrel::GridWindow::Create(host, 1, grid, events, kTwipsPerPixel);
    MoveWindow(window->hwnd(), 0, 0, 1180, 760, TRUE);

    grid.SetCol(1);
    auto start = Clock::now();
    grid.Sort(vantrel::SortOrder::GenericAscending);
    std::printf("sort_text_column: %.1f ms\n", Milliseconds(start));
    grid.SetCol(2);
    start = Clock::now();
    grid.Sort(vantrel::SortOrder::GenericDescending);
    std::printf("sort_numeric_column: %.1f ms\n", Milliseconds(start));

    const HDC dc = GetDC(window->hwnd());
    SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(window->hwnd(), WM_GETFONT, 0, 0)));
    const auto measure = [&](std::wstring_view text) {
        SIZE size{};
        GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &size);
        return size.cx * kTwipsPerPixel;
    };
    start = Clock::now();
    for (int c = 0; c < kCols; ++c)
        grid.SetColWidth(c, vantrel::ColReSizeWidth(grid, c, 6, 1180 * kTwipsPerPixel, measure));
    std::printf("cols_resize: %.1f ms\n", Milliseconds(start));
    ReleaseDC(window->hwnd(), dc);

    start = Clock::now();
    grid.SetRow(0);
    grid.SetCol(0);
    grid.SetRowSel(grid.Rows() - 1);
    grid.SetColSel(grid.Cols() - 1);
    const std::wstring clip = grid.Clip();
    std::printf("selectall_and_clip: %.1f ms\n", Milliseconds(start));
    std::printf("clip_characters: %zu\n", clip.size());

    window->Refresh();
    UpdateWindow(window->hwnd());
    constexpr int kPaints = 20;
    start = Clock::now();
    for (int i = 0; i < kPaints; ++i) {
        RedrawWindow(window->hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    }
    std::printf("paint_one_screen: %.2f ms\n", Milliseconds(start) / kPaints);
    std::printf("cells_painted: %d\n", window->LastPaintedCellCount());
    window.reset();
    DestroyWindow(host);
    return 0;
}
