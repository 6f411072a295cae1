#pragma once
// What the view window tells about its grid: the status text shown as the grid's tooltip, the description
// of a column, and which cell commands the current cell allows.
#include "engine/grid_model.h"

#include <functional>
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

// The status text for the grid's current selection; while differences are highlighted, it ends with how many
// rows differ.
StatusTip StatusText(View& view);

struct CellCommands {
    bool properties = false; // "P&roperties"
    bool editValue = false;  // "&Edit value"
    bool deleteValue =
        false; // "&Delete value": one non-empty cell of a data column whose cells are registry values

    bool operator==(const CellCommands&) const = default;
};

// Which cell commands the current cell of the view allows.
CellCommands CellCommandsFor(const View& view);

// The message a double-click or Enter shows for a selection of several lines (or with Shift, Ctrl or Alt):
// "Selected:", the status text without its own "Selected: ", and at most 25 lines of the selection.
std::wstring SelectionMessage(std::wstring_view clip, std::wstring_view statusText);

// The width that fits column `col` to its longest text with weight 1..9: an estimate of 75 twips a character
// (at most 250 twips wider), or the measured width of the longest texts plus four blanks, never wider than
// the view's inner width less 150 twips. `measureTwips` gives a text's width in the grid's font.
int ColReSizeWidth(const GridModel& grid, int col, int weight, int innerWidthTwips,
                   const std::function<int(std::wstring_view)>& measureTwips);

// Whether the text of a cell names something "P&roperties" can show: a file path, a share, a class or
// environment-relative path, an update's article number.
bool CellNamesAnObject(std::wstring_view cell);

} // namespace vantrel
