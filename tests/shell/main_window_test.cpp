#include "shell/main_window.h"

#include "engine/scripted_host.h"
#include "shell/scripted_prompter.h"
#include "support/memory_registry.h"

#include <gtest/gtest.h>

#include <string>

namespace vantrel {
namespace {

std::wstring WindowText(HWND hwnd) {
    wchar_t buffer[256]{};
    GetWindowTextW(hwnd, buffer, 256);
    return buffer;
}

std::wstring ClassName(HWND hwnd) {
    wchar_t buffer[256]{};
    GetClassNameW(hwnd, buffer, 256);
    return buffer;
}

class MainWindowTest : public ::testing::Test {
protected:
    std::unique_ptr<MainWindow> Create() {
        return MainWindow::Create(GetModuleHandleW(nullptr),
                                  ViewServices{registry, files, computers, environment, matchList}, prompter);
    }
    test::MemoryRegistry memory;
    Registry registry{memory};
    test::FakeFiles files;
    test::FakeComputers computers;
    test::FakeEnvironment environment;
    MatchList matchList;
    test::ScriptedPrompter prompter;
};

TEST_F(MainWindowTest, IsAnMdiFrameCaptionedVantrel) {
    auto window = Create();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(WindowText(window->hwnd()), L"Vantrel");
    ASSERT_NE(window->mdiClient(), nullptr);
    EXPECT_EQ(GetParent(window->mdiClient()), window->hwnd());
    EXPECT_EQ(_wcsicmp(ClassName(window->mdiClient()).c_str(), L"MDIClient"), 0);
}

TEST_F(MainWindowTest, MdiClientFillsTheFrame) {
    auto window = Create();
    ASSERT_NE(window, nullptr);
    SetWindowPos(window->hwnd(), nullptr, 10, 10, 700, 500, SWP_NOZORDER);
    ShowWindow(window->hwnd(), SW_SHOWNORMAL);
    RECT frameClient{}, mdiRect{};
    GetClientRect(window->hwnd(), &frameClient);
    GetWindowRect(window->mdiClient(), &mdiRect);
    EXPECT_EQ(mdiRect.right - mdiRect.left, frameClient.right);
    EXPECT_EQ(mdiRect.bottom - mdiRect.top, frameClient.bottom);
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
    EXPECT_EQ(third->msiPath(), L"\\\\server\\msi");
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
