#include "views/cell_block.h"

#include "views/order.h"

namespace vantrel {
namespace {

constexpr size_t kMaxCells = 36; // one order character each, after the key column

} // namespace

std::wstring SelCGp(const ViewDefinition& view, const CellBlock& block, int twipsPerPixel) {
    if (block.firstRow == block.lastRow)
        return {};
    if (static_cast<int>(block.columns.size()) >= block.gridColumnCount - 1)
        return std::wstring(kWholeRowsSelected);
    const size_t count = block.rowKeys.size() * block.columns.size();
    if (count >= kMaxCells)
        return std::wstring(kTooManyCellsSelected);

    const std::wstring order(kOrderAlphabet.substr(0, count + 1));
    std::wstring text = view.head.base + L"," + order + L"," + order + L",,|120,<key>,Key,,";
    for (size_t r = 0; r < block.rowKeys.size(); ++r) {
        for (const int d : block.columns) {
            const ColumnSpec& column = view.column(d);
            text += L"|" + std::to_wstring(PixelsFromTwips(column.widthTwips, twipsPerPixel)) + L"," +
                    block.rowKeys[r] + L"\\" + column.data + L"," + std::to_wstring(r) + L"-" +
                    column.header + L"," + column.condition + L"," + column.extra;
        }
    }
    return text;
}

} // namespace vantrel
