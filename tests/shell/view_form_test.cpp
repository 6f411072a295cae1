// View windows inside the main window: they fill themselves once shown, stop on Esc, and can be closed, or
// have the main window closed under them, while a fill runs.
#include "shell/main_window_fixture.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>

namespace vantrel {
namespace {

using test::WindowText;

using namespace std::chrono_literals;
constexpr auto HKLM = RootKey::LocalMachine;
constexpr int kManyKeys = 30000; // a fill long enough to be reached while it runs
const std::wstring kManyView = L"Software\\Many,01,01,Many,|9,<key>|9,Name";

// Runs an action from inside whatever lets messages run next, every `ms` until it says it is done: the way
// to reach a view while its fill runs.
std::function<bool()> timerAction;
void CALLBACK RunTimerAction(HWND, UINT, UINT_PTR id, DWORD) {
    if (!timerAction || timerAction()) {
        KillTimer(nullptr, id);
        timerAction = nullptr;
    }
}
void Every(UINT ms, std::function<bool()> action) {
    timerAction = std::move(action);
    SetTimer(nullptr, 0, ms, &RunTimerAction);
}

// Runs the action once the view's fill has rows, from inside the fill; `wasFilling` tells whether it was.
void DuringFill(ViewForm* form, bool& wasFilling, std::function<void()> action) {
    Every(20, [form, &wasFilling, action = std::move(action)] {
        if (form->view().rowCount == 0)
            return false; // not yet evaluating items
        wasFilling = form->IsFilling();
        action();
        return true;
    });
}

class ViewFormTest : public test::MainWindowFixture {
protected:
    ViewFormTest() {
        memory.SetString(L"", HKLM, L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", L"CurrentVersion",
                         L"6.1");
        memory.SetString(L"", HKLM, L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", L"CSDVersion",
                         L"Service Pack 1");
        ShowMain();
    }

