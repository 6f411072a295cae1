// A view's grid with rows and columns swapped, in a window of its own; and the match list taken from a
// column.
#include "engine/view.h"

#include <algorithm>

namespace vantrel {
namespace {

constexpr std::wstring_view kTransposedPrefix = L"Transposed: ";
constexpr int kEmptyColumnTwips = 420; // 1060 twips for ten characters, 64 more or less for each other
constexpr int kTwipsPerCharacter = 64;

} // namespace

bool View::transpose(const View& source, std::wstring_view sourceCaption) {
    const GridModel& from = source.grid;
    if (from.Rows() < 1 || from.Cols() < 1)
        return false;
    state_ = ViewState::Idle;
    viewKind = source.viewKind;
    host_.SetCaption(sourceCaption.starts_with(kTransposedPrefix)
                         ? std::wstring(sourceCaption.substr(kTransposedPrefix.size()))
                         : std::wstring(kTransposedPrefix) + std::wstring(sourceCaption));

    grid.SetRows(from.Cols());
    grid.SetCols(from.Rows());
    grid.SetFixedCols(from.FixedRows());
    for (int r = 0; r < from.Rows(); ++r) {
        size_t longest = 0;
        for (int c = 0; c < from.Cols(); ++c) {
            const std::wstring_view text = from.CellText(r, c);
            longest = std::max(longest, text.size());
            grid.SetTextMatrix(c, r, text);
        }
        grid.SetColWidth(r, kEmptyColumnTwips + kTwipsPerCharacter * static_cast<int>(longest));
    }
    // Which cells differ is decided on the source, whose rows and columns still mean something, and carried
    // over swapped like the texts.
    carriesDifferences_ = source.ComparesCells();
    if (carriesDifferences_)
        for (int r = 0; r < from.Rows(); ++r)
            for (int c = 0; c < from.Cols(); ++c)
                grid.SetShaded(c, r, source.CellDiffers(r, c));
    grid.ShowShading(source.HighlightsDifferences());
    return true;
}

void View::AutoMatch() {
    std::vector<std::wstring> entries;
    for (int r = 1; r < grid.Rows(); ++r)
        entries.push_back(grid.TextMatrix(r, grid.Col()));
    services_.matchList.Replace(std::move(entries));
}

} // namespace vantrel
