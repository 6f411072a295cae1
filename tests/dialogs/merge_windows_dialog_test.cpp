// The merge window selection, driven as a person would: select, press, double-click. The views offered are
// real (hidden) windows, so the handles handed back can be told apart and one can be closed while the dialog
// is up.
#include "dialogs/merge_windows/merge_windows_dialog.h"
#include "dialogs/merge_windows/merge_windows_dialog_ids.h"
#include "platform/unique_handle.h"
#include "support/scripted_modal.h"
#include "ui/window_text.h"

#include <gtest/gtest.h>

#include <functional>

namespace vantrel {
namespace {

using Script = test::DialogScript;

std::vector<HWND> ShowAndRun(std::wstring_view current, const std::vector<MergeCandidate>& others,
                             const Script& script) {
    return test::RunScriptedModal(L"Merge views", script,
                                  [&] { return ShowMergeWindowsDialog(nullptr, current, others); });
}

struct Views {
    std::vector<UniqueWindow> windows;
    std::vector<MergeCandidate> candidates;

    explicit Views(std::initializer_list<const wchar_t*> captions) {
        for (const wchar_t* caption : captions) {
            windows.emplace_back(CreateWindowExW(0, L"STATIC", caption, 0, 0, 0, 10, 10, nullptr, nullptr,
                                                 GetModuleHandleW(nullptr), nullptr));
            candidates.push_back({caption, windows.back().get()});
        }
    }
};

HWND List(HWND dialog) {
    return GetDlgItem(dialog, IDC_MERGE_LIST);
}

void Select(HWND dialog, std::initializer_list<int> items) {
    for (const int item : items)
        SendMessageW(List(dialog), LB_SETSEL, TRUE, item);
}

void Click(HWND dialog, int button) {
    SendMessageW(GetDlgItem(dialog, button), BM_CLICK, 0, 0);
}

// The messages a double-click sends: down, up, double-click, up.
void DoubleClickItem(HWND dialog, int item) {
    RECT rect{};
    SendMessageW(List(dialog), LB_GETITEMRECT, item, reinterpret_cast<LPARAM>(&rect));
    const LPARAM at = MAKELPARAM(rect.left + 2, (rect.top + rect.bottom) / 2);
    for (const UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP})
        SendMessageW(List(dialog), message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, at);
}

TEST(MergeWindowsDialog, OffersTheOtherViewsInTheirOrderWithTheirWindows) {
    Views views{L"Services", L"Fonts", L"Fonts"};
    std::vector<std::wstring> captions;
    std::vector<HWND> windows;
    std::wstring current;
    std::wstring prompt;
    ShowAndRun(L"Installed software", views.candidates, [&](HWND dialog) {
        const HWND list = List(dialog);
        for (LRESULT item = 0; item < SendMessageW(list, LB_GETCOUNT, 0, 0); ++item) {
            std::wstring text(static_cast<size_t>(SendMessageW(list, LB_GETTEXTLEN, item, 0)), L'\0');
            SendMessageW(list, LB_GETTEXT, item, reinterpret_cast<LPARAM>(text.data()));
            captions.push_back(text);
            windows.push_back(reinterpret_cast<HWND>(SendMessageW(list, LB_GETITEMDATA, item, 0)));
        }
        current = WindowTextOf(GetDlgItem(dialog, IDC_MERGE_CURRENT));
        prompt = WindowTextOf(GetDlgItem(dialog, IDC_MERGE_PROMPT));
        Click(dialog, IDCANCEL);
    });
    EXPECT_EQ(captions, (std::vector<std::wstring>{L"Services", L"Fonts", L"Fonts"}));
    EXPECT_EQ(windows,
              (std::vector<HWND>{views.windows[0].get(), views.windows[1].get(), views.windows[2].get()}));
    EXPECT_EQ(current, L"Current view: Installed software");
    EXPECT_EQ(prompt,
              L"Select other view(s) to merge into this view\n(press the Ctrl key to select multiple items)");
}

struct ChoiceCase {
    const char* what;
    std::function<void(HWND dialog, Views& views)> act;
    std::vector<int> chosen; // the views handed back
};

TEST(MergeWindowsDialog, HandsBackTheChosenViewsInListOrder) {
    const ChoiceCase cases[] = {
        {"the second of two with the same caption",
         [](HWND dialog, Views&) {
             Select(dialog, {1});
             Click(dialog, IDOK);
         },
         {1}},
        {"two of three, the later one selected first",
         [](HWND dialog, Views&) {
             Select(dialog, {2, 0});
             Click(dialog, IDOK);
         },
         {0, 2}},
        {"OK with nothing selected", [](HWND dialog, Views&) { Click(dialog, IDOK); }, {}},
        {"Cancel",
         [](HWND dialog, Views&) {
             Select(dialog, {0});
             Click(dialog, IDCANCEL);
         },
         {}},
        {"the close box",
         [](HWND dialog, Views&) {
             Select(dialog, {0});
             SendMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
         },
         {}},
        {"a double-click on an item", [](HWND dialog, Views&) { DoubleClickItem(dialog, 1); }, {1}},
        {"all three, the first closed meanwhile",
         [](HWND dialog, Views& views) {
             Select(dialog, {0, 1, 2});
             views.windows[0].reset();
             Click(dialog, IDOK);
         },
         {1, 2}},
    };
    for (const ChoiceCase& test : cases) {
        SCOPED_TRACE(test.what);
        Views views{L"Uninstall", L"Uninstall", L"Run"};
        std::vector<HWND> expected;
        for (const int view : test.chosen)
            expected.push_back(views.candidates[view].window);
        const auto chosen =
            ShowAndRun(L"Services", views.candidates, [&](HWND dialog) { test.act(dialog, views); });
        EXPECT_EQ(chosen, expected);
    }
}

} // namespace
} // namespace vantrel
