// The registry value a grid cell stands for, and deleting it.
#include "engine/view.h"
#include "sources/registry_path.h"
#include "views/text.h"

namespace vantrel {
namespace {

// Takes a computer named between two "/" out of `text`; it becomes `computer` when it names one.
void TakeComputer(std::wstring& text, std::wstring& computer) {
    std::wstring without;
    const std::wstring named = GetMachine(text, without);
    if (without == text)
        return;
    text = std::move(without);
    if (!named.empty())
        computer = named;
}

} // namespace

std::wstring View::CellPath(int gridRow, int gridCol) {
    std::wstring s = grid.TextMatrix(gridRow, gridCol);
    if (s.starts_with(L'%')) {
        if (const size_t close = s.find(L'%', 1); close != std::wstring::npos) {
            const std::wstring value =
                services_.environment.Variable(std::wstring_view(s).substr(1, close - 1));
            if (!value.empty())
                s = value + s.substr(close + 1);
        }
    }
    if (s.starts_with(L"\\\\") || (s.size() > 1 && s[1] == L':'))
        return s;
    const bool inColumns = gridCol >= 0 && static_cast<size_t>(gridCol) < colMap.size();
    const std::wstring data = inColumns ? PlDat(colMap[static_cast<size_t>(gridCol)]) : std::wstring();
    const std::wstring item = ItemOfGridRow(gridRow);
    if ((data.starts_with(L"<key") || !inColumns) && !item.empty())
        s = item;
    if (data == L"<relpath>")
        return PathOf(item);
    return s;
}

View::CellValue View::CellValueOf(int gridRow, int gridCol) {
    CellValue value{.computer = computerName};
    value.keyPath = basePath + L"\\" + ItemOfGridRow(gridRow);
    TakeComputer(value.keyPath, value.computer);
    // A multi-computer row's key is only its computer: the key path is the base.
    while (value.keyPath.ends_with(L'\\'))
        value.keyPath.pop_back();
    const int k = gridCol >= 0 && static_cast<size_t>(gridCol) < colMap.size()
                      ? colMap[static_cast<size_t>(gridCol)]
                      : -1;
    value.valueName = k >= 0 ? PlDat(k) : std::wstring();
    TakeComputer(value.valueName, value.computer);
    return value;
}

long View::DeleteCellValue(int gridRow, int gridCol) {
    const CellValue value = CellValueOf(gridRow, gridCol);
    const long status =
        services_.registry.ChangeValue(value.computer, RootKey::FromPath, value.keyPath, value.valueName,
                                       grid.TextMatrix(gridRow, gridCol), L"");
    if (status == 0) {
        grid.SetTextMatrix(gridRow, gridCol, L"");
        MarkDifferences();
    }
    return status;
}

} // namespace vantrel
