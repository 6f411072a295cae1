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

} // namespace
} // namespace vantrel
