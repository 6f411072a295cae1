#include "dialogs/computer_list/computer_list_dialog.h"

#include "dialogs/computer_list/computer_list_dialog_ids.h"
#include "dialogs/computer_list/drop_diagnostics.h"
#include "platform/clipboard.h"
#include "platform/object_picker.h"
#include "ui/messages.h"
#include "ui/modal_loop.h"
#include "ui/tooltips.h"
#include "ui/window_text.h"

#include <commctrl.h>

#include <algorithm>
#include <iterator>
#include <utility>

namespace vantrel {
namespace {

constexpr std::wstring_view kOneIntro = L"Type a computer name or choose one from the list below. To add ";
constexpr std::wstring_view kSeveralIntro =
    L"Use Ctrl to select multiple computers in the list below. To add ";
constexpr std::wstring_view kHowToAdd = L"computers to the list, drag-and-drop computer names from a network "
                                        L"neighborhood explorer window, paste (ctrl-v), or click the browse "
                                        L"button to select computers in your network environment.";
constexpr std::wstring_view kOnePrompt =
    L"Click Open to connect and open the current view for this compu&ter:";
constexpr const wchar_t* kLocalTip = L"Open the current view on your local computer";
constexpr std::wstring_view kPingCaption = L"&Ping";
constexpr std::wstring_view kCancelPingCaption = L"Cancel &Ping";

// The format the explorer's network window offers dropped computers in; its usual number when it cannot be
// registered.
constexpr const wchar_t* kNetResourceFormat = L"Net Resource";
constexpr CLIPFORMAT kUsualNetResourceNumber = 49159;

constexpr UINT_PTR kPingTimer = 1;
constexpr UINT kPingIntervalMs = 200;

constexpr int kBrowseMaximum = 999;

// Answers to WM_VKEYTOITEM: the key was handled here, or the list box handles it as usual.
constexpr INT_PTR kKeyHandled = -2;
constexpr INT_PTR kKeyDefault = -1;

constexpr ControlAnchor kAnchors[] = {
    {IDC_CL_INSTRUCTIONS, kGrowWithWidth},
    {IDC_CL_PROMPT, kGrowWithWidth},
    {IDC_CL_NAME, kGrowWithWidth},
    {IDC_CL_LOCAL, kGrowWithWidth},
    {IDC_CL_LIST, kGrowWithWidth | kGrowWithHeight},
    {IDC_CL_SELECTED, kMoveWithBottom | kGrowWithWidth},
    {IDC_CL_PING_COUNTS, kMoveWithBottom | kGrowWithWidth},
    {IDOK, kMoveWithRight},
    {IDCANCEL, kMoveWithRight},
    {IDC_CL_OPEN_LOCAL, kMoveWithRight},
    {IDC_CL_BROWSE, kMoveWithRight},
    {IDC_CL_PING, kMoveWithRight},
};

void SetText(HWND window, std::wstring_view text) {
    SetWindowTextW(window, std::wstring(text).c_str());
}

std::wstring ItemText(HWND list, WPARAM index) {
    const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, index, 0);
    if (length == LB_ERR)
        return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT copied = SendMessageW(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied == LB_ERR ? 0 : static_cast<size_t>(copied));
    return text;
}

size_t ItemCount(HWND list) {
    const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    return count == LB_ERR ? 0 : static_cast<size_t>(count);
}

std::wstring LocalComputerName() {
    wchar_t name[256]{};
    const DWORD length = GetEnvironmentVariableW(L"computername", name, static_cast<DWORD>(std::size(name)));
    return length < std::size(name) ? std::wstring(name, length) : std::wstring();
}

bool KeyDown(int key) {
    return GetKeyState(key) < 0;
}

} // namespace

int BrowseDirectoryForComputers(HWND owner, std::vector<std::wstring>& names) {
    return SelectComputers(kBrowseMaximum, owner, names);
}

