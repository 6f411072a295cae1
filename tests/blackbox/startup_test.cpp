#include "blackbox/process.h"

#include <gtest/gtest.h>

#include <functional>

namespace vantrel::test {
namespace {

using namespace std::chrono_literals;

constexpr WPARAM kAboutCommand = 1403; // "&About .."

std::wstring StaticTexts(HWND dialog) {
    std::wstring text;
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t buffer[256]{};
        GetWindowTextW(child, buffer, 256);
        text += buffer;
        text += L'|';
    }
    return text;
}

TEST(Startup, ShowsTheMainWindowAsksForAFirstViewAndEndsWhenClosed) {
    KivoProcess kivo;
    ASSERT_TRUE(kivo.started()) << "could not start Kivo.exe";
    const HWND main = kivo.WaitForWindow(L"Vantrel", 20s);
    ASSERT_NE(main, nullptr);
    wchar_t className[64]{};
    GetClassNameW(main, className, 64);
    EXPECT_STREQ(className, L"VantrelMainWindow");
    EXPECT_NE(FindWindowExW(main, nullptr, L"MDIClient", nullptr), nullptr);

    // Once the main window is up, the new-view dialog asks for a first view.
    const HWND newView = kivo.WaitForWindow(L"New view", 20s);
    ASSERT_NE(newView, nullptr);
    PostMessageW(newView, WM_COMMAND, IDCANCEL, 0);

    // The about box names the product and its version.
    PostMessageW(main, WM_COMMAND, kAboutCommand, 0);
    HWND about = nullptr;
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (about == nullptr && std::chrono::steady_clock::now() < deadline) {
        about = kivo.WaitForWindow(L"", 100ms);
        if (about != nullptr && StaticTexts(about).find(L"Version") == std::wstring::npos)
            about = nullptr;
    }
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(StaticTexts(about), L"||Vantrel|Windows 2000/XP/.Net|Version 1.0.0|Ostrand|");
    PostMessageW(about, WM_CHAR, L'x', 0);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindowVisible(about); }, 10s)) << "any key closes the about box";

    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(kivo.WaitForExit(10s), 0u);
}

} // namespace
} // namespace vantrel::test
