#include "shell/view_form.h"

#include "dialogs/custom_view/editor_model.h"
#include "views/custom_view_file.h"

#include "engine/clipboard_text.h"
#include "engine/grid_status.h"
#include "engine/window_fit.h"
#include "platform/clipboard.h"
#include "platform/system_message.h"
#include "shell/settings.h"
#include "shell/view_commands.h"
#include "ui/gdi_scope.h"
#include "ui/screen.h"
#include "ui/window_class.h"
#include "ui/window_text.h"
#include "views/catalogue.h"
#include "views/field.h"
#include "views/markers.h"
#include "views/text.h"

#include <cstdlib>

namespace vantrel {
namespace {

constexpr const wchar_t* kViewFormClass = L"VantrelViewWindow";
constexpr UINT kStartFillMessage = WM_APP + 1;
constexpr int kGridId = 1;

bool RegisterViewFormClass(WNDPROC procedure) {
    WNDCLASSEXW windowClass{};
    windowClass.lpfnWndProc = procedure;
    windowClass.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = kViewFormClass;
    return RegisterClassOnce(windowClass);
}

} // namespace

int ViewForm::runningFills_ = 0;

ViewForm::ViewForm(const ViewServices& services, Prompter& prompter, ViewOwner& owner, int twipsPerPixel)
    : prompter_(prompter), registry_(services.registry), owner_(owner),
      view_(services, *this, twipsPerPixel) {}

ViewForm* ViewForm::Create(HWND mdiClient, const ViewServices& services, Prompter& prompter, ViewOwner& owner,
                           const ViewOpening& opening) {
    if (!RegisterViewFormClass(&BaseWindow<ViewForm>::WindowProc))
        return nullptr;
    auto* form = new ViewForm(services, prompter, owner, ScreenTwipsPerPixel());
    TakeOpening(form->view_, opening, owner.MarkOption());

    MDICREATESTRUCTW create{};
    create.szClass = kViewFormClass;
    create.szTitle = L"";
    create.hOwner = GetModuleHandleW(nullptr);
    create.x = create.y = create.cx = create.cy = CW_USEDEFAULT;
    create.lParam = reinterpret_cast<LPARAM>(form);
    form->creating_ = true;
    const HWND hwnd =
        reinterpret_cast<HWND>(SendMessageW(mdiClient, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&create)));
    form->creating_ = false;
    if (hwnd == nullptr || form->windowGone_) {
        delete form;
        return nullptr;
    }
    return form;
}

ViewForm* ViewForm::FromWindow(HWND hwnd) {
    wchar_t className[64]{};
    if (hwnd == nullptr || GetClassNameW(hwnd, className, 64) == 0 ||
        std::wstring_view(className) != kViewFormClass)
        return nullptr;
    return reinterpret_cast<ViewForm*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

void ViewForm::Refresh() {
    view_.GetCurWidths();
    (void)Fill(); // the window may be gone after it: nothing follows
}

LRESULT ViewForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_MDIACTIVATE:
        owner_.ViewsChanged();
        break;
    case WM_CREATE:
        return OnCreate() ? 0 : -1;
    case WM_SIZE:
        OnSize(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
        break; // the MDI child procedure needs it too
    case kStartFillMessage:
        OnStartFill();
        return 0;
    case WM_CLOSE:
        if (!OnClose())
            return 0;
        break;
    case WM_SETCURSOR:
        if (OnSetCursor(lParam))
            return TRUE;
        break;
    default:
        break;
    }
    return DefMDIChildProcW(hwnd(), message, wParam, lParam);
}

bool ViewForm::OnCreate() {
    grid_ = GridWindow::Create(hwnd(), kGridId, view_.grid, *this, view_.twipsPerPixel());
    RECT window{}, client{};
    GetWindowRect(hwnd(), &window);
    GetClientRect(hwnd(), &client);
    frame_ = {(window.right - window.left) - client.right, (window.bottom - window.top) - client.bottom};
    return grid_ != nullptr;
}

void ViewForm::OnSize(UINT type, int width, int height) {
    // A new window fills itself once it is up, not inside the call that creates it.
    if (view_.FirstShown())
        PostMessageW(hwnd(), kStartFillMessage, 0, 0);
    if (type != SIZE_MINIMIZED && grid_ && grid_->hwnd())
        MoveWindow(grid_->hwnd(), 0, 0, width, height, TRUE);
}

