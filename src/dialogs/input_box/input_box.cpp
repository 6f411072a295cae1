#include "dialogs/input_box/input_box.h"

#include "dialogs/input_box/input_box_ids.h"
#include "ui/window_text.h"


namespace vantrel {
namespace {

struct InputBoxState {
    std::wstring prompt;
    std::wstring text;
};

void OnInit(HWND dialog, InputBoxState& state) {
    SetDlgItemTextW(dialog, IDC_INPUT_PROMPT, state.prompt.c_str());
    SetDlgItemTextW(dialog, IDC_INPUT_TEXT, state.text.c_str());
    SendDlgItemMessageW(dialog, IDC_INPUT_TEXT, EM_SETSEL, 0, -1);
}

void OnOk(HWND dialog, InputBoxState& state) {
    state.text = WindowTextOf(GetDlgItem(dialog, IDC_INPUT_TEXT));
    EndDialog(dialog, IDOK);
}

INT_PTR CALLBACK InputBoxProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        OnInit(dialog, *reinterpret_cast<InputBoxState*>(lParam));
        return TRUE;
    }
    auto* state = reinterpret_cast<InputBoxState*>(GetWindowLongPtrW(dialog, DWLP_USER));
    if (message != WM_COMMAND || state == nullptr)
        return FALSE;
    switch (LOWORD(wParam)) {
    case IDOK:
        OnOk(dialog, *state);
        return TRUE;
    case IDCANCEL:
        EndDialog(dialog, IDCANCEL);
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace

std::optional<std::wstring> ShowInputBox(HWND owner, std::wstring_view prompt, std::wstring_view initial) {
    InputBoxState state{std::wstring(prompt), std::wstring(initial)};
    const INT_PTR result = DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_INPUT_BOX), owner,
                                           &InputBoxProc, reinterpret_cast<LPARAM>(&state));
    if (result != IDOK)
        return std::nullopt;
    return state.text;
}

} // namespace vantrel
