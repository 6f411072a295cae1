// The selection form driven as a person would: options chosen, lists opened, folders picked, with a stand-in
// for the directory object picker that records how it was asked.
#include "dialogs/select_view/select_view_dialog.h"
#include "dialogs/select_view/select_view_dialog_ids.h"
#include "platform/unique_handle.h"
#include "support/scripted_modal.h"
#include "support/temp_folder.h"
#include "ui/window_text.h"

#include <gtest/gtest.h>

#include <cwctype>

namespace vantrel {
namespace {

struct PickerRecord {
    std::vector<int> maxima; // of every call; 0 lets the picker go
    std::vector<HWND> owners;
    std::vector<std::vector<std::wstring>> answers; // one list of names for each time the picker shows
    std::function<void()> whileShowing;
};

ComputerPicker RecordingPicker(PickerRecord& record) {
    return [&record](int maximum, HWND owner, std::vector<std::wstring>& names) {
        record.maxima.push_back(maximum);
        record.owners.push_back(owner);
        if (maximum == 0)
            return -1;
        if (record.whileShowing)
            record.whileShowing();
        names = {L""};
        if (record.answers.empty())
            return 0;
        names.insert(names.end(), record.answers.front().begin(), record.answers.front().end());
        record.answers.erase(record.answers.begin());
        return static_cast<int>(names.size() - 1);
    };
}

std::optional<ViewContents> Show(SelectViewRequest& request, const ComputerPicker& picker,
                                 const test::DialogScript& script) {
    return test::RunScriptedModal(L"Select view contents", script,
                                  [&] { return ShowSelectViewDialog(nullptr, request, picker); });
}

HWND Item(HWND dialog, int id) {
    return GetDlgItem(dialog, id);
}
bool Shown(HWND dialog, int id) {
    return IsWindowVisible(Item(dialog, id)) != FALSE;
}
void Click(HWND dialog, int id) {
    SendMessageW(Item(dialog, id), BM_CLICK, 0, 0);
}
int Height(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect.bottom - rect.top;
}
std::vector<std::wstring> Lines(HWND box, UINT countMessage, UINT lengthMessage, UINT textMessage) {
    std::vector<std::wstring> lines;
    for (LRESULT i = 0; i < SendMessageW(box, countMessage, 0, 0); ++i) {
        std::wstring text(static_cast<size_t>(SendMessageW(box, lengthMessage, i, 0)), L'\0');
        SendMessageW(box, textMessage, i, reinterpret_cast<LPARAM>(text.data()));
        lines.push_back(text);
    }
    return lines;
}
std::vector<std::wstring> ComboLines(HWND dialog, int id) {
    return Lines(Item(dialog, id), CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT);
}
std::vector<std::wstring> FolderLines(HWND dialog) {
    return Lines(Item(dialog, IDC_SELECT_FOLDERS), LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT);
}
// What the modal loop would do next: the messages posted to the dialog meanwhile. (Not the thread's timer,
// which is running this script.)
void RunPending(HWND dialog) {
    MSG message{};
    while (PeekMessageW(&message, dialog, 0, 0, PM_REMOVE))
        if (!IsDialogMessageW(dialog, &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
}
void PressKey(HWND dialog, WPARAM key) {
    MSG message{GetFocus(), WM_KEYDOWN, key, 0, 0, {}};
    IsDialogMessageW(dialog, &message);
}

TEST(SelectViewDialog, StartsWithOnlyTheBoxOfItsOptionAndTheListsClosed) {
    SelectViewRequest request{.start = {ContentsOption::PathLocation, L"WS0042", L"D:\\install\\packages"}};
    PickerRecord picker;
    std::vector<std::wstring> options;
    const auto choice = Show(request, RecordingPicker(picker), [&](HWND dialog) {
        for (int id = IDC_SELECT_FIRST_OPTION; id <= IDC_SELECT_LAST_OPTION; ++id)
            options.push_back(WindowTextOf(Item(dialog, id)) +
                              (IsDlgButtonChecked(dialog, id) == BST_CHECKED ? L" (checked)" : L""));
        EXPECT_EQ(WindowTextOf(Item(dialog, IDC_SELECT_COMPUTER)), L"WS0042");
        EXPECT_EQ(WindowTextOf(Item(dialog, IDC_SELECT_PATH)), L"D:\\install\\packages");
        EXPECT_TRUE(Shown(dialog, IDC_SELECT_PATH));
        COMBOBOXINFO pathBox{sizeof(pathBox)};
        GetComboBoxInfo(Item(dialog, IDC_SELECT_PATH), &pathBox);
        EXPECT_EQ(GetFocus(), pathBox.hwndItem);
        for (const int hidden : {IDC_SELECT_COMPUTER, IDC_SELECT_DRIVES, IDC_SELECT_FOLDERS})
            EXPECT_FALSE(Shown(dialog, hidden)) << hidden;
        Click(dialog, IDCANCEL);
    });
    EXPECT_EQ(choice, std::nullopt);
    EXPECT_EQ(options,
              (std::vector<std::wstring>{L"Locally Installed:", L"View station:", L"on d:\\distrib\\CD_image",
                                         L"View path location: (checked)"}));
}

TEST(SelectViewDialog, EachOptionShowsItsOwnBoxAndOpensWithBothTexts) {
    struct Case {
        int button;
        bool computerShown;
        bool pathShown;
        ContentsOption option;
    };
    const Case cases[] = {
        {IDC_SELECT_LOCAL, false, false, ContentsOption::LocallyInstalled},
        {IDC_SELECT_STATION, true, false, ContentsOption::Station},
        {IDC_SELECT_CD_IMAGE, false, false, ContentsOption::CdImage},
        {IDC_SELECT_PATH_OPT, false, true, ContentsOption::PathLocation},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.button);
        SelectViewRequest request{.start = {ContentsOption::PathLocation, L"WS0042", L"E:\\packages"}};
        PickerRecord picker;
        const auto choice = Show(request, RecordingPicker(picker), [&](HWND dialog) {
            Click(dialog, test.button);
            EXPECT_EQ(Shown(dialog, IDC_SELECT_COMPUTER), test.computerShown);
            EXPECT_EQ(Shown(dialog, IDC_SELECT_PATH), test.pathShown);
            Click(dialog, IDOK);
        });
        EXPECT_EQ(choice, (ViewContents{test.option, L"WS0042", L"E:\\packages"}));
    }
}

// A blank path opens nothing: "&Open" waits for one.
TEST(SelectViewDialog, ABlankPathIsNotOpened) {
    SelectViewRequest request{.start = {ContentsOption::PathLocation, L"WS0042", L"  "}};
    PickerRecord picker;
    const auto choice = Show(request, RecordingPicker(picker), [&](HWND dialog) {
        Click(dialog, IDOK);
        EXPECT_TRUE(IsWindowVisible(dialog));
        SetWindowTextW(Item(dialog, IDC_SELECT_PATH), L"\\\\BUILD1\\cd_image");
        Click(dialog, IDOK);
    });
    EXPECT_EQ(choice, (ViewContents{ContentsOption::PathLocation, L"WS0042", L"\\\\BUILD1\\cd_image"}));
}

// The picker fills the computer box's list while it holds fewer than two names; it is let go when the form
// loses the focus, but not while its own window has it.
TEST(SelectViewDialog, TheComputerListAsksThePickerUntilItHoldsTwoNames) {
    SelectViewRequest request{.start = {ContentsOption::Station, L"WS0042", L"E:\\packages"}};
    PickerRecord picker{.answers = {{L"PC1"}, {L"PC2", L"PC3"}}};
    const UniqueWindow other(CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 0, 0, 20, 20,
                                             nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
    picker.whileShowing = [&] {
        SetActiveWindow(other.get());
    }; // the picker's window takes the focus
    HWND shownOver = nullptr;
    std::vector<std::vector<std::wstring>> lists;
    std::vector<int> maximaBeforeLeaving;
    const auto choice = Show(request, RecordingPicker(picker), [&](HWND dialog) {
        shownOver = dialog;
        const HWND box = Item(dialog, IDC_SELECT_COMPUTER);
        for (int drop = 0; drop < 3; ++drop) {
            SetActiveWindow(dialog);
            SendMessageW(box, CB_SHOWDROPDOWN, TRUE, 0);
            SendMessageW(box, CB_SHOWDROPDOWN, FALSE, 0);
            lists.push_back(ComboLines(dialog, IDC_SELECT_COMPUTER));
        }
        SetActiveWindow(dialog);
        maximaBeforeLeaving = picker.maxima;
        SetActiveWindow(other.get());
        SetActiveWindow(dialog);
        SendMessageW(box, CB_SETCURSEL, 2, 0);
        Click(dialog, IDOK);
    });
    EXPECT_EQ(lists, (std::vector<std::vector<std::wstring>>{
                         {L"PC1"}, {L"PC1", L"PC2", L"PC3"}, {L"PC1", L"PC2", L"PC3"}}));
    // Shown twice, and not let go meanwhile; let go once another window was activated.
    EXPECT_EQ(maximaBeforeLeaving, (std::vector<int>{10, 10}));
    ASSERT_GE(picker.maxima.size(), 3u);
    EXPECT_EQ(picker.maxima[2], 0);
    EXPECT_EQ(picker.owners[0], shownOver);
    EXPECT_EQ(request.computers, (std::vector<std::wstring>{L"PC1", L"PC2", L"PC3"}));
    ASSERT_TRUE(choice.has_value());
    EXPECT_EQ(choice->computer, L"PC3");
}

// The path box's list is a drive list and a folder list: the form grows to show them, a double-click goes
// into a folder, Enter in the drive list goes to its root, and "&Open" takes the selected folder back into
// the path box and closes them.
TEST(SelectViewDialog, TheFolderListsPickAPath) {
    const std::wstring top = test::TempFolder(L"vantrel select");
    for (const wchar_t* name : {L"gamma", L"alpha", L"Beta", L"alpha\\inner"})
        CreateDirectoryW((top + L"\\" + name).c_str(), nullptr);
    SelectViewRequest request{.start = {ContentsOption::PathLocation, L"WS0042", top + L"\\"}};
    PickerRecord picker;
    const std::wstring topName = L"vantrel select";
    const auto choice = Show(request, RecordingPicker(picker), [&](HWND dialog) {
        const HWND pathBox = Item(dialog, IDC_SELECT_PATH);
        const HWND folders = Item(dialog, IDC_SELECT_FOLDERS);
        const int closedHeight = Height(dialog);
        SendMessageW(pathBox, CB_SHOWDROPDOWN, TRUE, 0);
        RunPending(dialog);
        EXPECT_TRUE(Shown(dialog, IDC_SELECT_DRIVES));
        EXPECT_TRUE(Shown(dialog, IDC_SELECT_FOLDERS));
        EXPECT_EQ(GetFocus(), folders);
        EXPECT_GT(Height(dialog), closedHeight);
        const auto drive = SendMessageW(Item(dialog, IDC_SELECT_DRIVES), CB_GETCURSEL, 0, 0);
        ASSERT_GE(drive, 0);
        const std::wstring driveLetter{static_cast<wchar_t>(towlower(top[0])), L':'};
        EXPECT_EQ(ComboLines(dialog, IDC_SELECT_DRIVES)[static_cast<size_t>(drive)].substr(0, 2),
                  driveLetter);

        std::vector<std::wstring> lines = FolderLines(dialog);
        ASSERT_GE(lines.size(), 4u);
        const size_t open = lines.size() - 4; // the open folder, then its three subfolders
        EXPECT_EQ(lines[0], top.substr(0, 3));
        EXPECT_EQ(lines[open].substr(lines[open].find_first_not_of(L' ')), topName);
        const size_t inner = lines[open].find_first_not_of(L' ') + 4;
        EXPECT_EQ((std::vector<std::wstring>(lines.begin() + open + 1, lines.end())),
                  (std::vector<std::wstring>{std::wstring(inner, L' ') + L"alpha",
                                             std::wstring(inner, L' ') + L"Beta",
                                             std::wstring(inner, L' ') + L"gamma"}));
        EXPECT_EQ(SendMessageW(folders, LB_GETCURSEL, 0, 0), static_cast<LRESULT>(open));

        // Into alpha with a double-click: the path follows.
        SendMessageW(folders, LB_SETCURSEL, open + 1, 0);
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_SELECT_FOLDERS, LBN_DBLCLK),
                     reinterpret_cast<LPARAM>(folders));
        EXPECT_EQ(WindowTextOf(pathBox), top + L"\\alpha");
        lines = FolderLines(dialog);
        EXPECT_EQ(lines.back().substr(lines.back().find_first_not_of(L' ')), L"inner");

        // Enter in the drive list: its root, and the lists stay.
        SetFocus(Item(dialog, IDC_SELECT_DRIVES));
        PressKey(dialog, VK_RETURN);
        EXPECT_EQ(FolderLines(dialog)[0], top.substr(0, 3));
        EXPECT_EQ(WindowTextOf(pathBox), top.substr(0, 3));
        EXPECT_TRUE(Shown(dialog, IDC_SELECT_FOLDERS));

        // Back to the top folder through the path box; Beta selected and taken with "&Open".
        SetWindowTextW(pathBox, top.c_str());
        SendMessageW(pathBox, CB_SHOWDROPDOWN, TRUE, 0);
        RunPending(dialog);
        SendMessageW(folders, LB_SETCURSEL, FolderLines(dialog).size() - 2, 0);
        Click(dialog, IDOK);
        EXPECT_TRUE(IsWindowVisible(dialog));
        EXPECT_FALSE(Shown(dialog, IDC_SELECT_FOLDERS));
        EXPECT_EQ(Height(dialog), closedHeight);
        EXPECT_EQ(WindowTextOf(pathBox), top + L"\\Beta");
        Click(dialog, IDOK);
    });
    ASSERT_TRUE(choice.has_value());
    EXPECT_EQ(choice->path, top + L"\\Beta");
    for (const wchar_t* name : {L"alpha\\inner", L"gamma", L"alpha", L"Beta"})
        RemoveDirectoryW((top + L"\\" + name).c_str());
}

} // namespace
} // namespace vantrel
