#include "shell/main_menu_ids.h"
#include "shell/main_window_fixture.h"

#include <gtest/gtest.h>

#include <string>

namespace vantrel {
namespace {

using test::ClassName;
using test::WindowText;

class MainWindowTest : public test::MainWindowFixture {
protected:
    std::unique_ptr<MainWindow> Create() { return CreateMain(); }
};

TEST_F(MainWindowTest, IsAnMdiFrameCaptionedVantrel) {
    auto window = Create();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(WindowText(window->hwnd()), L"Vantrel");
    ASSERT_NE(window->mdiClient(), nullptr);
    EXPECT_EQ(GetParent(window->mdiClient()), window->hwnd());
    EXPECT_EQ(_wcsicmp(ClassName(window->mdiClient()).c_str(), L"MDIClient"), 0);
}

TEST_F(MainWindowTest, MdiClientFillsTheFrameBelowTheToolbar) {
    auto window = Create();
    ASSERT_NE(window, nullptr);
    SetWindowPos(window->hwnd(), nullptr, 10, 10, 700, 500, SWP_NOZORDER);
    ShowWindow(window->hwnd(), SW_SHOWNORMAL);
    RECT frameClient{}, mdiRect{};
    GetClientRect(window->hwnd(), &frameClient);
    GetWindowRect(window->mdiClient(), &mdiRect);
    MapWindowPoints(nullptr, window->hwnd(), reinterpret_cast<POINT*>(&mdiRect), 2);
    const int toolbarHeight = window->toolbar().Height();
    EXPECT_GT(toolbarHeight, 16);
    EXPECT_EQ(mdiRect.top, toolbarHeight);
    EXPECT_EQ(mdiRect.right - mdiRect.left, frameClient.right);
    EXPECT_EQ(mdiRect.bottom, frameClient.bottom);
}

TEST_F(MainWindowTest, ToolbarFollowsTheCommandTable) {
    auto window = Create();
    ASSERT_NE(window, nullptr);
    const HWND bar = window->toolbar().hwnd();
    ASSERT_EQ(SendMessageW(bar, TB_BUTTONCOUNT, 0, 0), 26);
    std::wstring layout;
    for (int i = 0; i < 26; ++i) {
        TBBUTTON button{};
        SendMessageW(bar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button));
        if (button.fsStyle & BTNS_SEP)
            layout += L"[" + std::to_wstring(button.iBitmap) + L"]";
        else
            layout += std::to_wstring(button.iBitmap + 1) + ((button.fsStyle & BTNS_CHECK) ? L"c " : L" ");
    }
    // Spacers show their width in pixels: 30 and 240 twips, and the computer box's 2000 + 120.
    EXPECT_EQ(layout, L"[2]4 7 8 15 9c [16]3 6 5 20 16 1 2 [16][141]18 28 [16]12 10 [16]14 25 [16]23 ");

    NMTTDISPINFOW tip{};
    tip.hdr.hwndFrom = reinterpret_cast<HWND>(SendMessageW(bar, TB_GETTOOLTIPS, 0, 0));
    tip.hdr.idFrom = kToolbarCommandBase + 28;
    tip.hdr.code = TTN_GETDISPINFOW;
    SendMessageW(window->hwnd(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&tip));
    ASSERT_NE(tip.lpszText, nullptr);
    EXPECT_STREQ(tip.lpszText, L"Current datarow on multiple computers");

