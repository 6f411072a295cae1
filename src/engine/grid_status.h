#pragma once
// What the view window tells about its grid: the status text shown as the grid's tooltip, the description
// of a column, and which cell commands the current cell allows.
#include <string>
#include <string_view>

namespace vantrel {

class View;

// The status tooltip and the tooltip state the grid keeps in its tag: "0" nothing to watch, "1" a
// single-cell text was just set (the next mouse move records where the pointer was).
struct StatusTip {
    std::wstring text;
    std::wstring tag = L"0";

    bool operator==(const StatusTip&) const = default;
};

// Describes the current grid column: its header, its data expression when that differs, " on " + computer
// for a column that reads another computer; "Match info on " for a mark column, "Index" for the row numbers.
std::wstring ColInfo(View& view);

// The status text for the grid's current selection.
StatusTip StatusText(View& view);

struct CellCommands {
    bool properties = false; // "P&roperties"
    bool editValue = false;  // "&Edit value"

    bool operator==(const CellCommands&) const = default;
};

// Which cell commands the current cell of the view allows.
CellCommands CellCommandsFor(const View& view);

// Whether the text of a cell names something "P&roperties" can show: a file path, a share, a class or
// environment-relative path, an update's article number.
bool CellNamesAnObject(std::wstring_view cell);

} // namespace vantrel
