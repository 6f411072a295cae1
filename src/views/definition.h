#pragma once
// The parsed form of a view definition string:
//   base,ColsOrder,ColsOrderD,title,|width,data,header,condition,extra|width,data,...
// Widths are pixels in the text and twips in memory; every conversion names its twips per pixel.
#include <array>
#include <string>
#include <string_view>

namespace vantrel {

inline constexpr int kLastColumn = 240;     // columns 0..240 may be defined
inline constexpr int kRowNumberColumn = -2; // grid column 0, the row numbers
inline constexpr int kMarkColumn = -1;      // the match-mark column after "!*" columns
inline constexpr int kRowNumberWidthTwips = 480;
inline constexpr int kMarkWidthTwips = 270;
inline constexpr std::wstring_view kMarkHeader = L"!*";
inline constexpr int kTwipsPerPixelAt96Dpi = 15;

struct ColumnSpec {
    int widthTwips = 0; // 0 hides the column
    std::wstring data;
    std::wstring header;
    std::wstring condition;
    std::wstring extra; // kept and written back unchanged; filling does not use it

    bool operator==(const ColumnSpec&) const = default;
};

struct ViewHead {
    std::wstring base;       // registry key path, folder with patterns and depth, or a bare pattern
    std::wstring colsOrder;  // order characters of the standard list
    std::wstring colsOrderD; // order characters of the detailed list
    std::wstring title;      // caption title of a registry view

    bool operator==(const ViewHead&) const = default;
};

class ViewDefinition {
public:
    ViewDefinition();

    ViewHead head;

    // Slots kRowNumberColumn, kMarkColumn and 0..kLastColumn; any other index throws std::out_of_range.
    ColumnSpec& column(int index);
    const ColumnSpec& column(int index) const;

    // A definition counts as parsed once its base is set; a refill parses only before that.
    bool isParsed() const { return !head.base.empty(); }

    bool operator==(const ViewDefinition&) const = default;

private:
    std::array<ColumnSpec, kLastColumn + 3> slots_;
};

// A width text in pixels ("non-numeric counts as 0"; leading digits count, as in "120px").
int PixelsFromText(std::wstring_view text);
int TwipsFromPixels(int pixels, int twipsPerPixel);
int PixelsFromTwips(int twips, int twipsPerPixel); // to the nearest whole pixel

// Parses `definitionText` into `view`. A column's width is stored only while its slot still holds 0, so a
// width the user dragged survives a new parse. Columns past kLastColumn are ignored.
void GetCico(std::wstring_view definitionText, ViewDefinition& view, int twipsPerPixel);

// A fresh view parsed from `definitionText`.
ViewDefinition ParseDefinition(std::wstring_view definitionText, int twipsPerPixel);

// Writes the view back as a definition string: the head, then columns from 0 while their data is not empty.
std::wstring MakCGp(const ViewDefinition& view, int twipsPerPixel);

// One column as written in definitions and custom view files: width in pixels, data, header, condition,
// extra.
std::wstring ColumnSpecText(const ColumnSpec& column, int twipsPerPixel);

} // namespace vantrel