    wchar_t computer[64]{};
    GetWindowTextW(window->toolbar().computerBox(), computer, 64);
    EXPECT_STREQ(computer, L"<local station>");
    EXPECT_TRUE(GetWindowLongW(window->toolbar().computerBox(), GWL_STYLE) & ES_READONLY);
}

TEST_F(MainWindowTest, ViewDetailsButtonSwitchesTheListMode) {
    auto window = Create();
    ASSERT_NE(window, nullptr);
    const HWND bar = window->toolbar().hwnd();
    const int details = kToolbarCommandBase + 9;
    SendMessageW(bar, TB_CHECKBUTTON, details, TRUE); // what a click on the check button does first
    SendMessageW(window->hwnd(), WM_COMMAND, details, 0);
    EXPECT_EQ(window->listMode(), 1);
    EXPECT_TRUE(GetMenuState(window->menu(), IDM_DETAILED_LIST, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_FALSE(GetMenuState(window->menu(), IDM_STANDARD_LIST, MF_BYCOMMAND) & MF_CHECKED);
    SendMessageW(window->hwnd(), WM_COMMAND, IDM_STANDARD_LIST, 0);
    EXPECT_EQ(window->listMode(), 0);
    EXPECT_FALSE(SendMessageW(bar, TB_ISBUTTONCHECKED, details, 0));
}

TEST_F(MainWindowTest, ClosingEndsTheMessageLoop) {
    auto window = Create();
    ASSERT_NE(window, nullptr);
    PostMessageW(window->hwnd(), WM_CLOSE, 0, 0);
    MSG message{};
    int guard = 0;
    while (GetMessageW(&message, nullptr, 0, 0) > 0 && ++guard < 10000)
        DispatchMessageW(&message);
    EXPECT_EQ(message.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(window->hwnd(), nullptr);
}

const std::wstring kSettings = L"Software\\Ostrand\\Kivo";

RECT WindowRect(HWND hwnd) {
    RECT rect{};
    GetWindowRect(hwnd, &rect);
    return rect;
}

TEST_F(MainWindowTest, SettingsSurviveARestart) {
    auto first = Create();
    ASSERT_NE(first, nullptr);
    first->Show(SW_SHOWNORMAL);
    SetWindowPos(first->hwnd(), nullptr, 40, 30, 800, 600, SWP_NOZORDER);
    memory.SetString(L"", RootKey::CurrentUser, kSettings, L"KvfPath", L"C:\\Views");
    memory.SetString(L"", RootKey::CurrentUser, kSettings, L"MsiPath", L"\\\\server\\msi");
    first.reset(); // destroyed without closing: nothing is written
    EXPECT_FALSE(memory.Get(L"", RootKey::CurrentUser, kSettings, L"Window").has_value());
    auto second = Create();
    ASSERT_NE(second, nullptr);
    SetWindowPos(second->hwnd(), nullptr, 40, 30, 800, 600, SWP_NOZORDER);
    SendMessageW(second->hwnd(), WM_CLOSE, 0, 0);
    const auto window = memory.Get(L"", RootKey::CurrentUser, kSettings, L"Window");
    ASSERT_TRUE(window.has_value());
    EXPECT_EQ(window->type, regtype::kMultiSz);
    EXPECT_EQ(test::Utf16Text(window->bytes), std::wstring(L"600\0"
                                                           L"450\0"
                                                           L"12000\0"
                                                           L"9000",
                                                           18));
    EXPECT_EQ(test::Utf16Text(memory.Get(L"", RootKey::CurrentUser, kSettings, L"KvfPath")->bytes),
              L"C:\\Views");

    auto third = Create();
    ASSERT_NE(third, nullptr);
    const RECT rect = WindowRect(third->hwnd());
    EXPECT_EQ(rect.left, 40);
    EXPECT_EQ(rect.top, 30);
    EXPECT_EQ(rect.right - rect.left, 800);
    EXPECT_EQ(third->viewFolder(), L"C:\\Views");
    EXPECT_EQ(third->InstallPath(), L"\\\\server\\msi");
}

TEST_F(MainWindowTest, ANegativeLeftStartsMaximized) {
    memory.SetMultiString(L"", RootKey::CurrentUser, kSettings, L"Window",
                          {L"-60", L"300", L"9000", L"7000", L""});
    auto window = Create();
    ASSERT_NE(window, nullptr);
    window->Show(SW_SHOWNORMAL);
    EXPECT_TRUE(IsZoomed(window->hwnd()));
    SendMessageW(window->hwnd(), WM_CLOSE, 0, 0);
    const auto written = memory.Get(L"", RootKey::CurrentUser, kSettings, L"Window");
    ASSERT_TRUE(written.has_value());
    EXPECT_TRUE(test::Utf16Text(written->bytes).starts_with(L"-60"))
        << "a maximized window is written with a negative Left";
}

TEST_F(MainWindowTest, WithoutSettingsTheWindowIsCentredAndTheFolderIsTheCurrentOne) {
    auto window = Create();
    ASSERT_NE(window, nullptr);
    const RECT rect = WindowRect(window->hwnd());
    const int width = rect.right - rect.left;
    EXPECT_NEAR(rect.left, (GetSystemMetrics(SM_CXSCREEN) - width) / 2, 1);
    wchar_t current[MAX_PATH]{};
    GetCurrentDirectoryW(MAX_PATH, current);
    EXPECT_EQ(window->viewFolder(), current);
}

} // namespace
} // namespace vantrel