ComputerListDialog::ComputerListDialog(ComputerList& model, Messages& messages, ComputerBrowser browse)
    : model_(model), messages_(messages), browse_(std::move(browse)) {}

ComputerListDialog::~ComputerListDialog() {
    if (hwnd() != nullptr)
        DestroyWindow(hwnd());
}

// --- Showing and running ---

std::optional<std::wstring> ComputerListDialog::CompuGet1(HWND owner) {
    if (!Open(owner, Mode::One))
        return std::nullopt;
    RunModal(owner);
    return ComputerChosen();
}

std::vector<std::wstring> ComputerListDialog::CompuGetN(HWND owner, std::wstring_view rowcol) {
    if (!Open(owner, Mode::Several, rowcol))
        return {};
    RunModal(owner);
    return ComputersChosen();
}

std::optional<std::wstring> ComputerListDialog::ComputerChosen() const {
    if (mode_ != Mode::One || !opened_)
        return std::nullopt;
    return chosen_;
}

std::vector<std::wstring> ComputerListDialog::ComputersChosen() const {
    if (mode_ != Mode::Several || !opened_)
        return {};
    return model_.GetCNs();
}

bool ComputerListDialog::Create() {
    // Made without an owner: it outlives the windows it is shown over, and gets each one as owner only while
    // it is shown over it.
    return CreateModeless(nullptr, IDD_COMPUTER_LIST);
}

bool ComputerListDialog::Open(HWND owner, Mode mode, std::wstring_view rowcol) {
    if (hwnd() == nullptr && !Create())
        return false;
    mode_ = mode;
    opened_ = false;
    chosen_.clear();
    SetWindowLongPtrW(hwnd(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));

    const bool one = mode == Mode::One;
    SetText(control(IDC_CL_INSTRUCTIONS),
            std::wstring(one ? kOneIntro : kSeveralIntro) + std::wstring(kHowToAdd));
    std::wstring prompt(one ? kOnePrompt : std::wstring_view());
    if (!one && !rowcol.empty())
        prompt = L"Datarow: \r\n " + std::wstring(rowcol);
    SetText(control(IDC_CL_PROMPT), prompt);
    ShowWindow(control(IDC_CL_NAME), one ? SW_SHOW : SW_HIDE);
    ShowWindow(control(IDC_CL_OPEN_LOCAL), one ? SW_SHOW : SW_HIDE);
    ShowWindow(control(IDC_CL_LOCAL), one ? SW_HIDE : SW_SHOW);
    CheckDlgButton(hwnd(), IDC_CL_LOCAL, model_.includeLocal ? BST_CHECKED : BST_UNCHECKED);

    // Fills may have added computers while the dialog was hidden.
    ShowList();
    if (one) {
        // In this mode "&Open" opens the typed name, whatever the list's selection.
        EnableWindow(control(IDOK), TRUE);
        ShowCounts();
    } else {
        OnListClicked();
    }

    ShowWindow(hwnd(), SW_SHOW);
    SetForegroundWindow(hwnd());
    const HWND focus = control(one ? IDC_CL_NAME : IDC_CL_LIST);
    SendMessageW(hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(focus), TRUE);
    return true;
}

void ComputerListDialog::RunModal(HWND owner) {
    modalOwner_ = owner != nullptr && IsWindowEnabled(owner) ? owner : nullptr;
    if (modalOwner_ != nullptr)
        EnableWindow(modalOwner_, FALSE);
    RunModalLoop([this] { return IsShown(); }, [this](MSG& message) { Dispatch(message); },
                 [this] { Hide(); });
    if (const HWND wasOwner = std::exchange(modalOwner_, nullptr)) {
        EnableWindow(wasOwner, TRUE);
        SetActiveWindow(wasOwner);
    }
}

void ComputerListDialog::RunPendingMessages() {
    RunWaitingMessages([this](MSG& message) { Dispatch(message); });
}

