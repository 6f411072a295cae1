#include "dialogs/custom_view/custom_view_editor.h"

#include "dialogs/custom_view/custom_view_editor_ids.h"
#include "platform/clipboard.h"
#include "ui/modal_loop.h"
#include "ui/tooltips.h"
#include "ui/window_text.h"

#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

namespace vantrel {
namespace {

// Key presses that are no characters: F4 and "&Modify" open the editor with its list dropped.
constexpr int kModifyKey = 371;
constexpr int kCtrlC = 3, kBackspace = 8, kEnter = 13, kCtrlV = 22, kCtrlX = 24;

constexpr const wchar_t* kGridTip = L"Dblclick or hit F2 to modify, or F4 to choose from a list";
constexpr const wchar_t* kMaskTip = L"Specify which installer files to look for (e.g. *.msi;*.mst)";
constexpr const wchar_t* kDataTip =
    L"(default)=@, !* at the end means take previous column if no value found";
constexpr const wchar_t* kConditionTip = L"Note: condition is only checked when the column is in the view";

constexpr int kBaseKeyFrame[] = {IDC_CV_FRAME_KEY, IDC_CV_BASE_KEY, IDC_CV_FAVORITES, IDC_CV_REGEDIT,
                                 IDC_CV_KEYS_LEGEND};
constexpr int kFolderFrame[] = {IDC_CV_FRAME_PATH,   IDC_CV_FOLDER, IDC_CV_MASK_LABEL,  IDC_CV_MASK,
                                IDC_CV_LEVELS_LABEL, IDC_CV_LEVELS, IDC_CV_LEVELS_SPIN, IDC_CV_EXPLORER};

void SetText(HWND window, std::wstring_view text) {
    SetWindowTextW(window, std::wstring(text).c_str());
}

void FillCombo(HWND combo, const std::vector<std::wstring>& entries) {
    SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    for (const std::wstring& entry : entries)
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
}

bool IsCombo(HWND window) {
    wchar_t name[32]{};
    GetClassNameW(window, name, 32);
    return std::wstring_view(name) == L"ComboBox";
}

// Puts the caret at the end of an edit box or a combo's edit field.
void CaretToEnd(HWND editor) {
    const auto end = static_cast<WPARAM>(GetWindowTextLengthW(editor));
    if (IsCombo(editor))
        SendMessageW(editor, CB_SETEDITSEL, 0, MAKELPARAM(end, end));
    else
        SendMessageW(editor, EM_SETSEL, end, static_cast<LPARAM>(end));
}

// The text of a combo box's list entry (empty when there is no such entry).
std::wstring EntryText(HWND combo, LRESULT index) {
    const LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == CB_ERR)
        return {};
    std::wstring entry(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT copied =
        SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(entry.data()));
    entry.resize(copied == CB_ERR ? 0 : static_cast<size_t>(copied));
    return entry;
}

// The first list entry equal to the text, letter case included (the combo's own search ignores case).
LRESULT FindExactEntry(HWND combo, const std::wstring& text) {
    const LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i)
        if (SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0) ==
                static_cast<LRESULT>(text.size()) &&
            EntryText(combo, i) == text)
            return i;
    return CB_ERR;
}

} // namespace

CustomViewEditor::CustomViewEditor(Registry& registry, Programs& programs, int twipsPerPixel)
    : registry_(registry), programs_(programs), twipsPerPixel_(twipsPerPixel > 0 ? twipsPerPixel : 15) {}

CustomViewEditor::~CustomViewEditor() {
    Close();
}

// --- Showing and running
// --------------------------------------------------------------------------------------------

