#pragma once
// The command table: one fixed-width text that lays out the toolbar, 66 characters a row. Positions 1-2 hold
// the command number (also the button's picture; "00" a spacer), 3 a style flag (blank, "c" check, "d"
// drop-down), 4-28 the description, 30-66 the tooltip. A spacer's positions 4-8 hold its width code:
// 0 a separator, 2 the place of the computer box, any other number an empty gap of that many twips.
#include <string>
#include <string_view>
#include <vector>

namespace vantrel {

inline constexpr size_t kCommandRowLength = 66;
extern const std::wstring_view kCommandTable;

enum class ToolbarStyle { Button, Check, DropDown, Separator, Placeholder };

struct ToolbarEntry {
    int number = 0; // command and picture number; 0 for spacers
    ToolbarStyle style = ToolbarStyle::Button;
    std::wstring description;
    std::wstring tooltip;
    int widthTwips = 0;            // placeholders only
    bool holdsComputerBox = false; // the placeholder the computer box moves into

    bool operator==(const ToolbarEntry&) const = default;
};

// The toolbar's buttons in table order. The computer box's place is as wide as the box plus 120 twips.
std::vector<ToolbarEntry> ParseCommandTable(std::wstring_view table, int computerBoxWidthTwips);

} // namespace vantrel
