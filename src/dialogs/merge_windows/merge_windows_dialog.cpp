#include "dialogs/merge_windows/merge_windows_dialog.h"

#include "dialogs/merge_windows/merge_windows_dialog_ids.h"
#include "ui/base_dialog.h"

namespace vantrel {
namespace {

class MergeWindowsDialog final : public BaseDialog<MergeWindowsDialog> {
public:
    MergeWindowsDialog(std::wstring_view currentCaption, const std::vector<MergeCandidate>& others)
        : currentCaption_(currentCaption), others_(others) {}

    [[nodiscard]] std::vector<HWND> Run(HWND owner) {
        RunModal(owner, IDD_MERGE_WINDOWS);
        return chosen_;
    }

private:
    friend class BaseDialog<MergeWindowsDialog>;

    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM) {
        switch (message) {
        case WM_INITDIALOG:
            OnInitDialog();
            return TRUE;
        case WM_COMMAND:
            return OnCommand(LOWORD(wParam), HIWORD(wParam));
        default:
            return FALSE;
        }
    }

    HWND List() const { return GetDlgItem(hwnd(), IDC_MERGE_LIST); }

    // Items carry their view's window: two views may well have the same caption.
    void OnInitDialog() {
        const std::wstring current = L"Current view: " + currentCaption_;
        SetDlgItemTextW(hwnd(), IDC_MERGE_CURRENT, current.c_str());
        const HWND list = List();
        for (const MergeCandidate& candidate : others_) {
            const auto index =
                SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(candidate.caption.c_str()));
            SendMessageW(list, LB_SETITEMDATA, static_cast<WPARAM>(index),
                         reinterpret_cast<LPARAM>(candidate.window));
        }
    }

    bool OnCommand(int id, int notification) {
        if (id == IDC_MERGE_LIST) {
            if (notification != LBN_DBLCLK)
                return false;
            id = IDOK;
        }
        if (id == IDOK)
            chosen_ = SelectedWindows();
        else if (id != IDCANCEL)
            return false;
        EndDialog(hwnd(), id);
        return true;
    }

    // A view closed while the dialog was open is no longer a window: it simply takes no part.
    std::vector<HWND> SelectedWindows() const {
        const HWND list = List();
        const auto count = SendMessageW(list, LB_GETCOUNT, 0, 0);
        std::vector<HWND> windows;
        for (LRESULT index = 0; index < count; ++index) {
            if (SendMessageW(list, LB_GETSEL, static_cast<WPARAM>(index), 0) <= 0)
                continue;
            const auto window =
                reinterpret_cast<HWND>(SendMessageW(list, LB_GETITEMDATA, static_cast<WPARAM>(index), 0));
            if (IsWindow(window))
                windows.push_back(window);
        }
        return windows;
    }

    std::wstring currentCaption_;
    const std::vector<MergeCandidate>& others_;
    std::vector<HWND> chosen_;
};

} // namespace

std::vector<HWND> ShowMergeWindowsDialog(HWND owner, std::wstring_view currentCaption,
                                         const std::vector<MergeCandidate>& others) {
    return MergeWindowsDialog(currentCaption, others).Run(owner);
}

} // namespace vantrel
