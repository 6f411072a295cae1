#include "dialogs/new_view/new_view.h"

#include "dialogs/new_view/new_view_ids.h"
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

struct DialogState {
    Messages& messages;
    std::optional<NewViewChoice> choice;
    HWND tooltip = nullptr;
    DWORD lastClickTime = 0;
};

std::wstring TipText() {
    std::wstring text(kTip);
    for (wchar_t& c : text)
        if (c == L'#')
            c = L'\n';
    return text;
}

void OnInit(HWND dialog, DialogState& state) {
    const HWND list = GetDlgItem(dialog, IDC_NEW_BUILT_IN_LIST);
    const int count = std::stoi(BuiltInView(0, true));
    for (int n = 1; n <= count; ++n) {
        const std::wstring title = BuiltInView(n, true);
        if (title.empty())
            continue;
        const auto index = SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(title.c_str()));
        SendMessageW(list, CB_SETITEMDATA, static_cast<WPARAM>(index), n);
    }
    SendMessageW(list, CB_SETCURSEL, kInitiallySelected, 0);
    state.tooltip = CreateControlTooltips(dialog);
    AddControlTooltip(state.tooltip, GetDlgItem(dialog, IDC_NEW_FOLDER),
                      L"Also default opened when you drag-and drop a folder from explorer onto Vantrel");
    AddControlTooltip(state.tooltip, GetDlgItem(dialog, IDC_NEW_INI),
                      L"Also default opened when you drag-and-drop an .ini file onto Vantrel");
    SetFocus(list);
    SendMessageW(dialog, DM_SETDEFID, IDC_NEW_LOCAL, 0);
}

void OnButton(HWND dialog, DialogState& state, int control) {
    const HWND list = GetDlgItem(dialog, IDC_NEW_BUILT_IN_LIST);
    const auto selected = SendMessageW(list, CB_GETCURSEL, 0, 0);
    const int number =
        selected == CB_ERR ? 0 : static_cast<int>(SendMessageW(list, CB_GETITEMDATA, selected, 0));
    state.choice = NewViewChoice{control - IDC_NEW_FIRST_BUTTON + 1, number};
    EndDialog(dialog, IDOK);
}

// The dialog class knows no double-clicks: two clicks within the system's time make one.
void OnBackgroundClick(HWND dialog, DialogState& state) {
    const DWORD now = static_cast<DWORD>(GetMessageTime());
    if (state.lastClickTime != 0 && now - state.lastClickTime <= GetDoubleClickTime()) {
        state.lastClickTime = 0;
        state.messages.Message(dialog, TipText(), MB_OK);
        return;
    }
    state.lastClickTime = now;
}

bool OnCommand(HWND dialog, DialogState& state, WPARAM wParam) {
    const int control = LOWORD(wParam);
    if (control == IDC_NEW_BUILT_IN_LIST) {
        // "&Local registry" answers Enter while the list has the focus.
        if (HIWORD(wParam) == CBN_SETFOCUS)
            SendMessageW(dialog, DM_SETDEFID, IDC_NEW_LOCAL, 0);
        return false;
    }
    if (control >= IDC_NEW_FIRST_BUTTON && control <= IDC_NEW_LAST_BUTTON) {
        OnButton(dialog, state, control);
        return true;
    }
    if (control == IDOK) { // Enter with no other default
        OnButton(dialog, state, IDC_NEW_LOCAL);
        return true;
    }
    if (control == IDCANCEL) {
        EndDialog(dialog, IDCANCEL);
        return true;
    }
    return false;
}

INT_PTR CALLBACK NewViewProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        OnInit(dialog, *reinterpret_cast<DialogState*>(lParam));
        return FALSE; // the focus is set
    }
    auto* state = reinterpret_cast<DialogState*>(GetWindowLongPtrW(dialog, DWLP_USER));
    if (state == nullptr)
        return FALSE;
    switch (message) {
    case WM_COMMAND:
        return OnCommand(dialog, *state, wParam);
    case WM_LBUTTONDOWN:
        OnBackgroundClick(dialog, *state);
        return TRUE;
    case WM_DESTROY:
        if (state->tooltip != nullptr)
            DestroyWindow(state->tooltip);
        return FALSE;
    default:
        return FALSE;
    }
}

} // namespace

std::optional<NewViewChoice> ShowNewViewDialog(HWND owner, Messages& messages) {
    DialogState state{messages, std::nullopt};
    DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_NEW_VIEW), owner, &NewViewProc,
                    reinterpret_cast<LPARAM>(&state));
    return state.choice;
}

} // namespace vantrel