void ComputerListDialog::Dispatch(MSG& message) {
    if (hwnd() != nullptr && IsDialogMessageW(hwnd(), &message))
        return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

// The owner is enabled again before the dialog goes, so that Windows activates it and not another program.
void ComputerListDialog::Hide() {
    if (hwnd() == nullptr)
        return;
    if (modalOwner_ != nullptr)
        EnableWindow(modalOwner_, TRUE);
    ShowWindow(hwnd(), SW_HIDE);
    SetWindowLongPtrW(hwnd(), GWLP_HWNDPARENT, 0);
}

// --- Messages ---

INT_PTR ComputerListDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog();
        return FALSE; // the focus is set on opening
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_VKEYTOITEM:
        return reinterpret_cast<HWND>(lParam) == control(IDC_CL_LIST) ? OnListKey(LOWORD(wParam))
                                                                      : kKeyDefault;
    case WM_TIMER:
        if (wParam == kPingTimer)
            OnTimer();
        return TRUE;
    case WM_SIZE:
        if (wParam != SIZE_MINIMIZED)
            layout_.Arrange(LOWORD(lParam), HIWORD(lParam));
        return TRUE;
    case WM_GETMINMAXINFO:
        layout_.LimitSize(*reinterpret_cast<MINMAXINFO*>(lParam));
        return TRUE;
    case WM_CLOSE: // the close box only hides the dialog
        Hide();
        return TRUE;
    case WM_DESTROY:
        OnDestroy();
        return FALSE;
    default:
        return FALSE;
    }
}

void ComputerListDialog::OnInitDialog() {
    const UINT registered = RegisterClipboardFormatW(kNetResourceFormat);
    netResource_ = registered != 0 ? static_cast<CLIPFORMAT>(registered) : kUsualNetResourceNumber;
    SetText(control(IDC_CL_NAME), LocalComputerName());
    SetWindowSubclass(control(IDC_CL_NAME), &NameBoxProc, 0, reinterpret_cast<DWORD_PTR>(this));
    AddControlTooltip(CreateControlTooltips(hwnd()), control(IDC_CL_OPEN_LOCAL), kLocalTip);

    layout_.Capture(hwnd(), kAnchors);
    drops_ = std::make_unique<DropRegistration>(
        control(IDC_CL_LIST), DropHandlers{[this](IDataObject* data) { return Accepts(data); },
                                           [this](IDataObject* data) {
                                               OnDrop(data);
                                           }});
}

void ComputerListDialog::OnDestroy() {
    KillTimer(hwnd(), kPingTimer);
    drops_.reset(); // while the list box is still there
}

void ComputerListDialog::OnCommand(int id, int notification) {
    switch (id) {
    case IDOK:
        OnOpen();
        break;
    case IDC_CL_OPEN_LOCAL:
        OnOpenLocal();
        break;
    case IDCANCEL:
        Hide();
        break;
    case IDC_CL_BROWSE:
        OnBrowse();
        break;
    case IDC_CL_PING:
        OnPingButton();
        break;
    case IDC_CL_LOCAL:
        if (notification == BN_CLICKED)
            model_.includeLocal = IsDlgButtonChecked(hwnd(), IDC_CL_LOCAL) == BST_CHECKED;
        break;
    case IDC_CL_LIST:
        if (notification == LBN_SELCHANGE)
            OnListClicked();
        break;
    default:
        break;
    }
}

void ComputerListDialog::OnOpen() {
    opened_ = true;
    if (mode_ == Mode::One)
        chosen_ = WindowTextOf(control(IDC_CL_NAME));
    Hide();
    if (mode_ == Mode::One) {
        std::wstring name = chosen_;
        (void)model_.AddNoDouble(name);
        ShowList();
        ShowCounts();
    }
}

// The empty name stands for the local computer.
void ComputerListDialog::OnOpenLocal() {
    SetText(control(IDC_CL_NAME), L"");
    OnOpen();
}

void ComputerListDialog::AddTypedName() {
    std::wstring name = WindowTextOf(control(IDC_CL_NAME));
    (void)model_.AddNoDouble(name);
    ShowList();
    ShowCounts();
}

