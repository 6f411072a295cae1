#include "views/custom_view_file.h"

#include "views/field.h"
#include "views/order.h"
#include "views/text.h"

#include <algorithm>

namespace vantrel {
namespace {

constexpr std::wstring_view kSection = L"Main";
constexpr int kLastNamedColumn = 39; // the highest column an order character names
constexpr int kTwipsThreshold = 1200;

std::wstring ColumnKey(int index) {
    return L"Column" + std::wstring(1, ColumnKeyName(index));
}

int WidthTwipsFromFile(std::wstring_view text, int twipsPerPixel) {
    const int number = PixelsFromText(text);
    return number < kTwipsThreshold ? TwipsFromPixels(number, twipsPerPixel) : number;
}

int HighestColumnNamed(std::wstring_view order, std::wstring_view orderD) {
    int highest = -1;
    for (const std::wstring_view text : {order, orderD})
        for (const wchar_t c : text)
            highest = std::max(highest, DigitValue(c));
    return highest;
}

} // namespace

void ReadCustomView(IniFiles& ini, std::wstring_view file, ViewDefinition& view, int twipsPerPixel) {
    view = ViewDefinition{};
    view.head.base = ini.ReadIniValue(file, kSection, L"XKey");
    view.head.colsOrder = ini.ReadIniValue(file, kSection, L"ColsOrder");
    if (view.head.colsOrder.empty())
        return;
    view.head.colsOrderD = ini.ReadIniValue(file, kSection, L"ColsOrderd");
    const int highest = HighestColumnNamed(view.head.colsOrder, view.head.colsOrderD);
    for (int i = 0; i <= highest; ++i) {
        const std::wstring line = ini.ReadIniValue(file, kSection, ColumnKey(i));
        if (line.empty())
            break;
        ColumnSpec& column = view.column(i);
        column.widthTwips = WidthTwipsFromFile(GetField(line, L",", 0), twipsPerPixel);
        column.data = GetField(line, L",", 1);
        column.header = GetField(line, L",", 2);
        column.condition = GetField(line, L",", 3);
        column.extra = GetField(line, L",", 4);
    }
}

WriteResult WriteCustomView(IniFiles& ini, std::wstring_view file, const ViewDefinition& view,
                            int twipsPerPixel) {
    const std::pair<std::wstring, std::wstring> head[] = {{L"XKey", view.head.base},
                                                          {L"ColsOrder", view.head.colsOrder},
                                                          {L"ColsOrderD", view.head.colsOrderD}};
    for (const auto& [key, value] : head)
        if (auto written = ini.WriteIniValue(file, kSection, key, value); !written)
            return written;
    for (int i = 0; i <= kLastNamedColumn && !view.column(i).data.empty(); ++i)
        if (auto written = ini.WriteIniValue(file, kSection, ColumnKey(i),
                                             ColumnSpecText(view.column(i), twipsPerPixel));
            !written)
            return written;
    return {};
}

std::wstring ProposedCustomViewName(std::wstring_view customFile, std::wstring_view caption) {
    if (customFile.size() >= 2)
        return std::wstring(customFile);
    std::wstring name(caption);
    std::ranges::replace(name, L'\\', L'-');
    std::ranges::replace(name, L':', L'.');
    return name;
}

} // namespace vantrel
