// The file properties dialog over real files and an in-memory registry, with a launcher that only records.
#include "dialogs/file_properties/file_properties_dialog.h"
#include "dialogs/file_properties/file_properties_ids.h"
#include "platform/file_info.h"
#include "platform/file_launcher.h"
#include "platform/win_environment.h"
#include "shell/scripted_prompter.h"
#include "sources/registry.h"
#include "support/memory_registry.h"
#include "support/recording_launcher.h"
#include "support/temp_folder.h"
#include "ui/window_text.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <functional>

namespace vantrel::test {
namespace {

std::wstring ListEntries(HWND list) {
    std::wstring entries;
    const auto count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT n = 0; n < count; ++n) {
        std::wstring text(static_cast<size_t>(SendMessageW(list, LB_GETTEXTLEN, n, 0)) + 1, L'\0');
        text.resize(
            static_cast<size_t>(SendMessageW(list, LB_GETTEXT, n, reinterpret_cast<LPARAM>(text.data()))));
        entries += (n == 0 ? L"" : L",") + text;
    }
    return entries;
}

class FilePropertiesDialogTest : public ::testing::Test {
protected:
    FilePropertiesDialogTest() {
        memory.SetString(L"", RootKey::ClassesRoot, L".vtest", L"", L"vtestfile");
        memory.SetString(L"", RootKey::ClassesRoot, L"vtestfile\\shell", L"", L"open,edit,print");
        for (const wchar_t* action : {L"zap", L"print", L"edit", L"open"})
            memory.SetString(L"", RootKey::ClassesRoot,
                             std::wstring(L"vtestfile\\shell\\") + action + L"\\command", L"",
                             L"\"C:\\Program Files\\App\\app.exe\" /dde");
    }

    // Shows the dialog for `path`; `script` runs once a dialog of that caption is up, then it is closed.
    // True when the dialog appeared.
    bool Show(std::wstring_view path, const wchar_t* caption, const std::function<void(HWND)>& script) {
        static const std::function<void(HWND)>* current = nullptr;
        static const wchar_t* currentCaption = nullptr;
        static bool appeared = false;
        static std::chrono::steady_clock::time_point deadline;
        current = &script;
        currentCaption = caption;
        appeared = false;
        deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        const UINT_PTR timer = SetTimer(nullptr, 0, 10, [](HWND, UINT, UINT_PTR, DWORD) {
            const HWND dialog = FindWindowW(L"#32770", currentCaption);
            if (dialog != nullptr && !appeared) {
                appeared = true;
                (*current)(dialog);
                EndDialog(dialog, IDCANCEL);
            } else if (dialog == nullptr && std::chrono::steady_clock::now() > deadline) {
                const HWND other = FindWindowW(L"#32770", nullptr);
                if (other != nullptr && GetParent(other) == nullptr)
                    EndDialog(other, IDCANCEL);
            }
        });
        ShowFile(nullptr, path, services);
        KillTimer(nullptr, timer);
        return appeared;
    }

    MemoryRegistry memory;
    Registry registry{memory};
    WinEnvironment environment;
    RecordingLauncher launcher;
    ScriptedPrompter prompter;
    FilePropertiesServices services{registry, environment, launcher, prompter};
};

TEST_F(FilePropertiesDialogTest, AFileShowsItsSizeActionsAndLaunchesTheSplitCommand) {
    const std::wstring path = TempFolder(L"vantrel-file-properties") + L"\\sample.vtest";
    std::ofstream(path.c_str(), std::ios::binary) << std::string(1'500'000, 'x');
    const bool shown = Show(path, L"File properties", [&](HWND dialog) {
        EXPECT_EQ(WindowTextOf(GetDlgItem(dialog, IDC_FP_PATH_LABEL)), L"File:");
        EXPECT_EQ(WindowTextOf(GetDlgItem(dialog, IDC_FP_SIZE)), L"1500000");
        EXPECT_EQ(WindowTextOf(GetDlgItem(dialog, IDC_FP_SIZE_KB)), L"1465kB, 1MB");
        EXPECT_EQ(WindowTextOf(GetDlgItem(dialog, IDC_FP_MODIFIED)), Get_FTime(path));
        EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_FP_ARCHIVE), BST_CHECKED);
        EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_FP_READ_ONLY), BST_UNCHECKED);
        EXPECT_EQ(ListEntries(GetDlgItem(dialog, IDC_FP_ACTIONS)), L"open,edit,print,zap");
        EXPECT_EQ(WindowTextOf(GetDlgItem(dialog, IDC_FP_COMMAND)),
                  L"\"C:\\Program Files\\App\\app.exe\" " + path);

        SetWindowTextW(GetDlgItem(dialog, IDC_FP_SIZE), L"12");
        EXPECT_EQ(WindowTextOf(GetDlgItem(dialog, IDC_FP_SIZE)), L"1500000");

        SendMessageW(dialog, WM_COMMAND, IDC_FP_LAUNCH, 0);
        SendMessageW(dialog, WM_COMMAND, IDC_FP_EXPLORER, 0);
    });
    ASSERT_TRUE(shown);
    ASSERT_EQ(launcher.launches.size(), 1u);
    EXPECT_EQ(launcher.launches[0],
              (std::vector<std::wstring>{L"open", L"C:\\Program Files\\App\\app.exe", path}));
    EXPECT_EQ(launcher.explorerLines,
              (std::vector<std::wstring>{L"Explorer /e," + PathOf(path) + L",/select," + path}));
    DeleteFileW(path.c_str());
}

TEST_F(FilePropertiesDialogTest, AFolderPathLosesItsTrailingBackslash) {
    const std::wstring folder = TempFolder(L"vantrel-file-properties");
    const bool shown = Show(folder + L"\\", L"Folder properties", [&](HWND dialog) {
        EXPECT_EQ(WindowTextOf(GetDlgItem(dialog, IDC_FP_PATH)), folder);
        EXPECT_EQ(WindowTextOf(GetDlgItem(dialog, IDC_FP_PATH_LABEL)), L"Folder:");
    });
    EXPECT_TRUE(shown);
}

TEST_F(FilePropertiesDialogTest, AMissingItemGivesOnlyAMessage) {
    const bool shown = Show(L"C:\\no such folder\\none.vtest", L"File properties", [](HWND) {});
    EXPECT_FALSE(shown);
    EXPECT_EQ(prompter.messages, (std::vector<std::wstring>{L"Could not read file info"}));
}

} // namespace
} // namespace vantrel::test
