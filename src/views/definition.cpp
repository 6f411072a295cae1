#include "views/definition.h"

#include "views/field.h"
#include "views/text.h"

#include <stdexcept>

namespace vantrel {
namespace {

// Far beyond any screen; keeps pixels × twips per pixel inside an int.
constexpr int kMaxWidthPixels = 100000;

// The head as written: its four fields, each followed by ",". A head read from a text whose title was not
// followed by "," has run on into the column segments; written back whole, its "|" would start columns of
// their own and shift every real column after them. So only the part before the first "|" is written.
std::wstring WritableHead(const ViewHead& head) {
    const std::wstring joined =
        head.base + L"," + head.colsOrder + L"," + head.colsOrderD + L"," + head.title;
    std::vector<std::wstring> fields = SplitFields(GetField(joined, L"|", 0), L",");
    fields.resize(4);
    return fields[0] + L"," + fields[1] + L"," + fields[2] + L"," + fields[3] + L",";
}

} // namespace

ViewDefinition::ViewDefinition() {
    column(kRowNumberColumn).widthTwips = kRowNumberWidthTwips;
    column(kMarkColumn).widthTwips = kMarkWidthTwips;
    column(kMarkColumn).header = kMarkHeader;
}

ColumnSpec& ViewDefinition::column(int index) {
    if (index < kRowNumberColumn || index > kLastColumn)
        throw std::out_of_range("view column index out of range");
    return slots_[static_cast<size_t>(index - kRowNumberColumn)];
}

const ColumnSpec& ViewDefinition::column(int index) const {
    return const_cast<ViewDefinition*>(this)->column(index);
}

int PixelsFromText(std::wstring_view text) {
    return LeadingNumber(text, kMaxWidthPixels);
}

int TwipsFromPixels(int pixels, int twipsPerPixel) {
    return pixels * twipsPerPixel;
}

int PixelsFromTwips(int twips, int twipsPerPixel) {
    if (twipsPerPixel <= 0)
        return 0;
    return (twips + twipsPerPixel / 2) / twipsPerPixel;
}

void GetCico(std::wstring_view definitionText, ViewDefinition& view, int twipsPerPixel) {
    const std::vector<std::wstring> head = SplitFields(definitionText, L",");
    const auto headField = [&](size_t n) {
        return n < head.size() ? head[n] : std::wstring();
    };
    view.head = {headField(0), headField(1), headField(2), headField(3)};

    const std::vector<std::wstring> segments = SplitFields(definitionText, L"|");
    for (size_t i = 0; i <= kLastColumn && i + 1 < segments.size(); ++i) {
        const std::wstring& segment = segments[i + 1];
        if (segment.empty())
            break;
        std::vector<std::wstring> fields = SplitFields(segment, L",");
        fields.resize(5);
        ColumnSpec& column = view.column(static_cast<int>(i));
        if (column.widthTwips == 0)
            column.widthTwips = TwipsFromPixels(PixelsFromText(fields[0]), twipsPerPixel);
        column.data = std::move(fields[1]);
        column.header = std::move(fields[2]);
        column.condition = std::move(fields[3]);
        column.extra = std::move(fields[4]);
    }
}

ViewDefinition ParseDefinition(std::wstring_view definitionText, int twipsPerPixel) {
    ViewDefinition view;
    GetCico(definitionText, view, twipsPerPixel);
    return view;
}

std::wstring ColumnSpecText(const ColumnSpec& column, int twipsPerPixel) {
    return std::to_wstring(PixelsFromTwips(column.widthTwips, twipsPerPixel)) + L"," + column.data + L"," +
           column.header + L"," + column.condition + L"," + column.extra;
}

std::wstring MakCGp(const ViewDefinition& view, int twipsPerPixel) {
    std::wstring text = WritableHead(view.head);
    for (int i = 0; i <= kLastColumn && !view.column(i).data.empty(); ++i)
        text += L"|" + ColumnSpecText(view.column(i), twipsPerPixel);
    return text;
}

} // namespace vantrel