bool CustomViewEditor::Create(HWND owner) {
    if (!CreateModeless(owner, IDD_CUSTOM_VIEW))
        return false;
    // The grid takes the place the template keeps for it; the in-place editors lie above it.
    const HWND place = control(IDC_CV_GRID);
    RECT area{};
    GetWindowRect(place, &area);
    MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&area), 2);
    grid_ = GridWindow::Create(hwnd(), IDC_CV_GRID + 100, model_.grid, *this, twipsPerPixel_);
    if (!grid_) {
        Close(); // a dialog without its grid is of no use, now or at the next opening
        return false;
    }
    // As high as its rows, so that every column row shows without scrolling.
    RECT frame{0, 0, 0, 0};
    AdjustWindowRectEx(&frame, 0, FALSE, WS_EX_CLIENTEDGE);
    const int rowsHeight =
        (grid_->RowPos(kLastEditorRow) + grid_->RowHeight(kLastEditorRow)) / twipsPerPixel_;
    const int height = std::min<int>(area.bottom - area.top, rowsHeight + frame.bottom - frame.top);
    SetWindowPos(grid_->hwnd(), place, area.left, area.top, area.right - area.left, height, SWP_NOACTIVATE);
    for (const int editor : {IDC_CV_EDIT_TEXT, IDC_CV_EDIT_DATA, IDC_CV_EDIT_CONDITION, IDC_CV_EDIT_EXTRA})
        SetWindowPos(control(editor), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    grid_->SetToolTipText(kGridTip);

    tooltips_.reset(CreateControlTooltips(hwnd()));
    AddControlTooltip(tooltips_.get(), control(IDC_CV_MASK), kMaskTip);
    AddControlTooltip(tooltips_.get(), control(IDC_CV_EDIT_DATA), kDataTip);
    AddControlTooltip(tooltips_.get(), control(IDC_CV_EDIT_CONDITION), kConditionTip);
    FillCombo(control(IDC_CV_EDIT_CONDITION), EditorModel::ConditionExamples());
    FillCombo(control(IDC_CV_EDIT_EXTRA), EditorModel::ExtraExamples());
    SendMessageW(control(IDC_CV_LEVELS_SPIN), SBM_SETRANGE, -kMaxLevels, 0);
    return true;
}

bool CustomViewEditor::Open(HWND owner) {
    owner_ = owner;
    if (hwnd() == nullptr && !Create(owner))
        return false;
    editResult_ = 0;
    model_.editCell = 0;
    currentEditor_ = nullptr;
    model_.Activate(registry_);
    RECT inner{};
    GetClientRect(grid_->hwnd(), &inner);
    model_.FitDataColumn(inner.right * twipsPerPixel_);
    ShowModel();
    SendMessageW(control(IDC_CV_EDIT_DATA), CB_RESETCONTENT, 0, 0);
    SendMessageW(control(IDC_CV_EDIT_CONDITION), CB_SETCURSEL, 0, 0);
    SendMessageW(control(IDC_CV_EDIT_EXTRA), CB_SETCURSEL, 0, 0);
    ShowWindow(hwnd(), SW_SHOW);
    SetForegroundWindow(hwnd());
    SetFocus(control(model_.folderBase ? IDC_CV_FOLDER : IDC_CV_BASE_KEY));
    return true;
}

int CustomViewEditor::ShowModal(HWND owner) {
    if (!Open(owner))
        return 0;
    const bool ownerWasEnabled = owner != nullptr && IsWindowEnabled(owner);
    if (ownerWasEnabled)
        EnableWindow(owner, FALSE);
    RunModalLoop([this] { return IsShown(); }, [this](MSG& message) { Dispatch(message); },
                 [this] {
                     editResult_ = 0;
                     Close();
                 });
    if (ownerWasEnabled) {
        EnableWindow(owner, TRUE);
        SetActiveWindow(owner);
    }
    return editResult_;
}

void CustomViewEditor::RunPendingMessages() {
    RunWaitingMessages([this](MSG& message) { Dispatch(message); });
}

