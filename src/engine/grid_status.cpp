#include "engine/grid_status.h"

#include "engine/view.h"
#include "sources/registry_path.h"
#include "views/field.h"
#include "views/text.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace vantrel {
namespace {

// Sorts below "*" in character-code order: empty, or starting with a character below it.
bool BelowStar(std::wstring_view text) {
    return text.empty() || text[0] < L'*';
}

} // namespace

std::wstring ColInfo(View& view) {
    const GridModel& grid = view.grid;
    const int col = grid.Col();
    if (col < 0 || static_cast<size_t>(col) >= view.colMap.size())
        return {};
    int d = view.colMap[static_cast<size_t>(col)];
    std::wstring prefix;
    if (d == kMarkColumn) {
        prefix = L"Match info on ";
        d = col > 0 ? view.colMap[static_cast<size_t>(col - 1)] : kRowNumberColumn;
    } else if (d < 0) {
        prefix = L"Index";
    }
    const std::wstring& header = view.columns.column(d).header;
    std::wstring text = prefix + header;
    if (const std::wstring expression = view.PlDat(d); expression != header)
        text += L" (" + expression + L")";
    std::wstring withoutComputer;
    if (const std::wstring computer = GetMachine(text, withoutComputer); !computer.empty())
        text = withoutComputer + L" on " + computer;
    return text;
}

namespace {

StatusTip SelectionStatus(View& view) {
    const GridModel& grid = view.grid;
    const int rows = std::abs(grid.RowSel() - grid.Row()) + 1;
    const int cols = std::abs(grid.ColSel() - grid.Col()) + 1;
    const std::wstring info = ColInfo(view);
    StatusTip tip;
    if (rows >= grid.Rows() - 1) {
        tip.text = info + L": " + std::to_wstring(rows) + L" rows." + view.sortText;
        if (info != view.sortColInfo && !view.sortColInfo.empty())
            tip.text += L" on " + view.sortColInfo;
        return tip;
    }
    if (rows > 1 && cols > 1) {
        tip.text = L"Selected: " + std::to_wstring(rows) + L" rows, " + std::to_wstring(cols) +
                   L" columns: " + info + L" etc.";
        return tip;
    }
    if (rows > 1) {
        tip.text = L"Selected: " + std::to_wstring(rows) + L" rows in column " + info;
        return tip;
    }
    tip.tag = L"1";
    const int col = grid.Col();
    if (col < 0 || static_cast<size_t>(col) >= view.colMap.size() ||
        view.colMap[static_cast<size_t>(col)] == kRowNumberColumn)
        return tip;
    const std::wstring cell(TrimBlanks(grid.Clip()));
    const std::wstring& left = grid.TextMatrix(grid.Row(), col - 1);
    if (view.colMap[static_cast<size_t>(col)] == kMarkColumn) {
        if (BelowStar(cell))
            tip.text = BelowStar(left) ? L"No match data" : L"No match on " + left;
        else
            tip.text = L"Matching/installed: " + left;
        return tip;
    }
    if (!cell.empty() && cell > L" ")
        tip.text = info + L": " + cell;
    return tip;
}

} // namespace

StatusTip StatusText(View& view) {
    StatusTip tip = SelectionStatus(view);
    if (view.HighlightsDifferences() && !tip.text.empty()) {
        const int differing = view.DifferingRowCount();
        tip.text +=
            L" - " + std::to_wstring(differing) + (differing == 1 ? L" row differs" : L" rows differ");
    }
    return tip;
}

bool CellNamesAnObject(std::wstring_view cell) {
    std::wstring s(cell);
    if (s.starts_with(L"SP"))
        s = s.size() > 4 ? s.substr(4) : std::wstring();
    if (s.starts_with(L"VEN_") || LowerCase(std::wstring_view(s).substr(0, 9)) == L"system32\\")
        s = L"\\\\";
    const size_t length = s.size();
    std::wstring_view two(s);
    if (two.starts_with(L'"'))
        two.remove_prefix(1);
    two = two.substr(0, 2);
    const wchar_t first = two.empty() ? L'\0' : two[0];
    return two == L"\\\\" || (two.size() == 2 && two[1] == L':') || first == L'{' || first == L'%' ||
           (length == 8 && two == L"KB") || (length == 7 && first == L'Q');
}

std::wstring SelectionMessage(std::wstring_view clip, std::wstring_view statusText) {
    constexpr int kMaxLines = 25;
    std::wstring text(clip);
    int returns = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\r' && ++returns == kMaxLines) {
            text = text.substr(0, i + 1) + L"etc..";
            break;
        }
    }
    std::wstring_view status = statusText;
    if (status.starts_with(L"Selected: "))
        status.remove_prefix(10);
    return L"Selected:\r" + std::wstring(status) + L"\r\r" + text;
}

int ColReSizeWidth(const GridModel& grid, int col, int weight, int innerWidthTwips,
                   const std::function<int(std::wstring_view)>& measureTwips) {
    constexpr size_t kCandidates = 4;
    constexpr int kTwipsPerCharacter = 75;
    constexpr int kMaxEstimate = 250;
    size_t longest = 0;
    std::vector<std::wstring> candidates; // newest last
    for (int r = 0; r < grid.Rows(); ++r) {
        std::wstring text = grid.TextMatrix(r, col);
        text.erase(text.find_last_not_of(L' ') + 1);
        if (text.size() > longest)
            longest = text.size();
        if (text.size() == longest && (candidates.empty() || candidates.back() != text + L"    ")) {
            candidates.push_back(text + L"    ");
            if (candidates.size() > kCandidates)
                candidates.erase(candidates.begin());
        }
    }
    int characters = static_cast<int>(longest);
    if (characters < 39)
        characters = static_cast<int>(characters * 1.05 + 1);
    const int width = grid.ColWidth(col);
    int delta = std::min((characters * kTwipsPerCharacter - width) * weight / 9, kMaxEstimate);
    for (auto candidate = candidates.rbegin(); candidate != candidates.rend(); ++candidate) {
        if (candidate->size() >= 80)
            continue;
        delta = std::max(delta, (measureTwips(*candidate) - width) * weight / 9);
    }
    int result = width + delta;
    if (innerWidthTwips < result)
        result = innerWidthTwips - 150;
    return std::max(result, 0);
}

CellCommands CellCommandsFor(const View& view) {
    CellCommands commands;
    const ViewKind kind = view.viewKind;
    commands.editValue = kind == ViewKind::Registry || kind == ViewKind::Merged ||
                         kind == ViewKind::MultiComputer ||
                         (kind == ViewKind::CustomFile && view.folderPath.empty());
    const GridModel& grid = view.grid;
    commands.properties = !view.folderPath.empty() || (kind == ViewKind::ClassList && grid.Col() == 2) ||
                          CellNamesAnObject(grid.TextMatrix(grid.Row(), grid.Col()));
    const size_t col = static_cast<size_t>(grid.Col());
    const bool oneCell = grid.Row() == grid.RowSel() && grid.Col() == grid.ColSel() && grid.Row() > 0;
    commands.deleteValue = commands.editValue && view.folderPath.empty() && oneCell &&
                           col < view.colMap.size() && view.colMap[col] > 0 &&
                           !grid.TextMatrix(grid.Row(), grid.Col()).empty();
    return commands;
}

} // namespace vantrel
