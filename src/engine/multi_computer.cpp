// Views whose rows are computers: one item, or a block of cells, read on every computer of a list. Also the
// look-ups from grid rows and columns back to items, data expressions and computers.
#include "engine/view.h"
#include "sources/registry_path.h"
#include "views/text.h"

namespace vantrel {
namespace {

// The last two levels of a path, or all of it when it has fewer.
std::wstring LastTwoLevels(const std::wstring& path) {
    const size_t last = path.rfind(L'\\');
    if (last == std::wstring::npos || last == 0)
        return path;
    const size_t secondLast = path.rfind(L'\\', last - 1);
    return secondLast == std::wstring::npos ? path : path.substr(secondLast + 1);
}

void PutComputerColumnFirst(std::wstring& order) {
    if (order.find(L'0') == std::wstring::npos)
        order.insert(0, 1, L'0');
}

} // namespace

std::wstring ComputerOfRow(std::wstring_view item) {
    return WithoutEnclosing(item, L'/');
}

void View::NewCompuRows(std::wstring path, const std::vector<std::wstring>& computers) {
    GetCico(definition, columns, twipsPerPixel_);
    computerName.clear();
    columns.head.base = path;
    const std::wstring shown = LastTwoLevels(path);
    itemKeys.clear();
    for (const std::wstring& computer : computers)
        itemKeys.push_back(L"/" + computer + L"/");
    viewKind = ViewKind::MultiComputer;
    PutComputerColumnFirst(columns.head.colsOrder);
    PutComputerColumnFirst(columns.head.colsOrderD);
    host_.SetCaption(L"Comparing computers on '" + shown + L"' ");
}

int View::GetACol(int c, std::wstring& header, std::wstring& data, int& widthTwips) {
    if (c < 0 || c >= grid.Cols() || c >= static_cast<int>(colMap.size()))
        return -1;
    if (c > 0 && colMap[static_cast<size_t>(c)] < 1)
        return 1;
    const int k = c == 0 ? 0 : colMap[static_cast<size_t>(c)];
    header = columns.column(k).header;
    widthTwips = columns.column(k).widthTwips;
    data = PlDat(k);
    if (!data.starts_with(L'/'))
        data = L"/" + computerName + L"/" + data;
    if (viewKind == ViewKind::Merged && k < kLastColumn && GetMachOut(data) == GetMachOut(PlDat(k + 1)))
        return 2;
    return 0;
}

std::wstring View::GetCol0(int& n, int& gridRow) const {
    gridRow = 0;
    if (n < 1)
        return {};
    if (n > rowCount || static_cast<size_t>(n) > rowItems.size()) {
        n = 0;
        return {};
    }
    if (static_cast<size_t>(n) < rowIndex.size())
        gridRow = rowIndex[static_cast<size_t>(n)];
    return RowKey(static_cast<size_t>(n));
}

std::vector<std::wstring> View::RowKeys() const {
    std::vector<std::wstring> keys;
    for (const std::uint32_t item : rowItems)
        keys.push_back(itemKeys[item]);
    return keys;
}

std::wstring View::GetPlRt0(int& n) const {
    int gridRow = 0;
    return GetCol0(n, gridRow);
}

std::wstring View::ItemOfGridRow(int gridRow) const {
    int n = LeadingNumber(grid.TextMatrix(gridRow, 0), 1 << 30);
    return GetPlRt0(n);
}

void View::MakeRowNrs() {
    rowIndex.assign(static_cast<size_t>(rowCount) + 1, 0);
    for (int r = 1; r < grid.Rows(); ++r) {
        const int n = LeadingNumber(grid.TextMatrix(r, 0), 1 << 30);
        if (n > 0 && n <= rowCount)
            rowIndex[static_cast<size_t>(n)] = r;
    }
}

} // namespace vantrel