void CustomViewEditor::Dispatch(MSG& message) {
    if (hwnd() != nullptr && message.message == WM_KEYDOWN) {
        const auto key = static_cast<int>(message.wParam);
        if (currentEditor_ != nullptr && IsEditorWindow(message.hwnd) && IsWindowVisible(currentEditor_)) {
            const bool listDropped =
                IsCombo(currentEditor_) && SendMessageW(currentEditor_, CB_GETDROPPEDSTATE, 0, 0) != 0;
            if (key == VK_RETURN && !listDropped) {
                CommitCellEdit();
                return;
            }
            if (key == VK_ESCAPE && !listDropped) {
                CancelCellEdit();
                return;
            }
        }
        if (message.hwnd == control(IDC_CV_LEVELS) && (key == VK_UP || key == VK_DOWN)) {
            model_.LevelsStep(key == VK_UP ? -1 : 1);
            SetText(control(IDC_CV_LEVELS), model_.levels);
            SendMessageW(control(IDC_CV_LEVELS_SPIN), SBM_SETPOS, static_cast<WPARAM>(model_.SpinValue()),
                         TRUE);
            return;
        }
        if (grid_ && message.hwnd == grid_->hwnd() && (key == VK_ESCAPE || key == VK_TAB)) {
            // The grid wants every key; Escape and Tab still belong to the dialog.
            if (key == VK_ESCAPE)
                OnCancel();
            else
                SetFocus(GetNextDlgTabItem(hwnd(), grid_->hwnd(), GetKeyState(VK_SHIFT) < 0));
            return;
        }
    }
    if (hwnd() != nullptr && IsDialogMessageW(hwnd(), &message))
        return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

bool CustomViewEditor::IsEditorWindow(HWND window) const {
    return window != nullptr && (window == currentEditor_ || IsChild(currentEditor_, window));
}

void CustomViewEditor::OnOk() {
    ReadControls();
    model_.Accept();
    SetText(control(IDC_CV_BASE), model_.base);
    editResult_ = 1;
    ShowWindow(hwnd(), SW_HIDE);
}

// Escape while a cell is edited only ends that edit; otherwise the dialog closes without a change.
void CustomViewEditor::OnCancel() {
    if (model_.Editing()) {
        CancelCellEdit();
        return;
    }
    editResult_ = 0;
    Close();
}

void CustomViewEditor::Close() {
    if (hwnd() != nullptr)
        DestroyWindow(hwnd());
}

// --- Messages
// -------------------------------------------------------------------------------------------------------

INT_PTR CustomViewEditor::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_VSCROLL:
        return OnVScroll(LOWORD(wParam), reinterpret_cast<HWND>(lParam));
    case WM_CLOSE:
        OnClose();
        return TRUE;
    case WM_DESTROY:
        OnDestroy();
        return FALSE;
    default:
        return FALSE;
    }
}

// The system menu's Close closes without a change, even during an in-place edit.
void CustomViewEditor::OnClose() {
    editResult_ = 0;
    Close();
}

// However the dialog goes (Cancel, or with its owner), the grid and the tooltips go first, and what the
// controls still report on the way out is not taken for an edit.
void CustomViewEditor::OnDestroy() {
    currentEditor_ = nullptr;
    grid_.reset();
    tooltips_.reset();
}

void CustomViewEditor::OnCommand(int id, int notification) {
    switch (id) {
    case IDOK:
        OnOk();
        return;
    case IDCANCEL:
        OnCancel();
        return;
    case IDC_CV_EDIT_TEXT:
        if (notification == EN_KILLFOCUS)
            CommitCellEdit();
        return;
    case IDC_CV_EDIT_DATA:
        if (notification == CBN_DROPDOWN)
            OnDataListOpening();
        [[fallthrough]];
    case IDC_CV_EDIT_CONDITION:
    case IDC_CV_EDIT_EXTRA:
        if (notification == CBN_KILLFOCUS)
            CommitCellEdit();
        return;
    case IDC_CV_UP:
    case IDM_CV_MOVE_UP:
        RowOperation(RowOperation::Up);
        return;
    case IDC_CV_DOWN:
    case IDM_CV_MOVE_DOWN:
        RowOperation(RowOperation::Down);
        return;
    case IDC_CV_ERASE:
    case IDM_CV_ERASE:
        RowOperation(RowOperation::Erase);
        return;
    case IDM_CV_MODIFY:
        OnGridKeyPress(kModifyKey);
        return;
    case IDM_CV_COPY:
        OnGridKeyPress(kCtrlC);
        return;
    case IDM_CV_PASTE:
        OnGridKeyPress(kCtrlV);
        return;
    case IDC_CV_ALL:
        ReadControls();
        model_.AllColumns();
        ShowOrders();
        SetFocus(control(IDC_CV_ORDER_D));
        return;
    case IDC_CV_SAME_ORDER:
        model_.sameOrder = IsDlgButtonChecked(hwnd(), IDC_CV_SAME_ORDER) == BST_CHECKED;
        SetFocus(grid_->hwnd());
        return;
    case IDC_CV_BASE_KEY:
        if (notification == CBN_EDITCHANGE || notification == CBN_SELCHANGE)
            OnBaseKeyEdited(notification);
        return;
    case IDC_CV_LEVELS:
        if (notification == EN_CHANGE) {
            model_.SetLevels(WindowTextOf(control(IDC_CV_LEVELS)));
            SendMessageW(control(IDC_CV_LEVELS_SPIN), SBM_SETPOS, static_cast<WPARAM>(model_.SpinValue()),
                         TRUE);
        }
        return;
    case IDC_CV_FAVORITES:
        ReadControls();
        // A favourite that cannot be written is simply missing from regedit's list; the editor says nothing.
        static_cast<void>(model_.AddBaseKeyToFavorites(registry_));
        return;
    case IDC_CV_REGEDIT:
        programs_.Start(kRegeditCommand);
        return;
    case IDC_CV_EXPLORER:
        ReadControls();
        programs_.Start(model_.ExplorerCommand());
        return;
    default:
        return;
    }
}

