#pragma once
// The custom view editor: the dialog in which the user changes a view's base, its column orders and its
// columns. Its state and rules are the EditorModel's; this is the window: the frames, the column grid with
// its in-place editors, the keys and menus on the grid, and the modal run. After OK the dialog is only
// hidden, so the next edit finds its lists as they were; Cancel closes it.
#include "dialogs/custom_view/editor_model.h"
#include "platform/programs.h"
#include "platform/unique_handle.h"
#include "ui/base_dialog.h"
#include "ui/grid_window.h"

#include <windows.h>

#include <memory>

namespace vantrel {

// The grid's pop-up menu, the caller's to destroy: "&Copy" alone for a block of cells, the cell menu for one
// cell ("&Paste" only when the clipboard holds text). Its commands go to the editor as WM_COMMAND.
[[nodiscard]] HMENU CreateGridMenu(bool block, bool pasteAvailable);

class CustomViewEditor final : public BaseDialog<CustomViewEditor>, private GridEvents {
public:
    CustomViewEditor(Registry& registry, Programs& programs, int twipsPerPixel);
    ~CustomViewEditor() override;
    CustomViewEditor(const CustomViewEditor&) = delete;
    CustomViewEditor& operator=(const CustomViewEditor&) = delete;

    EditorModel& model() { return model_; }

    // Creates the dialog on first use, activates it with the model's contents and shows it without waiting.
    [[nodiscard]] bool Open(HWND owner);
    // Open, then runs the messages until OK hides the dialog or Cancel closes it: 1 after OK, else 0.
    [[nodiscard]] int ShowModal(HWND owner);
    // One message as the modal run handles it: Enter and Escape in the in-place editors, arrow keys in the
    // levels box, the dialog keys.
    void Dispatch(MSG& message);
    // Every message waiting now, through Dispatch.
    void RunPendingMessages();

    int editResult() const { return editResult_; }
    bool IsShown() const { return hwnd() != nullptr && IsWindowVisible(hwnd()); }
    bool IsClosed() const { return hwnd() == nullptr; }
    HWND control(int id) const { return GetDlgItem(hwnd(), id); }
    GridWindow* grid() const { return grid_.get(); }
    // The in-place editor in use (shown or not), or nullptr before the first edit.
    HWND currentEditor() const { return currentEditor_; }

private:
    friend class BaseDialog<CustomViewEditor>;
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    [[nodiscard]] bool Create(HWND owner);
    void OnCommand(int id, int notification);
    [[nodiscard]] bool OnVScroll(int request, HWND bar);
    void OnLevelsSpin(int request);
    void OnBaseKeyEdited(int notification);
    void OnOk();
    void OnCancel();
    void OnClose();
    void OnDestroy();
    void Close();

    // The model's fields into the controls, and the controls' texts back into the model.
    void ShowModel();
    void ShowOrders();
    void ReadControls();
    void ShowFrames();

    // In-place editing.
    bool OpenCellEditor();
    void CommitCellEdit();
    void CancelCellEdit();
    void OnDataListOpening();
    void RowOperation(vantrel::RowOperation operation);
    void ShowCellMenu();

    // GridEvents
    void OnGridDblClick() override;
    void OnGridKeyDown(int keyCode, int shift) override;
    void OnGridKeyPress(int character) override;
    void OnGridMouseUp(int button, int shift, int xTwips, int yTwips) override;

    bool IsEditorWindow(HWND window) const;

    Registry& registry_;
    Programs& programs_;
    int twipsPerPixel_;
    EditorModel model_;
    HWND owner_ = nullptr;
    UniqueWindow tooltips_;
    std::unique_ptr<GridWindow> grid_;
    HWND currentEditor_ = nullptr;
    bool committing_ = false;
    int editResult_ = 0;
};

} // namespace vantrel
