#include "dialogs/new_view/new_view.h"

#include "dialogs/new_view/new_view_ids.h"
#include "platform/unique_handle.h"
#include "ui/base_dialog.h"
#include "ui/messages.h"
#include "ui/tooltips.h"
#include "views/catalogue.h"

#include <commctrl.h>

#include <string>

namespace vantrel {
namespace {

constexpr int kInitiallySelected = 2; // the third entry of the list

constexpr std::wstring_view kTip =
    L"One useful tip:  Create a 'My Computer' menu like this:##- Drag your Quick Launch bar to an empty spot "
    L"on the "
    L"desktop#- Then drag it to the top of your screen - it becomes a bar again#- Right-click on an empty "
    L"spot and "
    L"select 'Toolbars' - 'New toolbar...'#- Select 'My Computer' as the folder for this toolbar#- Drag the "
    L"'My "
    L"Computer' toolbar to the left top#- Then drag the Quick Launch bar on its handle so far to the left "
    L"that #    "
    L"the 'My Computer' toolbar only shows the \u00BB menu symbol.##Now this \u00BB menu symbol works as a "
    L"super-menu "
    L"allowing you to browse through#all folders in your 'My computer'. Same will work for 'Network "
    L"Neighborhood'.#Optionally make this top bar auto-hide. ";

std::wstring TipText() {
    std::wstring text(kTip);
    for (wchar_t& c : text)
        if (c == L'#')
            c = L'\n';
    return text;
}

class NewViewDialog final : public BaseDialog<NewViewDialog> {
public:
    explicit NewViewDialog(Messages& messages) : messages_(messages) {}

    [[nodiscard]] std::optional<NewViewChoice> Run(HWND owner) {
        RunModal(owner, IDD_NEW_VIEW);
        return choice_;
    }

private:
    friend class BaseDialog<NewViewDialog>;

    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM) {
        switch (message) {
        case WM_INITDIALOG:
            OnInitDialog();
            return FALSE; // the focus is set
        case WM_COMMAND:
            return OnCommand(LOWORD(wParam), HIWORD(wParam));
        case WM_LBUTTONDOWN:
            OnBackgroundClick();
            return TRUE;
        case WM_DESTROY:
            OnDestroy();
            return FALSE;
        default:
            return FALSE;
        }
    }

    HWND List() const { return GetDlgItem(hwnd(), IDC_NEW_BUILT_IN_LIST); }

    void OnInitDialog() {
        const HWND list = List();
        const int count = std::stoi(BuiltInView(0, true));
        for (int n = 1; n <= count; ++n) {
            const std::wstring title = BuiltInView(n, true);
            if (title.empty())
                continue;
            const auto index = SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(title.c_str()));
            SendMessageW(list, CB_SETITEMDATA, static_cast<WPARAM>(index), n);
        }
        SendMessageW(list, CB_SETCURSEL, kInitiallySelected, 0);
        tooltips_.reset(CreateControlTooltips(hwnd()));
        AddControlTooltip(tooltips_.get(), GetDlgItem(hwnd(), IDC_NEW_FOLDER),
                          L"Also default opened when you drag-and drop a folder from explorer onto Vantrel");
        AddControlTooltip(tooltips_.get(), GetDlgItem(hwnd(), IDC_NEW_INI),
                          L"Also default opened when you drag-and-drop an .ini file onto Vantrel");
        SetFocus(list);
        OnListFocus(true);
    }

    bool OnCommand(int id, int notification) {
        if (id == IDC_NEW_BUILT_IN_LIST) {
            if (notification == CBN_SETFOCUS || notification == CBN_KILLFOCUS)
                OnListFocus(notification == CBN_SETFOCUS);
            return false;
        }
        if (id >= IDC_NEW_FIRST_BUTTON && id <= IDC_NEW_LAST_BUTTON) {
            Choose(id);
            return true;
        }
        if (id == IDOK) {
            OnEnterWithoutDefault();
            return true;
        }
        if (id == IDCANCEL) {
            EndDialog(hwnd(), IDCANCEL);
            return true;
        }
        return false;
    }

    // "&Local registry" is the default button only while the list has the focus. Elsewhere the dialog has
    // no default of its own (IDOK, no control): as the focus moves on with Tab the dialog manager makes the
    // focused button the default, and Enter with no button focused comes as IDOK.
    void OnListFocus(bool gained) { SendMessageW(hwnd(), DM_SETDEFID, gained ? IDC_NEW_LOCAL : IDOK, 0); }

    // Enter with no default button. In the list it opens the selected view locally, as its default button
    // would. A push button that got the focus without the dialog manager (and so is not drawn as the
    // default) is pressed. Anywhere else Enter does nothing.
    void OnEnterWithoutDefault() {
        const HWND focus = GetFocus();
        if (focus == List()) {
            Choose(IDC_NEW_LOCAL);
            return;
        }
        const bool focusedButton =
            focus != nullptr && IsChild(hwnd(), focus) &&
            (SendMessageW(focus, WM_GETDLGCODE, 0, 0) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0;
        if (focusedButton)
            OnCommand(GetDlgCtrlID(focus), BN_CLICKED);
    }

    void Choose(int button) {
        const HWND list = List();
        const auto selected = SendMessageW(list, CB_GETCURSEL, 0, 0);
        const int number =
            selected == CB_ERR ? 0 : static_cast<int>(SendMessageW(list, CB_GETITEMDATA, selected, 0));
        choice_ = NewViewChoice{button - IDC_NEW_FIRST_BUTTON + 1, number};
        EndDialog(hwnd(), IDOK);
    }

    // The dialog class knows no double-clicks: two clicks within the system's time make one.
    void OnBackgroundClick() {
        const auto now = static_cast<DWORD>(GetMessageTime());
        if (lastClickTime_ != 0 && now - lastClickTime_ <= GetDoubleClickTime()) {
            lastClickTime_ = 0;
            messages_.Message(hwnd(), TipText(), MB_OK);
            return;
        }
        lastClickTime_ = now;
    }

    // The tooltip window is owned by the dialog, which would take it along: it goes first.
    void OnDestroy() { tooltips_.reset(); }

    Messages& messages_;
    std::optional<NewViewChoice> choice_;
    UniqueWindow tooltips_;
    DWORD lastClickTime_ = 0;
};

} // namespace

std::optional<NewViewChoice> ShowNewViewDialog(HWND owner, Messages& messages) {
    return NewViewDialog(messages).Run(owner);
}

} // namespace vantrel
