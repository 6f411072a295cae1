#pragma once
// Driving a modal dialog from a test: a script runs on it at the first turn of its modal loop.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <utility>

namespace vantrel::test {

using DialogScript = std::function<void(HWND dialog)>;

// Runs `show` (which shows the dialog captioned `caption` modally and returns its result) and `script` on the
// dialog once it shows. A dialog the script left open fails the case and is cancelled at the next turn.
template <typename Show>
auto RunScriptedModal(const wchar_t* caption, const DialogScript& script, Show show) {
    static const DialogScript* pending = nullptr;
    static const wchar_t* shownCaption = nullptr;
    pending = &script;
    shownCaption = caption;
    const UINT_PTR timer = SetTimer(nullptr, 0, 10, [](HWND, UINT, UINT_PTR, DWORD) {
        // The modal loop shows the dialog once it first runs out of messages; a script sees it as a person
        // would, shown.
        const HWND dialog = FindWindowW(L"#32770", shownCaption);
        if (dialog == nullptr || !IsWindowVisible(dialog))
            return;
        if (pending == nullptr) {
            ADD_FAILURE() << "the dialog stayed open";
            EndDialog(dialog, IDCANCEL);
            return;
        }
        std::exchange(pending, nullptr)->operator()(dialog);
    });
    auto result = show();
    KillTimer(nullptr, timer);
    EXPECT_EQ(pending, nullptr) << "the dialog never showed";
    return result;
}

} // namespace vantrel::test
