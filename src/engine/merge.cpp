// Several filled views merged into one: a row per key, the same-position data columns of the views side by
// side, each naming the computer it reads from, so that for instance the installed software of several
// computers can be compared line by line.
#include "engine/view.h"
#include "sources/registry_path.h"
#include "views/order.h"

#include <algorithm>
#include <numeric>
#include <optional>

namespace vantrel {
namespace {

constexpr int kGrowthRows = 40;
constexpr int kFirstRows = 5;

// GetACol's answers that the merge tells apart (1, a row-number or mark column, it passes over).
constexpr int kNoSuchColumn = -1;
constexpr int kSameComputerAsNext = 2;

// Where a merged column comes from.
struct ColumnSource {
    size_t view = 0;
    int column = 0;
};

// A source's row numbers in the order of their keys, compared as the merge compares them. A registry
// enumeration lists keys regardless of case and a folder walk lists a folder's files before its subfolders,
// so the order of the rows is not that order.
std::vector<int> RowNumbersByKey(const View& source) {
    std::vector<int> numbers(static_cast<size_t>(std::max(source.rowCount, 0)));
    std::iota(numbers.begin(), numbers.end(), 1);
    std::ranges::stable_sort(numbers, [&](int a, int b) {
        return source.RowKey(static_cast<size_t>(a)) < source.RowKey(static_cast<size_t>(b));
    });
    return numbers;
}

// The key column is the first source's; the data columns interleave: the first of every source, then the
// second of every source, and so on, and a group of columns of a merged source that read one computer stays
// together. Where every merged column comes from.
std::vector<ColumnSource> TakeColumns(View& merged, std::span<View* const> sources) {
    View& first = *sources.front();
    std::wstring header, data;
    int width = 0;
    (void)first.GetACol(0, header, data, width);
    merged.columns.column(0) = ColumnSpec{.widthTwips = width, .data = data, .header = header};
    merged.colMap = {kRowNumberColumn, 0};
    merged.mergePartners = {-1, -1};
    std::wstring withoutComputer;
    merged.computerName = GetMachine(data, withoutComputer);

    std::vector<ColumnSource> taken(1);
    std::vector<int> next(sources.size(), 1);
    int k = 1;
    while (next[0] < first.grid.Cols() && k < kLastColumn) {
        // The columns one round takes read the same thing on every source; the first of them is what the
        // others are compared with.
        const int groupStart = k;
        for (size_t i = 0; i < sources.size() && k < kLastColumn; ++i) {
            for (;;) {
                const int code = sources[i]->GetACol(next[i], header, data, width);
                if (code == 0 || code == kSameComputerAsNext) {
                    merged.columns.column(k) =
                        ColumnSpec{.widthTwips = width, .data = data, .header = header};
                    taken.push_back({i, next[i]});
                    merged.colMap.push_back(k);
                    merged.mergePartners.push_back(k == groupStart ? -1 : groupStart + 1);
                    ++k;
                }
                ++next[i];
                if (code == 0 || code == kNoSuchColumn || k >= kLastColumn)
                    break;
            }
        }
    }
    return taken;
}

void SetUpMergedGrid(View& merged, int definitions) {
    const size_t shown = std::min(static_cast<size_t>(definitions), kOrderAlphabet.size());
    merged.columns.head.colsOrder = kOrderAlphabet.substr(0, shown);
    merged.columns.head.colsOrderD = merged.columns.head.colsOrder;
    GridModel& grid = merged.grid;
    grid.SetCols(definitions + 1);
    grid.SetRows(kFirstRows);
    grid.SetFixedCols(1);
    grid.SetColWidth(0, merged.columns.column(kRowNumberColumn).widthTwips);
    for (int c = 1; c <= definitions; ++c) {
        grid.SetTextMatrix(0, c, merged.columns.column(c - 1).header);
        grid.SetColWidth(c, merged.columns.column(c - 1).widthTwips);
    }
}

// The rows, by key: every source walks its rows in key order; a source without the smallest key keeps its
// row for a later merged row.
void MergeRows(View& merged, std::span<View* const> sources, const std::vector<ColumnSource>& taken) {
    std::vector<std::vector<int>> walks(sources.size());
    std::vector<size_t> position(sources.size(), 0);
    for (size_t i = 0; i < sources.size(); ++i) {
        sources[i]->MakeRowNrs();
        walks[i] = RowNumbersByKey(*sources[i]);
    }
    GridModel& grid = merged.grid;
    merged.itemKeys.clear();
    merged.rowItems.clear();
    int m = 0;
    for (;;) {
        std::optional<std::wstring> current;
        std::vector<std::pair<std::wstring, int>> atRow(sources.size()); // key and grid row of each source
        for (size_t i = 0; i < sources.size(); ++i) {
            if (position[i] >= walks[i].size())
                continue;
            int n = walks[i][position[i]];
            int gridRow = 0;
            atRow[i] = {sources[i]->GetCol0(n, gridRow), gridRow};
            if (!current || atRow[i].first < *current)
                current = atRow[i].first;
        }
        if (!current)
            break;
        ++m;
        if (m >= grid.Rows())
            grid.SetRows(m + kGrowthRows);
        grid.SetTextMatrix(m, 0, std::to_wstring(m));
        merged.rowItems.push_back(static_cast<std::uint32_t>(merged.itemKeys.size()));
        merged.itemKeys.push_back(*current);
        grid.SetTextMatrix(m, 1, *current);
        for (size_t i = 0; i < sources.size(); ++i) {
            if (position[i] >= walks[i].size() || atRow[i].first != *current)
                continue;
            for (size_t d = 1; d < taken.size(); ++d)
                if (taken[d].view == i)
                    grid.SetTextMatrix(m, static_cast<int>(d) + 1,
                                       sources[i]->grid.TextMatrix(atRow[i].second, taken[d].column));
            ++position[i];
        }
    }
    merged.rowCount = m;
    grid.SetRows(m + 1);
    merged.MakeRowNrs();
}

} // namespace

void View::NewMergeFrom(std::span<View* const> sources) {
    if (sources.empty())
        return;
    state_ = ViewState::Idle;
    grid.SetCols(sources.front()->grid.Cols());
    host_.SetCaption(L"Merging views ..");
    grid.SetRows(2);
    viewKind = ViewKind::Merged;
    sources.front()->GetColsT(columns.head, basePath);
    const std::vector<ColumnSource> taken = TakeColumns(*this, sources);
    SetUpMergedGrid(*this, static_cast<int>(taken.size()));
    MergeRows(*this, sources, taken);
    host_.SetCaption(L"Merged view");
}

} // namespace vantrel