void ComputerListDialog::OnBrowse() {
    std::vector<std::wstring> names;
    const int count = browse_ ? browse_(hwnd(), names) : 0;
    for (int i = 1; i <= count && i < static_cast<int>(names.size()); ++i)
        (void)model_.AddNoDouble(names[static_cast<size_t>(i)]);
    ShowList();
    ShowCounts();
}

// --- The list ---

void ComputerListDialog::ShowList() {
    const HWND list = control(IDC_CL_LIST);
    const std::vector<ComputerEntry>& entries = model_.entries();
    bool same = ItemCount(list) == entries.size();
    for (size_t i = 0; same && i < entries.size(); ++i)
        same = ItemText(list, i) == entries[i].name;
    if (!same) {
        const LRESULT top = SendMessageW(list, LB_GETTOPINDEX, 0, 0);
        const LRESULT caret = SendMessageW(list, LB_GETCARETINDEX, 0, 0);
        SendMessageW(list, WM_SETREDRAW, FALSE, 0);
        SendMessageW(list, LB_RESETCONTENT, 0, 0);
        // In the model's order: inserting does not sort, however the list box is styled.
        for (const ComputerEntry& entry : entries)
            SendMessageW(list, LB_INSERTSTRING, static_cast<WPARAM>(-1),
                         reinterpret_cast<LPARAM>(entry.name.c_str()));
        if (!entries.empty()) {
            const auto last = static_cast<LRESULT>(entries.size()) - 1;
            SendMessageW(list, LB_SETTOPINDEX, static_cast<WPARAM>(std::clamp<LRESULT>(top, 0, last)), 0);
            if (caret >= 0)
                SendMessageW(list, LB_SETCARETINDEX, static_cast<WPARAM>(std::min(caret, last)), FALSE);
        }
        SendMessageW(list, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(list, nullptr, TRUE);
    }
    ShowSelection();
}

void ComputerListDialog::ShowSelection() {
    const HWND list = control(IDC_CL_LIST);
    const std::vector<ComputerEntry>& entries = model_.entries();
    for (size_t i = 0; i < entries.size(); ++i) {
        const bool shown = SendMessageW(list, LB_GETSEL, i, 0) > 0;
        if (shown != entries[i].selected)
            SendMessageW(list, LB_SETSEL, entries[i].selected ? TRUE : FALSE, static_cast<LPARAM>(i));
    }
}

// "&Open" needs a selection only in several-computers mode; in one-computer mode it opens the typed name.
// A click on the list decides it in either mode (OnListClicked).
void ComputerListDialog::ShowCounts() {
    SetText(control(IDC_CL_SELECTED), model_.SelectionText());
    if (mode_ == Mode::Several)
        EnableWindow(control(IDOK), model_.SelectedCount() > 0 ? TRUE : FALSE);
}

// A click, or any other change of the selection by the user: the list box's selection is the model's now;
// the entry clicked goes into the name box and will be pinged anew.
void ComputerListDialog::OnListClicked() {
    const HWND list = control(IDC_CL_LIST);
    const size_t count = std::min(ItemCount(list), model_.entries().size());
    for (size_t i = 0; i < count; ++i)
        model_.Select(i, SendMessageW(list, LB_GETSEL, i, 0) > 0);
    const LRESULT caret = SendMessageW(list, LB_GETCARETINDEX, 0, 0);
    const bool onEntry = caret >= 0 && static_cast<size_t>(caret) < count;
    SetText(control(IDC_CL_NAME), onEntry ? model_.entries()[static_cast<size_t>(caret)].name : L"");
    if (onEntry)
        model_.Clicked(static_cast<size_t>(caret));
    EnableWindow(control(IDOK), model_.SelectedCount() > 0 ? TRUE : FALSE);
    SetText(control(IDC_CL_SELECTED), model_.SelectionText());
}

// Ctrl+A, Ctrl+C, Ctrl+X, Ctrl+V, Delete and Shift+Delete; other keys move in the list as usual.
INT_PTR ComputerListDialog::OnListKey(int key) {
    const bool ctrl = KeyDown(VK_CONTROL);
    const bool shift = KeyDown(VK_SHIFT);
    const bool cut = (ctrl && key == 'X') || (shift && key == VK_DELETE);
    if (ctrl && key == 'A') {
        model_.SelectAll();
        ShowSelection();
        ShowCounts();
    } else if ((ctrl && key == 'C') || cut) {
        (void)SetClipboardText(hwnd(), model_.SelectedText());
    } else if (ctrl && key == 'V') {
        if (const std::optional<std::wstring> text = ClipboardText(hwnd())) {
            model_.Paste(*text);
            ShowList();
            ShowCounts();
        }
    } else if (key != VK_DELETE) {
        return kKeyDefault;
    }
    if (key == VK_DELETE || cut) {
        model_.DeleteSelected();
        ShowList();
        SetFocus(control(IDC_CL_LIST));
        OnListClicked();
    }
    return kKeyHandled;
}

// --- The name box ---

LRESULT CALLBACK ComputerListDialog::NameBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam,
                                                 UINT_PTR, DWORD_PTR self) {
    auto* dialog = reinterpret_cast<ComputerListDialog*>(self);
    switch (message) {
    case WM_GETDLGCODE: {
        // Enter belongs to the box, not to the default button.
        const auto* pending = reinterpret_cast<const MSG*>(lParam);
        if (pending != nullptr && pending->message == WM_KEYDOWN && wParam == VK_RETURN)
            return DefSubclassProc(box, message, wParam, lParam) | DLGC_WANTMESSAGE;
        break;
    }
    case WM_KEYDOWN:
        if (wParam == VK_RETURN) {
            dialog->AddTypedName();
            return 0;
        }
        break;
    case WM_CHAR:
        if (wParam == L'\r')
            return 0; // no beep
        break;
    case WM_LBUTTONDBLCLK: {
        const LRESULT result = DefSubclassProc(box, message, wParam, lParam);
        dialog->AddTypedName();
        return result;
    }
    case WM_NCDESTROY:
        RemoveWindowSubclass(box, &NameBoxProc, 0);
        break;
    default:
        break;
    }
    return DefSubclassProc(box, message, wParam, lParam);
}

