#include "dialogs/select_view/select_view_dialog.h"

#include "dialogs/select_view/folder_list.h"
#include "dialogs/select_view/select_view_dialog_ids.h"
#include "platform/folder_listing.h"
#include "ui/base_dialog.h"
#include "ui/window_text.h"
#include "views/field.h"

#include <cwctype>

namespace vantrel {
namespace {

constexpr int kPickedComputersMaximum = 10;
// The path box's list is the drive and folder lists: they open once the box's own (empty) list has come down.
constexpr UINT kOpenFolderListsMessage = WM_APP + 1;

std::wstring CurrentDirectory() {
    std::wstring folder(GetCurrentDirectoryW(0, nullptr), L'\0');
    folder.resize(GetCurrentDirectoryW(static_cast<DWORD>(folder.size()), folder.data()));
    return folder;
}

bool HasDriveLetter(std::wstring_view path) {
    return path.size() >= 2 && path[1] == L':';
}

class SelectViewDialog final : public BaseDialog<SelectViewDialog> {
public:
    SelectViewDialog(SelectViewRequest& request, const ComputerPicker& picker)
        : request_(request), picker_(picker) {}

    [[nodiscard]] std::optional<ViewContents> Run(HWND owner) {
        RunModal(owner, IDD_SELECT_VIEW);
        return choice_;
    }

private:
    friend class BaseDialog<SelectViewDialog>;

    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM) {
        switch (message) {
        case WM_INITDIALOG:
            OnInitDialog();
            return FALSE; // the focus is set
        case WM_COMMAND:
            return OnCommand(LOWORD(wParam), HIWORD(wParam));
        case kOpenFolderListsMessage:
            OpenFolderLists();
            return TRUE;
        case WM_ACTIVATE:
            if (LOWORD(wParam) == WA_INACTIVE)
                OnDeactivate();
            return FALSE;
        default:
            return FALSE;
        }
    }

    HWND Item(int id) const { return GetDlgItem(hwnd(), id); }

    void OnInitDialog() {
        folders_ = FolderList(Item(IDC_SELECT_FOLDERS));
        const HWND computerBox = Item(IDC_SELECT_COMPUTER);
        for (const std::wstring& computer : request_.computers)
            SendMessageW(computerBox, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(computer.c_str()));
        SetWindowTextW(computerBox, request_.start.computer.c_str());
        SetWindowTextW(Item(IDC_SELECT_PATH), request_.start.path.c_str());
        CheckRadioButton(hwnd(), IDC_SELECT_FIRST_OPTION, IDC_SELECT_LAST_OPTION,
                         IDC_SELECT_FIRST_OPTION + static_cast<int>(request_.start.option) - 1);

        listRoom_ = Bottom(IDC_SELECT_FOLDERS) - Bottom(IDC_SELECT_LAST_OPTION);
        ShowLists(false);
        ShowBoxes();
        const HWND box = OptionBox();
        SetFocus(box != nullptr ? box : Item(IDC_SELECT_FIRST_OPTION + static_cast<int>(Option()) - 1));
    }

    bool OnCommand(int id, int notification) {
        if (id >= IDC_SELECT_FIRST_OPTION && id <= IDC_SELECT_LAST_OPTION) {
            if (notification == BN_CLICKED)
                OnOptionChosen();
            return true;
        }
        switch (id) {
        case IDC_SELECT_COMPUTER:
            if (notification == CBN_DROPDOWN)
                OnComputerListOpening();
            return true;
        case IDC_SELECT_PATH:
            if (notification == CBN_DROPDOWN)
                PostMessageW(hwnd(), kOpenFolderListsMessage, 0, 0);
            return true;
        case IDC_SELECT_DRIVES:
            if (notification == CBN_SELCHANGE)
                OnDriveChosen();
            return true;
        case IDC_SELECT_FOLDERS:
            if (notification == LBN_DBLCLK)
                OnFolderOpened();
            return true;
        case IDOK:
            OnOpen();
            return true;
        case IDCANCEL:
            EndDialog(hwnd(), IDCANCEL);
            return true;
        default:
            return false;
        }
    }

    ContentsOption Option() const {
        for (int id = IDC_SELECT_FIRST_OPTION; id <= IDC_SELECT_LAST_OPTION; ++id)
            if (IsDlgButtonChecked(hwnd(), id) == BST_CHECKED)
                return static_cast<ContentsOption>(id - IDC_SELECT_FIRST_OPTION + 1);
        return ContentsOption::LocallyInstalled;
    }

    // The box of the chosen option; nullptr for the options without one.
    HWND OptionBox() const {
        switch (Option()) {
        case ContentsOption::Station:
            return Item(IDC_SELECT_COMPUTER);
        case ContentsOption::PathLocation:
            return Item(IDC_SELECT_PATH);
        default:
            return nullptr;
        }
    }

    void ShowBoxes() {
        ShowWindow(Item(IDC_SELECT_COMPUTER), Option() == ContentsOption::Station ? SW_SHOW : SW_HIDE);
        ShowWindow(Item(IDC_SELECT_PATH), Option() == ContentsOption::PathLocation ? SW_SHOW : SW_HIDE);
    }

    // The drive and folder lists belong to the path box and go with it.
    void OnOptionChosen() {
        ShowBoxes();
        if (Option() != ContentsOption::PathLocation)
            ShowLists(false);
    }