    void AddKeys(int count) {
        for (int i = 0; i < count; ++i)
            memory.SetString(L"", HKLM, L"Software\\Many\\K" + std::to_wstring(10000 + i), L"Name", L"item");
    }
};

// The fills that run long: a registry view evaluating its definition for every key, and the class list
// reading every class itself.
class LongFillTest : public ViewFormTest, public ::testing::WithParamInterface<ViewKind> {
protected:
    ViewForm* OpenLongFill() {
        if (GetParam() != ViewKind::ClassList) {
            AddKeys(kManyKeys);
            return main->OpenView({L"", kManyView});
        }
        for (int i = 0; i < kManyKeys; ++i) {
            const std::wstring key = L"SOFTWARE\\Classes\\CLSID\\{" + std::to_wstring(10000 + i) + L"}";
            memory.CreateKey(L"", HKLM, key + L"\\Control");
            memory.SetString(L"", HKLM, key + L"\\InProcServer32", L"", L"C:\\control.ocx");
        }
        return main->OpenClassList(L"");
    }
};

TEST_F(ViewFormTest, FillsItselfOnceShown) {
    memory.SetString(L"", HKLM, L"System\\CurrentControlSet\\Services\\AcmeBackupSvc", L"DisplayName",
                     L"Acme Backup");
    memory.SetDword(L"", HKLM, L"System\\CurrentControlSet\\Services\\AcmeBackupSvc", L"Type", 16);
    ViewForm* form = main->OpenView({L"", L"8"});
    ASSERT_NE(form, nullptr);
    const HWND hwnd = form->hwnd();
    ASSERT_TRUE(
        RunUntil([&] { return form->view().state() == ViewState::Idle && form->view().rowCount == 1; }));
    EXPECT_EQ(WindowText(hwnd), L"Registered services view - Local - v6.1sp1");
    EXPECT_EQ(form->view().grid.TextMatrix(1, 1), L"Acme Backup");
    EXPECT_EQ(form->view().grid.TextMatrix(0, 5), L"Type");
    ASSERT_NE(form->grid(), nullptr);
    RECT client{}, grid{};
    GetClientRect(hwnd, &client);
    GetWindowRect(form->grid()->hwnd(), &grid);
    EXPECT_EQ(grid.right - grid.left, client.right);
}

TEST_F(ViewFormTest, WithoutADefinitionShowsTheInstalledSoftware) {
    memory.SetString(L"", HKLM, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Acme",
                     L"DisplayName", L"Acme");
    ViewForm* form = main->OpenView({});
    ASSERT_NE(form, nullptr);
    ASSERT_TRUE(
        RunUntil([&] { return form->view().rowCount == 1 && form->view().state() == ViewState::Idle; }));
    EXPECT_EQ(form->view().definition.substr(0, 64), std::wstring(kDefaultDefinition).substr(0, 64));
    EXPECT_EQ(WindowText(form->hwnd()), L"Installed view - Local - v6.1sp1");
}

TEST_P(LongFillTest, EscapeStopsTheFillWithTheRowsFound) {
    ViewForm* form = OpenLongFill();
    ASSERT_NE(form, nullptr);
    bool wasFilling = false;
    DuringFill(form, wasFilling, [&] { SendMessageW(form->grid()->hwnd(), WM_CHAR, VK_ESCAPE, 0); });
    ASSERT_TRUE(RunUntil([&] { return form->view().state() == ViewState::Idle && !timerAction; }));
    EXPECT_TRUE(wasFilling);
    const int rows = form->view().rowCount;
    EXPECT_GT(rows, 0);
    EXPECT_LT(rows, kManyKeys);
    EXPECT_EQ(form->view().grid.Rows(), rows + 1);
    EXPECT_EQ(form->view().grid.TextMatrix(rows, 0), std::to_wstring(rows));
    EXPECT_EQ(WindowText(form->hwnd()).find(L'%'), std::wstring::npos) << "progress left in the caption";
}

TEST_P(LongFillTest, ClosingAViewDuringItsFillStopsItAndCloses) {
    ViewForm* form = OpenLongFill();
    ASSERT_NE(form, nullptr);
    const HWND hwnd = form->hwnd();
    bool wasFilling = false;
    DuringFill(form, wasFilling, [&] { SendMessageW(hwnd, WM_CLOSE, 0, 0); });
    ASSERT_TRUE(RunUntil([&] { return !IsWindow(hwnd); }));
    EXPECT_TRUE(wasFilling);
    memory.ResetCounters();
    RunUntil([] { return false; }, 200ms);
    EXPECT_EQ(memory.QueryCount(), 0u) << "the registry is still read after the window closed";
    EXPECT_EQ(ViewForm::RunningFills(), 0);
    EXPECT_EQ(memory.OpenHandleCount(), 0u);
}

TEST_P(LongFillTest, DestroyingAViewDuringItsFillIsSafe) {
    ViewForm* form = OpenLongFill();
    ASSERT_NE(form, nullptr);
    const HWND hwnd = form->hwnd();
    bool wasFilling = false;
    // As a close of all windows at once would: destroyed from inside the fill's message pumping.
    DuringFill(form, wasFilling,
               [&] { SendMessageW(main->mdiClient(), WM_MDIDESTROY, reinterpret_cast<WPARAM>(hwnd), 0); });
    ASSERT_TRUE(RunUntil([&] { return !IsWindow(hwnd) && ViewForm::RunningFills() == 0; }));
    EXPECT_TRUE(wasFilling);
    EXPECT_EQ(memory.OpenHandleCount(), 0u);
}

TEST_P(LongFillTest, ClosingTheMainWindowDuringAFillEndsCleanly) {
    ViewForm* form = OpenLongFill();
    ASSERT_NE(form, nullptr);
    bool wasFilling = false;
    DuringFill(form, wasFilling, [&] { SendMessageW(main->hwnd(), WM_CLOSE, 0, 0); });
    bool quit = false;
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (!quit && std::chrono::steady_clock::now() < deadline) {
        MSG message{};
        if (GetMessageW(&message, nullptr, 0, 0) <= 0) {
            quit = true;
            break;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    EXPECT_TRUE(wasFilling);
    EXPECT_TRUE(quit);
    EXPECT_EQ(main->hwnd(), nullptr);
    EXPECT_EQ(ViewForm::RunningFills(), 0);
    EXPECT_EQ(memory.OpenHandleCount(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Fills, LongFillTest, ::testing::Values(ViewKind::Registry, ViewKind::ClassList),
                         [](const auto& info) {
                             return info.param == ViewKind::ClassList ? std::string("ClassList")
                                                                      : std::string("Registry");
                         });

TEST_F(ViewFormTest, DataVariableIsAskedThroughThePrompter) {
    memory.SetString(
        L"", HKLM,
        L"Software\\Microsoft\\Windows\\CurrentVersion\\Installer\\UserData\\S-1-5-18\\Components\\C1",
        L"76EBC7F13913D5342AFC8C2AFB530CE8", L"C:\\Acme\\acme.exe");
    prompter.inputAnswer = L"{1F7CBE67-3193-435D-A2CF-C8A2BF35C08E}";
    ViewForm* form = main->OpenView({L"", L"3"});
    ASSERT_NE(form, nullptr);
    ASSERT_TRUE(
        RunUntil([&] { return form->view().rowCount == 1 && form->view().state() == ViewState::Idle; }));
    EXPECT_EQ(prompter.prompts, (std::vector<std::wstring>{L"Enter the data variable:"}));
    EXPECT_EQ(form->view().grid.TextMatrix(1, 2), L"C:\\Acme\\acme.exe");
}

} // namespace
} // namespace vantrel
