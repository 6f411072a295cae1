#include "blackbox/process.h"

#include <gtest/gtest.h>

namespace vantrel::test {
namespace {

using namespace std::chrono_literals;

TEST(Startup, ShowsTheMainWindowAndEndsWhenItIsClosed) {
    KivoProcess kivo;
    ASSERT_TRUE(kivo.started()) << "could not start " << std::string(KivoPath().begin(), KivoPath().end());
    const HWND main = kivo.WaitForWindow(L"Vantrel", 20s);
    ASSERT_NE(main, nullptr);

    wchar_t className[64]{};
    GetClassNameW(main, className, 64);
    EXPECT_STREQ(className, L"VantrelMainWindow");
    EXPECT_NE(FindWindowExW(main, nullptr, L"MDIClient", nullptr), nullptr);

    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(kivo.WaitForExit(10s), 0u);
}

} // namespace
} // namespace vantrel::test