    // The picker is asked only while the list holds fewer than two computers: after that the user has a
    // choice, and can still type any other name.
    void OnComputerListOpening() {
        const HWND box = Item(IDC_SELECT_COMPUTER);
        if (SendMessageW(box, CB_GETCOUNT, 0, 0) >= 2)
            return;
        std::vector<std::wstring> names;
        picking_ = true;
        const int count = picker_(kPickedComputersMaximum, hwnd(), names);
        picking_ = false;
        for (size_t i = 1; count > 0 && i <= static_cast<size_t>(count) && i < names.size(); ++i) {
            SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(names[i].c_str()));
            request_.computers.push_back(names[i]);
        }
    }

    // The picker's own window takes the focus while it shows: the picker is not let go from under itself.
    void OnDeactivate() {
        if (picking_)
            return;
        std::vector<std::wstring> none;
        picker_(0, nullptr, none);
    }

    void OpenFolderLists() {
        const HWND pathBox = Item(IDC_SELECT_PATH);
        SendMessageW(pathBox, CB_SHOWDROPDOWN, FALSE, 0);
        ListDrives();
        const std::wstring path = WindowTextOf(pathBox);
        if (HasDriveLetter(path))
            ShowFolder(path);
        else if (folders_.openFolder().empty())
            ShowFolder(CurrentDirectory());
        ShowLists(true);
        SetFocus(Item(IDC_SELECT_FOLDERS));
    }

    void ListDrives() {
        if (!driveRoots_.empty())
            return;
        driveRoots_ = DriveRoots();
        const HWND drives = Item(IDC_SELECT_DRIVES);
        for (const std::wstring& root : driveRoots_) {
            const std::wstring text = DriveListText(root);
            SendMessageW(drives, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        }
    }

    // The drive list on the folder's drive, the folder list on the folder.
    void ShowFolder(std::wstring_view folder) {
        LRESULT drive = -1;
        for (size_t i = 0; i < driveRoots_.size(); ++i)
            if (HasDriveLetter(folder) && std::towupper(folder[0]) == driveRoots_[i][0])
                drive = static_cast<LRESULT>(i);
        SendMessageW(Item(IDC_SELECT_DRIVES), CB_SETCURSEL, static_cast<WPARAM>(drive), 0);
        folders_.Open(folder);
    }

    // A folder the user goes to in the lists is the path from then on.
    void TakeOpenFolder() {
        if (!folders_.openFolder().empty())
            SetWindowTextW(Item(IDC_SELECT_PATH), folders_.openFolder().c_str());
    }

    void OnDriveChosen() {
        const auto drive = SendMessageW(Item(IDC_SELECT_DRIVES), CB_GETCURSEL, 0, 0);
        if (drive < 0 || static_cast<size_t>(drive) >= driveRoots_.size())
            return;
        folders_.Open(driveRoots_[static_cast<size_t>(drive)]);
        TakeOpenFolder();
    }

    void OnFolderOpened() {
        folders_.Open(folders_.SelectedFolder());
        TakeOpenFolder();
    }

    // Enter in the drive list goes to its drive. With the lists open, "&Open" takes the selected folder into
    // the path box and closes them. Otherwise the form is done, unless the path it would open is blank.
    void OnOpen() {
        if (listsShown_ && GetFocus() == Item(IDC_SELECT_DRIVES)) {
            OnDriveChosen();
            return;
        }
        const HWND pathBox = Item(IDC_SELECT_PATH);
        if (listsShown_) {
            SetWindowTextW(pathBox, folders_.SelectedFolder().c_str());
            ShowLists(false);
            SetFocus(pathBox);
            return;
        }
        ViewContents choice{Option(), WindowTextOf(Item(IDC_SELECT_COMPUTER)), WindowTextOf(pathBox)};
        if (choice.option == ContentsOption::PathLocation && TrimBlanks(choice.path).empty()) {
            SetFocus(pathBox);
            return;
        }
        choice_ = std::move(choice);
        EndDialog(hwnd(), IDOK);
    }

    int Bottom(int id) const {
        RECT rect{};
        GetWindowRect(Item(id), &rect);
        MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&rect), 2);
        return rect.bottom;
    }

    void MoveDown(int id, int pixels) {
        RECT rect{};
        GetWindowRect(Item(id), &rect);
        MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&rect), 2);
        SetWindowPos(Item(id), nullptr, rect.left, rect.top + pixels, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    // The form grows by the lists' room to show them, with the buttons below them, and shrinks again.
    void ShowLists(bool shown) {
        if (shown == listsShown_)
            return;
        listsShown_ = shown;
        const int show = shown ? SW_SHOW : SW_HIDE;
        ShowWindow(Item(IDC_SELECT_DRIVES), show);
        ShowWindow(Item(IDC_SELECT_FOLDERS), show);
        const int shift = shown ? listRoom_ : -listRoom_;
        MoveDown(IDOK, shift);
        MoveDown(IDCANCEL, shift);
        RECT form{};
        GetWindowRect(hwnd(), &form);
        SetWindowPos(hwnd(), nullptr, 0, 0, form.right - form.left, form.bottom - form.top + shift,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    SelectViewRequest& request_;
    const ComputerPicker& picker_;
    std::optional<ViewContents> choice_;
    FolderList folders_;
    std::vector<std::wstring> driveRoots_; // listed when the lists first open
    bool listsShown_ = true;               // as the template has them
    int listRoom_ = 0;                     // pixels
    bool picking_ = false;
};

} // namespace

std::optional<ViewContents> ShowSelectViewDialog(HWND owner, SelectViewRequest& request,
                                                 const ComputerPicker& picker) {
    return SelectViewDialog(request, picker).Run(owner);
}

} // namespace vantrel
