// The new-view dialog from the keyboard: what Enter chooses depends on where the focus is.
#include "dialogs/new_view/new_view.h"
#include "dialogs/new_view/new_view_ids.h"
#include "shell/scripted_prompter.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>

namespace vantrel {
namespace {

using Script = std::function<void(HWND dialog)>;

// A key as the dialog's modal loop hands it to the dialog manager: to the focused control, or to the dialog
// when no control has the focus.
void PressKey(HWND dialog, WPARAM key) {
    const HWND focus = GetFocus();
    MSG message{IsChild(dialog, focus) ? focus : dialog, WM_KEYDOWN, key, 0, 0, {}};
    IsDialogMessageW(dialog, &message);
}

struct EnterOutcome {
    std::optional<NewViewChoice> choice;
    bool closedByEnter = false;
};

// Shows the dialog; once its list has the focus, `moveFocus` runs and Enter is pressed. A dialog that Enter
// left open is still there at the next turn of its modal loop: then Escape closes it.
EnterOutcome PressEnterAfter(const Script& moveFocus) {
    static const Script* script = nullptr;
    static bool entered = false;
    static bool leftOpen = false;
    static std::chrono::steady_clock::time_point deadline;
    script = &moveFocus;
    entered = leftOpen = false;
    deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    const UINT_PTR timer = SetTimer(nullptr, 0, 10, [](HWND, UINT, UINT_PTR, DWORD) {
        const HWND dialog = FindWindowW(L"#32770", L"New view");
        if (dialog == nullptr)
            return;
        if (entered) {
            leftOpen = true;
            PressKey(dialog, VK_ESCAPE);
        } else if (GetFocus() == GetDlgItem(dialog, IDC_NEW_BUILT_IN_LIST)) {
            (*script)(dialog);
            entered = true;
            PressKey(dialog, VK_RETURN);
        } else if (std::chrono::steady_clock::now() > deadline) {
            ADD_FAILURE() << "the list never had the focus";
            EndDialog(dialog, IDCANCEL);
        }
    });
    test::ScriptedPrompter prompter;
    EnterOutcome outcome;
    outcome.choice = ShowNewViewDialog(nullptr, prompter);
    KillTimer(nullptr, timer);
    outcome.closedByEnter = entered && !leftOpen;
    return outcome;
}

struct EnterCase {
    const char* focus;
    Script moveFocus;
    std::optional<NewViewChoice> choice; // nothing: nothing chosen
    bool closes;
};

TEST(NewViewDialog, EnterOpensTheLocalViewFromTheListAndPressesAFocusedButtonElsewhere) {
    const EnterCase cases[] = {
        {"the list, as the dialog opens", [](HWND) {}, NewViewChoice{2, 7}, true},
        {"the list, on its first entry",
         [](HWND dialog) { SendMessageW(GetDlgItem(dialog, IDC_NEW_BUILT_IN_LIST), CB_SETCURSEL, 0, 0); },
         NewViewChoice{2, 1}, true},
        {"\"&New ..\", three tabs on",
         [](HWND dialog) {
             for (int tab = 0; tab < 3; ++tab)
                 PressKey(dialog, VK_TAB);
         },
         NewViewChoice{1, 7}, true},
        {"\"&Cancel\"",
         [](HWND dialog) {
             SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, IDCANCEL)),
                          TRUE);
         },
         std::nullopt, true},
        {"the list again, after a button",
         [](HWND dialog) {
             PressKey(dialog, VK_TAB);
             SendMessageW(dialog, WM_NEXTDLGCTL,
                          reinterpret_cast<WPARAM>(GetDlgItem(dialog, IDC_NEW_BUILT_IN_LIST)), TRUE);
         },
         NewViewChoice{2, 7}, true},
        {"\"&MSI/install view ..\", pressed with the mouse and let go outside it",
         [](HWND dialog) {
             const HWND button = GetDlgItem(dialog, IDC_NEW_MSI);
             SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
             SendMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(-20, -20));
         },
         NewViewChoice{4, 7}, true},
        {"no control", [](HWND) { SetFocus(nullptr); }, std::nullopt, false},
    };
    for (const EnterCase& test : cases) {
        SCOPED_TRACE(test.focus);
        const EnterOutcome outcome = PressEnterAfter(test.moveFocus);
        EXPECT_EQ(outcome.choice, test.choice);
        EXPECT_EQ(outcome.closedByEnter, test.closes);
    }
}

} // namespace
} // namespace vantrel
