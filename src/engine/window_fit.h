#pragma once
// The size that fits a view window to its table, within the main window (all in twips).
namespace vantrel {

struct TableFitInput {
    int tableWidth = 0;           // right edge of the last column
    int tableHeight = 0;          // bottom edge of the last row
    int frameHeightAllowance = 0; // window height minus grid height
    int borderWidth = 0;          // one side of the window frame
    int windowLeft = 0;           // the window's place in the main window's client area
    int windowTop = 0;
    int mainWidth = 0; // room the main window gives its view windows
    int mainInnerHeight = 0;
};

struct WindowSize {
    int width = 0;
    int height = 0;
    bool operator==(const WindowSize&) const = default;
};

// The whole table if it fits; otherwise as much as fits, with room for the scroll bars that then appear.
WindowSize FlexResize(const TableFitInput& in);

} // namespace vantrel
