#pragma once
// What a view window needs from the main window that holds it.
#include "engine/grid_status.h"

#include <string>
#include <string_view>

namespace vantrel {

class ViewForm;

class ViewOwner {
public:
    virtual ~ViewOwner() = default;
    virtual int ListMode() const = 0;           // 0 standard list, 1 detailed list
    virtual bool MarkOption() const = 0;        // "S&how Match column" is checked
    virtual std::wstring StartFile() const = 0; // the ini file last chosen or named
    virtual void ShowCancelCommand(bool shown) = 0;
    virtual void FillEnded() = 0;    // a view's fill ended; the main window may now close if it was asked to
    virtual void ViewsChanged() = 0; // a view window was activated or closed: the menus follow it
    // A view's current cell changed: while that view is the active one, "P&roperties", "&Edit value" and
    // "&Delete value" follow it.
    virtual void CellCommandsChanged(const ViewForm& view, const CellCommands& commands) = 0;
    // A right click in a grid: the "&Edit" menu at the pointer.
    virtual void PopupEditMenu() = 0;
    // The file dialog for custom view files, in the folder where the last one was chosen; the chosen path,
    // or an empty text when cancelled.
    virtual std::wstring ChooseCustomViewFile(bool save, std::wstring_view proposedName) = 0;
    // "Open in E&xcel" of a view: its whole grid as a new spreadsheet sheet.
    virtual void ExportToSpreadsheet(ViewForm& view) = 0;
    // A built-in view on the computer ("": the local one) with a data variable, opened for a cell.
    virtual void OpenRelatedView(std::wstring_view computer, int viewNumber,
                                 std::wstring_view dataVariable) = 0;
};

} // namespace vantrel