void ViewForm::FillNow() {
    if (!filled_)
        (void)Fill(); // the window may be gone after it: nothing follows
}

// A command may have filled the window before its first fill came round to it.
void ViewForm::OnStartFill() {
    if (!filled_)
        (void)Fill(); // the window may be gone after it: nothing follows
}

bool ViewForm::Fill() {
    filled_ = true;
    ++fillDepth_;
    ++runningFills_;
    view_.fillflex();
    --runningFills_;
    --fillDepth_;
    if (fillDepth_ > 0)
        return true;
    if (windowGone_) {
        owner_.FillEnded();
        delete this;
        return false;
    }
    if (grid_)
        grid_->Refresh();
    if (closeWhenFilled_)
        PostMessageW(hwnd(), WM_CLOSE, 0, 0);
    owner_.FillEnded();
    owner_.ViewsChanged(); // the menus follow the filled view
    return true;
}

bool ViewForm::OnClose() {
    if (fillDepth_ == 0)
        return true;
    // Closing while filling: stop the fill first; the window closes when it has ended.
    view_.Stop();
    closeWhenFilled_ = true;
    return false;
}

bool ViewForm::OnSetCursor(LPARAM lParam) {
    if (!busy_ || LOWORD(lParam) != HTCLIENT)
        return false;
    SetCursor(LoadCursorW(nullptr, IDC_APPSTARTING));
    return true;
}

void ViewForm::OnWindowGone() {
    windowGone_ = true;
    owner_.ViewsChanged();
    if (creating_)
        return; // Create deletes a window that failed to come up
    if (fillDepth_ > 0) {
        view_.Abandon(); // deleted once the fill has unwound
        return;
    }
    delete this;
}

// --- ViewHost ---

std::wstring ViewForm::Caption() const {
    return hwnd() != nullptr ? WindowTextOf(hwnd()) : std::wstring();
}

void ViewForm::SetCaption(std::wstring_view caption) {
    if (hwnd() != nullptr)
        SetWindowTextW(hwnd(), std::wstring(caption).c_str());
}

void ViewForm::SetBusyPointer(bool busy) {
    busy_ = busy;
    POINT cursor{};
    if (hwnd() != nullptr && GetCursorPos(&cursor) && WindowFromPoint(cursor) == hwnd())
        SetCursor(LoadCursorW(nullptr, busy ? IDC_APPSTARTING : IDC_ARROW));
}

void ViewForm::ShowCancelCommand(bool shown) {
    owner_.ShowCancelCommand(shown);
}

void ViewForm::ShowMessage(std::wstring_view text) {
    prompter_.Message(hwnd(), text, MB_OK);
}

bool ViewForm::AskYesNo(std::wstring_view text) {
    return prompter_.Message(hwnd(), text, MB_YESNO) == IDYES;
}

std::wstring ViewForm::AskText(std::wstring_view prompt) {
    return prompter_.Input(hwnd(), prompt, L"").value_or(L"");
}

void ViewForm::LetEventsRun() {
    if (!pump_.LetMessagesRun())
        view_.Abandon(); // the program is ending
}

bool ViewForm::IsMaximized() const {
    return hwnd() != nullptr && IsZoomed(hwnd());
}

void ViewForm::RestoreSize() {
    if (hwnd() != nullptr)
        SendMessageW(GetParent(hwnd()), WM_MDIRESTORE, reinterpret_cast<WPARAM>(hwnd()), 0);
}

