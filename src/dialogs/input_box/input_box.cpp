#include "dialogs/input_box/input_box.h"

#include "dialogs/input_box/input_box_ids.h"
#include "ui/base_dialog.h"
#include "ui/window_text.h"

namespace vantrel {
namespace {

class InputBox final : public BaseDialog<InputBox> {
public:
    InputBox(std::wstring_view prompt, std::wstring_view initial) : prompt_(prompt), text_(initial) {}

    [[nodiscard]] std::optional<std::wstring> Run(HWND owner) {
        if (RunModal(owner, IDD_INPUT_BOX) != IDOK)
            return std::nullopt;
        return text_;
    }

private:
    friend class BaseDialog<InputBox>;

    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM) {
        switch (message) {
        case WM_INITDIALOG:
            OnInitDialog();
            return TRUE;
        case WM_COMMAND:
            return OnCommand(LOWORD(wParam));
        default:
            return FALSE;
        }
    }

    void OnInitDialog() {
        SetDlgItemTextW(hwnd(), IDC_INPUT_PROMPT, prompt_.c_str());
        SetDlgItemTextW(hwnd(), IDC_INPUT_TEXT, text_.c_str());
        SendDlgItemMessageW(hwnd(), IDC_INPUT_TEXT, EM_SETSEL, 0, -1);
    }

    bool OnCommand(int id) {
        if (id == IDOK)
            text_ = WindowTextOf(GetDlgItem(hwnd(), IDC_INPUT_TEXT));
        else if (id != IDCANCEL)
            return false;
        EndDialog(hwnd(), id);
        return true;
    }

    std::wstring prompt_;
    std::wstring text_;
};

} // namespace

std::optional<std::wstring> ShowInputBox(HWND owner, std::wstring_view prompt, std::wstring_view initial) {
    return InputBox(prompt, initial).Run(owner);
}

} // namespace vantrel
