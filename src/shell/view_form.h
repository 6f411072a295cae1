#pragma once
// A view window: an MDI child that owns one view and the grid showing it. It fills itself once it is first
// shown, keeps the grid sized to its inner area, and survives being closed while a fill runs: the fill is
// asked to stop and the window goes once it has.
#include "engine/view.h"
#include "shell/prompter.h"
#include "shell/view_opening.h"
#include "shell/view_owner.h"
#include "ui/base_window.h"
#include "ui/grid_window.h"
#include "ui/message_pump.h"

#include <memory>
#include <span>
#include <string>

namespace vantrel {

class ViewForm final : public BaseWindow<ViewForm>, private ViewHost, private GridEvents {
public:
    static constexpr bool kIsMdiChild = true;

    // The window deletes itself when it is destroyed.
    static ViewForm* Create(HWND mdiClient, const ViewServices& services, Prompter& prompter,
                            ViewOwner& owner, const ViewOpening& opening);

    // The view window behind a window handle, or nullptr for any other window.
    static ViewForm* FromWindow(HWND hwnd);

    // Refills the view (after the user's column widths are kept), or stops a fill that runs.
    void Refresh();
    // Runs the first fill now, unless it ran already (commands act on a view only once it is filled).
    void FillNow();
    // The status tooltip and the cell commands for the grid's selection.
    void UpdateStatus();
    // "Toggle sort &order" on the current column, and "&Select all".
    void SortCurrentColumn();
    // The command "sort": the column given, descending when the argument has a "-" anywhere.
    void SortByCommand(std::wstring_view argument);
    void SelectAll();
    // "&Copy ": the selected block as text on the clipboard; false when the clipboard could not be had.
    bool Copy2clip();
    // Widens (or narrows) a grid column to its texts with weight 1..9; all columns with weight 6.
    void ColReSize(int col, int weight);
    void ColsReSize();
    // The right edge of a grid column in twips.
    int ColR(int col) const;
    // The cell actions of a double-click or Enter (1 properties, 2 edit value) and the Delete key; the cell
    // actions fill them in.
    void EditFile(int action);
    void DelkeyPressed();
    // The command "setmatch": the match list is built from the given grid column without a question.
    void SetMatchColumn(int col);
    // Matching rows against the match list (1: without asking) comes with its part.
    void AutoMatch(int mode);
    // "Open in E&xcel": the whole grid as a new sheet of Excel, or of the run's workbook without Excel.
    void OpenExcel();
    // "&Edit current view ...": the custom view editor on this view, which then fills again.
    void EditCols();
    // The computers of a multi-computer view, chosen again in the computer list; the view then fills again.
    void EditComputerList();
    // "Hi&ghlight differences" on or off for this view.
    void HighlightDifferences(bool on);
    // "&Save view as ...": the view as a custom view file, under a name the user chooses.
    void SaveColsAs();
    // Shows the source's grid transposed instead of a fill of its own; false when that failed and the window
    // is gone.
    [[nodiscard]] bool ShowTransposedOf(ViewForm& source);
    // Shows the merge of the views instead of a fill of its own.
    void ShowMergeOf(std::span<View* const> sources);
    // Sizes the window to its table.
    void FitWindowToTable() { FitToTable(); }
    std::wstring CaptionText() const { return Caption(); }

    View& view() { return view_; }
    GridWindow* grid() { return grid_.get(); }
    bool IsFilling() const { return fillDepth_ > 0; }
    // Number of fills running in all view windows.
    static int RunningFills() { return runningFills_; }

private:
    friend class BaseWindow<ViewForm>;
    ViewForm(const ViewServices& services, Prompter& prompter, ViewOwner& owner, int twipsPerPixel);

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    bool OnCreate();
    void OnSize(UINT type, int width, int height);
    void OnStartFill();
    bool OnClose();
    bool OnSetCursor(LPARAM lParam);
    void OnWindowGone();
    void ShowMadeTable();
    void EditCellValue(const std::wstring& shown);
    void ShowPropertiesOf(const std::wstring& cellPath);
    // false when the window went during the fill (it is deleted then).
    [[nodiscard]] bool Fill();

    // ViewHost
    std::wstring Caption() const override;
    void SetCaption(std::wstring_view caption) override;
    void SetBusyPointer(bool busy) override;
    void ShowCancelCommand(bool shown) override;
    void ShowMessage(std::wstring_view text) override;
    bool AskYesNo(std::wstring_view text) override;
    std::wstring AskText(std::wstring_view prompt) override;
    void LetEventsRun() override;
    bool IsMaximized() const override;
    void RestoreSize() override;
    void FitToTable() override;
    void Redraw() override;
    int ListMode() const override;
    std::wstring StartFile() const override;

    // GridEvents
    void OnGridClick() override { UpdateStatus(); }
    void OnGridRowColChange() override { UpdateStatus(); }
    void OnGridDblClick() override { pendingAction_ = kActOnRelease; }
    void OnGridMouseUp(int button, int shift, int xTwips, int yTwips) override;
    void OnGridMouseMove(int button, int shift, int xTwips, int yTwips) override;
    void OnGridKeyDown(int keyCode, int shift) override;
    void OnGridKeyUp(int keyCode, int shift) override;
    void OnGridKeyPress(int character) override;
    void ActOnCell(int shift);

    Prompter& prompter_;
    Registry& registry_;
    ViewOwner& owner_;
    View view_;
    std::unique_ptr<GridWindow> grid_;
    SIZE frame_{}; // window size minus inner size, measured once
    bool busy_ = false;
    int fillDepth_ = 0;
    bool closeWhenFilled_ = false;
    bool windowGone_ = false;
    bool creating_ = false;
    bool filled_ = false; // filled once, or made from other views instead
    MessagePump pump_;
    static constexpr int kActOnRelease = 2;
    int pendingAction_ = 0; // kActOnRelease after a double-click or Enter, until the next mouse release
    int lastKey_ = 0;       // the shift state of the last key down, or VK_DELETE
    POINT tipAnchor_{};     // where the pointer was when a single-cell tooltip was set
    static int runningFills_;
};

} // namespace vantrel
