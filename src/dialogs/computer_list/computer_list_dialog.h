#pragma once
// The computer selection dialog: the window over the program's ComputerList. The list is the model's; the
// list box only mirrors it, and what the user selects there goes back into the model. The dialog is made
// once and then only hidden, so the list box, its selection and the ping's progress stay for the next
// opening; the model outlives it anyway.
#include "engine/computer_list.h"
#include "platform/com_apartment.h"
#include "platform/drop_target.h"
#include "ui/anchored_layout.h"
#include "ui/base_dialog.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel {

class Messages;

// Chooses computers of the network over `owner` into names[1..count]; the count (below 1: none chosen).
using ComputerBrowser = std::function<int(HWND owner, std::vector<std::wstring>& names)>;
// The directory object picker, several computers at a time.
int BrowseDirectoryForComputers(HWND owner, std::vector<std::wstring>& names);

class ComputerListDialog final : public BaseDialog<ComputerListDialog> {
public:
    enum class Mode { One, Several };

    // `messages` asks the drop diagnostics' question; `browse` serves "&Browse network ...".
    ComputerListDialog(ComputerList& model, Messages& messages,
                       ComputerBrowser browse = BrowseDirectoryForComputers);
    ~ComputerListDialog();
    ComputerListDialog(const ComputerListDialog&) = delete;
    ComputerListDialog& operator=(const ComputerListDialog&) = delete;

    // One computer: the computer to open ("" = the local one, the name as typed); nothing when the user
    // opened none.
    std::optional<std::wstring> CompuGet1(HWND owner);
    // Several computers, `rowcol` naming the data compared: after "&Open" the model's GetCNs (the local
    // computer's "" first when "&Include local computer" is ticked, then the selected names); otherwise
    // nothing. Callers go on only with two or more.
    std::vector<std::wstring> CompuGetN(HWND owner, std::wstring_view rowcol);

    // The parts of CompuGet1 and CompuGetN, for tests that drive the dialog by its messages: Open shows it
    // in a mode without waiting (false when it cannot be made); RunPendingMessages handles what is waiting
    // as the modal run does; the results are read once it is hidden.
    [[nodiscard]] bool Open(HWND owner, Mode mode, std::wstring_view rowcol = {});
    void RunPendingMessages();
    std::optional<std::wstring> ComputerChosen() const;
    std::vector<std::wstring> ComputersChosen() const;

    bool IsShown() const { return hwnd() != nullptr && IsWindowVisible(hwnd()); }
    HWND control(int id) const { return GetDlgItem(hwnd(), id); }
    // The list box's drop target, for dropping without a mouse.
    IDropTarget* dropTarget() const { return drops_ ? drops_->target() : nullptr; }

private:
    friend class BaseDialog<ComputerListDialog>;
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    [[nodiscard]] bool Create();
    void RunModal(HWND owner);
    void Dispatch(MSG& message);
    void Hide();

    void OnInitDialog();
    void OnCommand(int id, int notification);
    void OnOpen();
    void OnOpenLocal();
    void OnBrowse();
    void OnPingButton();
    void OnTimer();
    [[nodiscard]] INT_PTR OnListKey(int key);
    void OnDestroy();

    // Text1: Enter and a double-click add its name.
    static LRESULT CALLBACK NameBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                        DWORD_PTR self);
    void AddTypedName();

    // The list box after a change of the model: names (only when they changed) and selection.
    void ShowList();
    void ShowSelection();
    // The selection count and whether "&Open" can be pressed.
    void ShowCounts();
    // The user's selection in the list box, into the model; then the clicked entry.
    void OnListClicked();
    void ShowPingCounts(const PingCounts& counts);

    bool Accepts(IDataObject* data) const;
    void OnDrop(IDataObject* data);

    ComputerList& model_;
    Messages& messages_;
    ComputerBrowser browse_;
    const OleApartment ole_;
    std::unique_ptr<DropRegistration> drops_;
    CLIPFORMAT netResource_ = 0;

    Mode mode_ = Mode::One;
    bool opened_ = false;       // "&Open" (or "Open &Local") ended the last run
    std::wstring chosen_;       // the computer of one-computer mode
    HWND modalOwner_ = nullptr; // disabled while the dialog is shown over it
    AnchoredLayout layout_;
};

} // namespace vantrel