bool CustomViewEditor::OnVScroll(int request, HWND bar) {
    if (bar != control(IDC_CV_LEVELS_SPIN))
        return false;
    OnLevelsSpin(request);
    return true;
}

void CustomViewEditor::OnLevelsSpin(int request) {
    int value = model_.SpinValue();
    if (request == SB_LINEUP)
        --value;
    else if (request == SB_LINEDOWN)
        ++value;
    else
        return;
    model_.SetSpinValue(value);
    SendMessageW(control(IDC_CV_LEVELS_SPIN), SBM_SETPOS, static_cast<WPARAM>(model_.SpinValue()), TRUE);
    SetText(control(IDC_CV_LEVELS), model_.levels);
    SetFocus(control(IDC_CV_LEVELS));
}

// --- Model and controls
// ----------------------------------------------------------------------------------------------

void CustomViewEditor::ShowModel() {
    SetText(hwnd(), model_.caption);
    SetText(control(IDC_CV_BASE), model_.base);
    ShowOrders();
    CheckDlgButton(hwnd(), IDC_CV_SAME_ORDER, model_.sameOrder ? BST_CHECKED : BST_UNCHECKED);
    FillCombo(control(IDC_CV_BASE_KEY), model_.baseKeys);
    SetText(control(IDC_CV_BASE_KEY), model_.baseKey);
    FillCombo(control(IDC_CV_FOLDER), model_.folders);
    SetText(control(IDC_CV_FOLDER), model_.folder);
    SetText(control(IDC_CV_MASK), model_.fileMask);
    SetText(control(IDC_CV_LEVELS), model_.levels);
    SendMessageW(control(IDC_CV_LEVELS_SPIN), SBM_SETPOS, static_cast<WPARAM>(model_.SpinValue()), TRUE);
    FillCombo(control(IDC_CV_STANDARD_VIEWS), model_.standardViews);
    SendMessageW(control(IDC_CV_STANDARD_VIEWS), CB_SETCURSEL, 0, 0);
    ShowFrames();
    grid_->Refresh();
}

void CustomViewEditor::ShowOrders() {
    SetText(control(IDC_CV_ORDER), model_.colsOrder);
    SetText(control(IDC_CV_ORDER_D), model_.colsOrderD);
}

void CustomViewEditor::ShowFrames() {
    for (const int id : kBaseKeyFrame)
        ShowWindow(control(id), model_.folderBase ? SW_HIDE : SW_SHOW);
    for (const int id : kFolderFrame)
        ShowWindow(control(id), model_.folderBase ? SW_SHOW : SW_HIDE);
}

// The base key typed or chosen from its list. The Data editor's list holds what was found under the old key:
// it is emptied, and its next opening offers what the model has for the new one.
void CustomViewEditor::OnBaseKeyEdited(int notification) {
    const HWND combo = control(IDC_CV_BASE_KEY);
    // While the selection changes the edit field still shows the old entry.
    const LRESULT chosen = SendMessageW(combo, CB_GETCURSEL, 0, 0);
    model_.BaseKeyChanged(notification == CBN_SELCHANGE && chosen != CB_ERR ? EntryText(combo, chosen)
                                                                            : WindowTextOf(combo));
    SendMessageW(control(IDC_CV_EDIT_DATA), CB_RESETCONTENT, 0, 0);
}

