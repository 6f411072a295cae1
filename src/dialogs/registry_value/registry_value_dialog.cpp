#include "dialogs/registry_value/registry_value_dialog.h"

#include "dialogs/registry_value/registry_value_dialog_ids.h"
#include "ui/base_dialog.h"
#include "ui/window_text.h"
#include "views/markers.h"

#include <array>

namespace vantrel {
namespace {

// The registry layer's markers spelt out, since a lone "?" or "¬" in the data box would read as data.
std::wstring ShownData(const std::wstring& data) {
    if (data == kValueMissing)
        return L"<value not present>";
    if (data == kKeyMissing)
        return L"<key not present>";
    return data;
}

class RegistryValueDialog final : public BaseDialog<RegistryValueDialog> {
public:
    explicit RegistryValueDialog(RegistryValueEdit& edit)
        : edit_(edit), kept_{{{IDC_REGVALUE_KEY, edit.keyPath},
                              {IDC_REGVALUE_NAME, edit.valueName},
                              {IDC_REGVALUE_DATA, ShownData(edit.currentData)}}} {}

    [[nodiscard]] bool Run(HWND owner) { return RunModal(owner, IDD_REGISTRY_VALUE) == IDOK; }

private:
    friend class BaseDialog<RegistryValueDialog>;

    // A box the user may select and copy from, but whose text is put back after any change.
    struct KeptBox {
        int id;
        std::wstring text;
    };

    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM) {
        switch (message) {
        case WM_INITDIALOG:
            OnInitDialog();
            return FALSE; // the focus is set
        case WM_COMMAND:
            return OnCommand(LOWORD(wParam), HIWORD(wParam));
        default:
            return FALSE;
        }
    }

    void OnInitDialog() {
        if (!edit_.computer.empty())
            SetDlgItemTextW(hwnd(), IDC_REGVALUE_COMPUTER, (L"On computer: \\\\" + edit_.computer).c_str());
        for (const KeptBox& box : kept_)
            SetDlgItemTextW(hwnd(), box.id, box.text.c_str());
        const HWND newData = GetDlgItem(hwnd(), IDC_REGVALUE_NEW_DATA);
        SetWindowTextW(newData, edit_.newData.c_str());
        SetFocus(newData);
        // Only the first 999 characters, as the editor always did; a longer text stays partly unselected.
        SendMessageW(newData, EM_SETSEL, 0, 999);
    }

    bool OnCommand(int id, int notification) {
        if (notification == EN_CHANGE) {
            RestoreKeptBox(id);
            return true;
        }
        if (id == IDOK)
            edit_.newData = WindowTextOf(GetDlgItem(hwnd(), IDC_REGVALUE_NEW_DATA));
        else if (id != IDCANCEL)
            return false;
        EndDialog(hwnd(), id);
        return true;
    }

    void RestoreKeptBox(int id) {
        for (const KeptBox& box : kept_) {
            const HWND control = GetDlgItem(hwnd(), box.id);
            // Putting the text back changes it once more; the comparison ends that round.
            if (box.id == id && WindowTextOf(control) != box.text)
                SetWindowTextW(control, box.text.c_str());
        }
    }

    RegistryValueEdit& edit_;
    std::array<KeptBox, 3> kept_;
};

} // namespace

bool ShowRegistryValueEditor(HWND owner, RegistryValueEdit& edit) {
    return RegistryValueDialog(edit).Run(owner);
}

} // namespace vantrel