// --- Ping ---

void ComputerListDialog::OnPingButton() {
    const HWND button = control(IDC_CL_PING);
    if (WindowTextOf(button).starts_with(L"Cancel")) {
        model_.CancelPing(); // running pings are still collected
        return;
    }
    SetText(button, kCancelPingCaption);
    ShowPingCounts(model_.StartPing());
}

void ComputerListDialog::OnTimer() {
    KillTimer(hwnd(), kPingTimer);
    ShowPingCounts(model_.Tick());
}

void ComputerListDialog::ShowPingCounts(const PingCounts& counts) {
    SetText(control(IDC_CL_PING_COUNTS), ComputerList::CountsText(counts));
    // Computers that did not reply are no longer selected.
    ShowSelection();
    ShowCounts();
    if (counts.running > 0)
        SetTimer(hwnd(), kPingTimer, kPingIntervalMs, nullptr);
    else
        SetText(control(IDC_CL_PING), kPingCaption);
}

// --- Drops ---

// Data without computers is taken only when the diagnostics want to tell what it held.
bool ComputerListDialog::Accepts(IDataObject* data) const {
    return Offers(data, netResource_) || DropDiagnosticsWanted();
}

void ComputerListDialog::OnDrop(IDataObject* data) {
    if (const std::optional<std::string> bytes = BytesOf(data, netResource_)) {
        // The shell writes the names as ANSI text.
        model_.DropNetResource(AnsiToWide(*bytes));
        ShowList();
        ShowCounts();
    }
    OfferDropDiagnostics(messages_, hwnd(), data);
}

} // namespace vantrel