void CustomViewEditor::ReadControls() {
    model_.colsOrder = WindowTextOf(control(IDC_CV_ORDER));
    model_.colsOrderD = WindowTextOf(control(IDC_CV_ORDER_D));
    model_.sameOrder = IsDlgButtonChecked(hwnd(), IDC_CV_SAME_ORDER) == BST_CHECKED;
    model_.baseKey = WindowTextOf(control(IDC_CV_BASE_KEY));
    model_.folder = WindowTextOf(control(IDC_CV_FOLDER));
    model_.fileMask = WindowTextOf(control(IDC_CV_MASK));
    model_.levels = WindowTextOf(control(IDC_CV_LEVELS));
}

// --- In-place editing
// -------------------------------------------------------------------------------------------------

// Opens the editor of the current cell's column over the cell, with the cell's text; false when the cell
// may not be edited.
bool CustomViewEditor::OpenCellEditor() {
    const GridModel& grid = model_.grid;
    const int row = grid.Row(), col = grid.Col();
    if (!model_.BeginEdit(row, col))
        return false;
    POINT origin{};
    MapWindowPoints(grid_->hwnd(), hwnd(), &origin, 1); // the grid's inner area in the dialog
    const int tpp = twipsPerPixel_;
    const int left = origin.x + (grid_->ColPos(col) + 45) / tpp;
    const int top = origin.y + (grid_->RowPos(row) + 15) / tpp;
    const int width = grid.ColWidth(col) / tpp;
    const std::wstring& text = grid.TextMatrix(row, col);
    if (col == kWidthCol || col == kHeaderCol) {
        currentEditor_ = control(IDC_CV_EDIT_TEXT);
        SetWindowPos(currentEditor_, HWND_TOP, left, top, width + 1, grid_->RowHeight(row) / tpp,
                     SWP_SHOWWINDOW);
        SetText(currentEditor_, text);
    } else {
        currentEditor_ = control(col == kDataCol        ? IDC_CV_EDIT_DATA
                                 : col == kConditionCol ? IDC_CV_EDIT_CONDITION
                                                        : IDC_CV_EDIT_EXTRA);
        RECT box{};
        GetWindowRect(currentEditor_, &box);
        SetWindowPos(currentEditor_, HWND_TOP, left, top, width, box.bottom - box.top, SWP_SHOWWINDOW);
        // The editor always starts from the cell's text: the entry of its list that matches it exactly, else
        // the text as a new first entry.
        LRESULT found = FindExactEntry(currentEditor_, text);
        if (found == CB_ERR)
            found = SendMessageW(currentEditor_, CB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        SendMessageW(currentEditor_, CB_SETCURSEL, static_cast<WPARAM>(found), 0);
    }
    SetFocus(currentEditor_);
    return true;
}

// The editor's text goes into its cell (unless the edit was cancelled) and the editor hides.
void CustomViewEditor::CommitCellEdit() {
    if (committing_ || currentEditor_ == nullptr || !IsWindowVisible(currentEditor_))
        return;
    committing_ = true;
    const std::wstring text = WindowTextOf(currentEditor_);
    const bool hadFocus = IsEditorWindow(GetFocus());
    ShowWindow(currentEditor_, SW_HIDE);
    if (hadFocus && grid_)
        SetFocus(grid_->hwnd());
    model_.Commit(text);
    if (grid_)
        grid_->Refresh();
    committing_ = false;
}

void CustomViewEditor::CancelCellEdit() {
    model_.CancelEdit();
    if (grid_)
        SetFocus(grid_->hwnd()); // the editor hides as it loses the focus, writing nothing
    CommitCellEdit();
}

void CustomViewEditor::OnDataListOpening() {
    const HWND editor = control(IDC_CV_EDIT_DATA);
    RECT box{};
    GetWindowRect(editor, &box);
    SetWindowPos(editor, nullptr, 0, 0, kDataEditorListWidthTwips / twipsPerPixel_, box.bottom - box.top,
                 SWP_NOMOVE | SWP_NOZORDER);
    ReadControls();
    const auto held = static_cast<size_t>(std::max<LRESULT>(SendMessageW(editor, CB_GETCOUNT, 0, 0), 0));
    for (const std::wstring& entry : model_.DataEditorEntries(registry_, held))
        SendMessageW(editor, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
}

void CustomViewEditor::RowOperation(vantrel::RowOperation operation) {
    SetFocus(grid_->hwnd());
    ReadControls();
    model_.MoveRows(operation);
    ShowOrders();
    grid_->Refresh();
}

// --- The grid's keys and menus
// --------------------------------------------------------------------------------------

void CustomViewEditor::OnGridDblClick() {
    OpenCellEditor();
}

void CustomViewEditor::OnGridKeyDown(int keyCode, int shift) {
    if (keyCode == VK_DELETE) {
        if (shift & gridinput::kShift) {
            OnGridKeyPress(kCtrlX);
        } else {
            model_.SetSelectionText(L"");
            grid_->Refresh();
        }
    } else if (keyCode == VK_F2) {
        OnGridKeyPress(kEnter);
    } else if (keyCode == VK_F4) {
        OnGridKeyPress(kModifyKey);
    }
}

void CustomViewEditor::OnGridKeyPress(int character) {
    if (character == kCtrlV) {
        if (const auto text = ClipboardText(hwnd())) {
            model_.SetSelectionText(*text);
            grid_->Refresh();
        }
        return;
    }
    if (character == kCtrlC) {
        (void)SetClipboardText(hwnd(),
                               model_.SelectionText()); // another program holds the clipboard: no copy
        return;
    }
    if (character == kBackspace) {
        RowOperation(RowOperation::Erase);
        return;
    }
    if (character == kCtrlX) {
        if (!SetClipboardText(hwnd(), model_.SelectionText()))
            return; // what could not be copied is not cut either
        model_.SetSelectionText(L"");
        grid_->Refresh();
    }
    if (!OpenCellEditor())
        return;
    // The key that opened the editor arrives in it: F4 drops the list, Enter puts the caret at the end, and
    // a typed character starts the text anew.
    if (character == kModifyKey) {
        if (IsCombo(currentEditor_))
            SendMessageW(currentEditor_, CB_SHOWDROPDOWN, TRUE, 0);
    } else if (character == kEnter) {
        CaretToEnd(currentEditor_);
    } else if (character >= 33) { // blanks and other control keys open the editor without typing
        SetText(currentEditor_, std::wstring(1, static_cast<wchar_t>(character)));
        CaretToEnd(currentEditor_);
    }
}

void CustomViewEditor::OnGridMouseUp(int button, int, int, int) {
    if (button != gridinput::kRightButton)
        return;
    const int row = grid_->MouseRow(), col = grid_->MouseCol();
    if (row <= 0 || col <= 0)
        return;
    SetFocus(grid_->hwnd());
    GridModel& grid = model_.grid;
    const bool inSelection =
        row >= std::min(grid.Row(), grid.RowSel()) && row <= std::max(grid.Row(), grid.RowSel()) &&
        col >= std::min(grid.Col(), grid.ColSel()) && col <= std::max(grid.Col(), grid.ColSel());
    if (!inSelection) {
        grid.SetRow(row);
        grid.SetCol(col);
        grid_->Refresh();
    }
    ShowCellMenu();
}

HMENU CreateGridMenu(bool block, bool pasteAvailable) {
    const HMENU menu = CreatePopupMenu();
    if (block) {
        AppendMenuW(menu, MF_STRING, IDM_CV_COPY, L"&Copy");
        return menu;
    }
    AppendMenuW(menu, MF_STRING, IDM_CV_MODIFY, L"&Modify");
    AppendMenuW(menu, MF_STRING, IDM_CV_COPY, L"&Copy");
    AppendMenuW(menu, MF_STRING | (pasteAvailable ? 0 : MF_GRAYED), IDM_CV_PASTE, L"&Paste");
    AppendMenuW(menu, MF_STRING, IDM_CV_MOVE_UP, L"Move &Up");
    AppendMenuW(menu, MF_STRING, IDM_CV_MOVE_DOWN, L"Move &Down");
    AppendMenuW(menu, MF_STRING, IDM_CV_ERASE, L"&Erase");
    return menu;
}

void CustomViewEditor::ShowCellMenu() {
    const GridModel& grid = model_.grid;
    const bool block = grid.Row() != grid.RowSel() || grid.Col() != grid.ColSel();
    const UniqueMenu menu(CreateGridMenu(block, ClipboardHasText()));
    POINT at{};
    GetCursorPos(&at);
    TrackPopupMenu(menu.get(), TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, hwnd(), nullptr);
}

} // namespace vantrel