void ViewForm::FitToTable() {
    if (hwnd() == nullptr || grid_ == nullptr || IsIconic(hwnd()) || IsZoomed(hwnd()))
        return;
    const int tpp = view_.twipsPerPixel();
    const GridModel& model = view_.grid;
    // The grid's own border belongs to the table: without it the last row and column would need scroll bars.
    RECT gridWindow{}, gridClient{};
    GetWindowRect(grid_->hwnd(), &gridWindow);
    GetClientRect(grid_->hwnd(), &gridClient);
    TableFitInput in;
    in.tableWidth = ((gridWindow.right - gridWindow.left) - gridClient.right) * tpp;
    for (int c = 0; c < model.Cols(); ++c)
        in.tableWidth += model.ColWidth(c);
    in.tableHeight =
        ((gridWindow.bottom - gridWindow.top) - gridClient.bottom) * tpp + model.Rows() * grid_->RowHeight(0);
    in.frameHeightAllowance = frame_.cy * tpp;
    in.borderWidth = frame_.cx / 2 * tpp;
    RECT window{}, client{};
    GetWindowRect(hwnd(), &window);
    const HWND mdiClient = GetParent(hwnd());
    MapWindowPoints(nullptr, mdiClient, reinterpret_cast<POINT*>(&window), 2);
    GetClientRect(mdiClient, &client);
    in.windowLeft = window.left * tpp;
    in.windowTop = window.top * tpp;
    in.mainWidth = client.right * tpp;
    in.mainInnerHeight = client.bottom * tpp;
    const WindowSize size = FlexResize(in);
    SetWindowPos(hwnd(), nullptr, 0, 0, size.width / tpp, size.height / tpp,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void ViewForm::Redraw() {
    if (grid_ && grid_->hwnd())
        grid_->Refresh();
}

int ViewForm::ListMode() const {
    return owner_.ListMode();
}

std::wstring ViewForm::StartFile() const {
    return owner_.StartFile();
}

void ViewForm::UpdateStatus() {
    if (grid_ == nullptr)
        return;
    owner_.CellCommandsChanged(*this, CellCommandsFor(view_));
    const StatusTip tip = StatusText(view_);
    grid_->SetToolTipText(tip.text);
    grid_->tag = tip.tag;
}

void ViewForm::SortCurrentColumn() {
    view_.FlipSort(-1);
    if (grid_)
        grid_->Refresh();
    UpdateStatus();
}

void ViewForm::SortByCommand(std::wstring_view argument) {
    SortByArgument(view_, argument);
    if (grid_)
        grid_->Refresh();
    UpdateStatus();
}

void ViewForm::HighlightDifferences(bool on) {
    view_.HighlightDifferences(on);
    if (grid_)
        grid_->Refresh();
    UpdateStatus();
}

bool ViewForm::Copy2clip() {
    SetBusyPointer(true);
    const bool copied = SetClipboardText(hwnd(), Copy2clipText(view_.grid));
    SetBusyPointer(false);
    return copied;
}

void ViewForm::SelectAll() {
    view_.selectall();
    if (grid_)
        grid_->Refresh();
    UpdateStatus();
}

int ViewForm::ColR(int col) const {
    return grid_ ? grid_->ColPos(col) + view_.grid.ColWidth(col) : 0;
}

void ViewForm::ColReSize(int col, int weight) {
    if (grid_ == nullptr || grid_->hwnd() == nullptr)
        return;
    const int tpp = view_.twipsPerPixel();
    const WindowDc dc(grid_->hwnd());
    const SelectedObject font(dc.dc(),
                              reinterpret_cast<HGDIOBJ>(SendMessageW(grid_->hwnd(), WM_GETFONT, 0, 0)));
    const auto measure = [&](std::wstring_view text) {
        SIZE size{};
        GetTextExtentPoint32W(dc.dc(), text.data(), static_cast<int>(text.size()), &size);
        return size.cx * tpp;
    };
    RECT inner{};
    GetClientRect(hwnd(), &inner);
    view_.grid.SetColWidth(col, ColReSizeWidth(view_.grid, col, weight, inner.right * tpp, measure));
}

void ViewForm::ColsReSize() {
    for (int c = 0; c < view_.grid.Cols(); ++c)
        ColReSize(c, 6);
    Redraw();
}

void ViewForm::SaveColsAs() {
    const std::wstring path =
        owner_.ChooseCustomViewFile(true, ProposedCustomViewName(view_.customFile, Caption()));
    if (path.empty())
        return;
    if (const WriteResult saved = view_.SaveAsCustomFile(path); !saved)
        prompter_.Message(
            hwnd(), L"Could not save " + path + L": " + SystemMessage(saved.error().systemError), MB_OK);
}

void ViewForm::EditComputerList() {
    const std::vector<std::wstring> computers = prompter_.ChooseComputers(hwnd(), L"");
    if (computers.size() < 2)
        return;
    view_.GetCurWidths();
    view_.NewCompuRows(view_.columns.head.base, computers);
    Refresh();
}

// "&Edit current view ...": the view's definition in the custom view editor, and the view filled again
// from what the user made of it.
void ViewForm::EditCols() {
    if (fillDepth_ > 0)
        return;
    switch (view_.viewKind) {
    case ViewKind::IniTable:
        prompter_.Message(hwnd(), L"Sorry, this view cannot be edited.", MB_OK);
        return;
    case ViewKind::MultiComputer: {
        const int answer =
            prompter_.Message(hwnd(),
                              L"Note: This view does not enumerate its base registry key.\r\nInstead the "
                              L"displayed data rows are based on a specified list of computers.\r\n\r\nEdit "
                              L"the list of computers instead of the column data?",
                              MB_YESNOCANCEL);
        if (answer == IDYES)
            EditComputerList();
        if (answer != IDNO)
            return;
        break;
    }
    case ViewKind::Merged:
        if (view_.grid.Cols() >= 13 &&
            prompter_.Message(hwnd(), L"As this is a merged view, it can better not be edited.",
                              MB_OKCANCEL) == IDCANCEL)
            return;
        break;
    case ViewKind::ClassList:
        if (prompter_.Message(hwnd(),
                              L"Sorry, this view cannot be edited.\rSwitch to a new view on Class-ID's?",
                              MB_YESNO) != IDYES)
            return;
        view_.SwitchToRegistryView();
        break;
    default:
        break;
    }
    view_.GetCurWidths();
    ViewEditRequest request{
        .viewCaption = Caption(), .definition = view_.columns, .twipsPerPixel = view_.twipsPerPixel()};
    if (!prompter_.EditView(hwnd(), request))
        return;
    view_.TakeEditedColumns(std::move(request.definition));
    if (!Fill())
        return;
    SetCaption(EditedViewCaption(Caption()));
    owner_.ViewsChanged(); // "&Save view as ..." follows the kind
}

// The cell actions: 1 the properties of what the cell refers to, 2 the registry value behind the cell,
// edited.
void ViewForm::EditFile(int action) {
    const GridModel& grid = view_.grid;
    const int col = grid.Col();
    if (col < 0 || static_cast<size_t>(col) >= view_.colMap.size() ||
        view_.colMap[static_cast<size_t>(col)] < 0 || Caption().starts_with(L"Transpose"))
        return;
    const std::wstring shown = view_.CellPath(grid.RowSel(), grid.ColSel());
    if (action == 2)
        EditCellValue(shown);
    else
        ShowPropertiesOf(shown);
}

// What the cell refers to: a related built-in view, a file's properties, a PCI device's page, an article.
void ViewForm::ShowPropertiesOf(const std::wstring& cellPath) {
    const CellTarget target = view_.PropertiesTarget(cellPath, view_.grid.Row());
    switch (target.kind) {
    case CellTarget::Kind::RelatedView:
        owner_.OpenRelatedView(view_.computerName, target.viewNumber, target.text);
        break;
    case CellTarget::Kind::UnknownGuid:
        prompter_.Message(hwnd(), L"Could not find a matching:  msi,inprocsrv,localsrv,typelib,category",
                          MB_OK);
        break;
    case CellTarget::Kind::PciDevice:
        if (prompter_.Message(hwnd(),
                              L"Vendor: " + target.text + L"\rDevice: " + target.device +
                                  L"\rLook up on sourceforge?",
                              MB_OKCANCEL) == IDOK)
            prompter_.launcher().Launch(L"open", PciLookupPage(PciLookupAddress(registry_), target.text),
                                        L"");
        break;
    case CellTarget::Kind::File:
        prompter_.ShowFileProperties(hwnd(), target.text);
        break;
    case CellTarget::Kind::MissingFile:
        prompter_.Message(hwnd(), L"File: \"" + target.text + L"\"\rcould not be found.", MB_OK);
        break;
    case CellTarget::Kind::Article:
        prompter_.ShowArticle(hwnd(), target.text, KbSearchAddress(registry_));
        break;
    case CellTarget::Kind::Nothing:
        break;
    }
}

// The registry value behind the current cell, in the registry value editor; what the user typed is written
// only when the value still holds what it held when the editor opened.
void ViewForm::EditCellValue(const std::wstring& shown) {
    GridModel& grid = view_.grid;
    const int row = grid.Row();
    const int col = grid.Col();
    if (!view_.filePattern.empty() || view_.colMap[static_cast<size_t>(col)] == 0)
        return;
    const View::CellValue target = view_.CellValueOf(row, col);
    const std::wstring value =
        registry_.ReadValue(target.computer, RootKey::FromPath, target.keyPath, target.valueName);
    const bool missing = value == kValueMissing || value == kKeyMissing;
    if (value != shown) {
        const std::wstring first = missing
                                       ? L"The referred value does not exist in the registry."
                                       : L"The displayed text is not equal to the referred registry value.";
        const std::wstring warning = first +
                                     L"\nIt was either not read directly from this registry location or "
                                     L"the registry value has changed recently.\n\nDo you still want to "
                                     L"edit the referred registry value?";
        if (prompter_.TitledMessage(hwnd(), warning, L"Edit registry data", MB_OKCANCEL | MB_DEFBUTTON2) !=
            IDOK)
            return;
    }
    const std::wstring current = missing ? std::wstring() : value;
    RegistryValueEdit edit{target.keyPath, target.valueName, target.computer, value, shown};
    if (!prompter_.EditRegistryValue(hwnd(), edit) || edit.newData == current)
        return;
    SetBusyPointer(true);
    const long status = registry_.ChangeValue(target.computer, RootKey::FromPath, target.keyPath,
                                              target.valueName, current, edit.newData);
    SetBusyPointer(false);
    if (status == kValueChangedMeanwhile) {
        // The system's text for this code speaks of a lock; the user needs to hear what happened.
        prompter_.Message(
            hwnd(), L"Error 33: the value has changed since the view was filled; refresh the view.", MB_OK);
        return;
    }
    if (status != 0) {
        prompter_.Message(hwnd(),
                          L"Error " + std::to_wstring(status) + L": " +
                              SystemMessage(static_cast<std::uint32_t>(status)),
                          MB_OK);
        return;
    }
    grid.SetTextMatrix(row, col, edit.newData);
    view_.MarkDifferences();
    if (grid_)
        grid_->Refresh();
}
// "&Delete value" and the Delete key: the registry value behind the one selected data cell, after a question.
void ViewForm::DelkeyPressed() {
    GridModel& grid = view_.grid;
    const int row = grid.Row();
    const int col = grid.Col();
    const bool oneCell = grid.RowSel() == row && grid.ColSel() == col;
    if (col < 0 || static_cast<size_t>(col) >= view_.colMap.size() ||
        view_.colMap[static_cast<size_t>(col)] < 1 || !oneCell || grid.TextMatrix(row, col).empty())
        return;
    const std::wstring question = L"Registry key: \r" + view_.basePath + L"\\" + view_.ItemOfGridRow(row) +
                                  L"\r\rValue: \r" + view_.PlDat(view_.colMap[static_cast<size_t>(col)]) +
                                  L" = " + grid.TextMatrix(row, col) + L"\r\rErase value?";
    if (prompter_.TitledMessage(hwnd(), question, L"Delete source data", MB_OKCANCEL) != IDOK)
        return;
    if (const long status = view_.DeleteCellValue(row, col); status != 0) {
        prompter_.Message(hwnd(), L"Error: " + std::to_wstring(status), MB_OK);
        return;
    }
    if (grid_)
        grid_->Refresh();
}
// "Set Match &list": the current column's texts become the match list, after a question unless silent.
void ViewForm::AutoMatch(int silent) {
    if (silent == 0) {
        const std::wstring question = L"Set the match list to the current column: " +
                                      view_.grid.TextMatrix(0, view_.grid.Col()) + L"\nin the active view: " +
                                      Caption() + L" ? ";
        if (prompter_.Message(hwnd(), question, MB_YESNO) != IDYES)
            return;
    }
    view_.AutoMatch();
}

bool ViewForm::ShowTransposedOf(ViewForm& source) {
    filled_ = true;
    if (!view_.transpose(source.view_, source.Caption())) {
        DestroyWindow(hwnd());
        return false;
    }
    ShowMadeTable();
    return true;
}

void ViewForm::ShowMergeOf(std::span<View* const> sources) {
    filled_ = true;
    view_.NewMergeFrom(sources);
    ShowMadeTable();
}

// A table made from other views is shown as a fill would leave it.
void ViewForm::ShowMadeTable() {
    if (grid_)
        grid_->Refresh();
    FitToTable();
    owner_.ViewsChanged();
}

void ViewForm::OpenExcel() {
    owner_.ExportToSpreadsheet(*this);
}

void ViewForm::SetMatchColumn(int col) {
    if (!vantrel::SetMatchColumn(view_, col))
        return;
    UpdateStatus();
}

// --- GridEvents ---

void ViewForm::OnGridMouseUp(int button, int shift, int xTwips, int) {
    GridModel& grid = view_.grid;
    const int row = grid_->MouseRow();
    const int col = grid_->MouseCol();
    if (button > 1) {
        if (grid.Row() == grid.RowSel() && grid.Col() == grid.ColSel() && row >= 0 && col >= 0) {
            grid.SetRow(row);
            grid.SetCol(col);
            grid_->Refresh();
            UpdateStatus();
        }
        pendingAction_ = 0;
        owner_.PopupEditMenu();
        return;
    }
    if (pendingAction_ != kActOnRelease)
        return;
    pendingAction_ = 0;
    if (row == 0 && col >= 0) {
        // Near a header's right edge the column fits its texts; elsewhere on the header it sorts.
        if (xTwips > ColR(col) - 3 * view_.twipsPerPixel()) {
            ColReSize(col, 9);
            grid_->Refresh();
        } else {
            view_.FlipSort(col);
            grid_->Refresh();
            UpdateStatus();
        }
        return;
    }
    if (row > 0)
        ActOnCell(shift);
}

void ViewForm::ActOnCell(int shift) {
    const std::wstring clip = view_.grid.Clip();
    if (clip.find(L'\r') != std::wstring::npos || shift != 0) {
        std::wstring message;
        for (const wchar_t c : SelectionMessage(clip, grid_->ToolTipText()))
            message += c == L'\r' ? std::wstring(L"\r\n") : std::wstring(1, c);
        prompter_.Message(hwnd(), message, MB_OK);
        return;
    }
    const int col = grid_->MouseCol();
    if (col < 0 || static_cast<size_t>(col) >= view_.colMap.size() ||
        view_.colMap[static_cast<size_t>(col)] < 0)
        return;
    const CellCommands commands = CellCommandsFor(view_);
    if (commands.properties)
        EditFile(1);
    else if (commands.editValue)
        EditFile(2);
}

// A single-cell tooltip goes as soon as the pointer has moved on from where it was set.
void ViewForm::OnGridMouseMove(int, int, int xTwips, int yTwips) {
    std::wstring& tag = grid_->tag;
    if (tag == L"0" || tag.empty())
        return;
    if (tag == L"1") {
        tipAnchor_ = {xTwips, yTwips};
        tag = L"5";
    }
    if (std::abs(xTwips - tipAnchor_.x) + std::abs(yTwips - tipAnchor_.y) > 5) {
        grid_->SetToolTipText(L"");
        tag = L"0";
    }
}

void ViewForm::OnGridKeyDown(int keyCode, int shift) {
    lastKey_ = keyCode == VK_DELETE ? VK_DELETE : shift;
}

void ViewForm::OnGridKeyUp(int keyCode, int shift) {
    if (keyCode == VK_SPACE || keyCode == VK_MENU || shift != 0)
        return;
    if (keyCode == VK_DELETE && lastKey_ == VK_DELETE && CellCommandsFor(view_).deleteValue)
        DelkeyPressed();
    lastKey_ = shift;
}

void ViewForm::OnGridKeyPress(int character) {
    if (character == VK_ESCAPE)
        view_.Stop();
    if (character == VK_RETURN) {
        // Enter acts on the cell under the pointer as the grid last saw it, as a double-click there would.
        pendingAction_ = kActOnRelease;
        OnGridMouseUp(1, 0, 0, 0);
    }
    lastKey_ = 0;
}

} // namespace vantrel
