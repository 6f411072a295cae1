// A second start of Kivo.exe, seen from outside: it hands its command line to the running instance over DDE
// and ends without a window of its own. This test plays the running instance.
#include "blackbox/process.h"
#include "platform/dde.h"

#include <gtest/gtest.h>

#include <vector>

namespace vantrel::test {
namespace {

using namespace std::chrono_literals;

TEST(HandOver, AFileNameBecomesOneOpenCommandAndTheSecondStartEnds) {
    std::vector<std::wstring> received;
    DdeServer running(L"Kivo", L"VANTREL", [&](std::wstring_view commands) {
        received.emplace_back(commands);
        return true;
    });
    ASSERT_TRUE(running.running());
    KivoProcess kivo(L"\"C:\\My Files\\win.ini\"");
    ASSERT_TRUE(kivo.started());
    ASSERT_TRUE(PumpUntil([&] { return kivo.WaitForExit(0ms) != STILL_ACTIVE; }, 20s));
    EXPECT_EQ(received, (std::vector<std::wstring>{L"[open \"C:\\My Files\\win.ini\"]"}));
    EXPECT_EQ(kivo.WaitForExit(0ms), 0u);
}

TEST(HandOver, ACommandStringIsSentUnchanged) {
    std::vector<std::wstring> received;
    DdeServer running(L"Kivo", L"Vantrel", [&](std::wstring_view commands) {
        received.emplace_back(commands);
        return true;
    });
    KivoProcess kivo(L"[OpenSW WS0015][Detail 1]");
    ASSERT_TRUE(PumpUntil([&] { return kivo.WaitForExit(0ms) != STILL_ACTIVE; }, 20s));
    EXPECT_EQ(received, (std::vector<std::wstring>{L"[OpenSW WS0015][Detail 1]"}));
}

TEST(HandOver, ABusyProgramIsAskedAgainUntilItTakesTheCommands) {
    int calls = 0;
    DdeServer running(L"Kivo", L"Vantrel", [&](std::wstring_view) -> std::optional<bool> {
        if (++calls < 3)
            return std::nullopt; // still filling a view
        return true;
    });
    KivoProcess kivo(L"[OpenSW]");
    ASSERT_TRUE(PumpUntil([&] { return kivo.WaitForExit(0ms) != STILL_ACTIVE; }, 20s));
    EXPECT_EQ(calls, 3);
    EXPECT_EQ(VisibleWindowOf(kivo, L"#32770", L"Vantrel"), nullptr); // no "Could not open"
    EXPECT_EQ(kivo.WaitForExit(0ms), 0u);
}

TEST(HandOver, ARefusedCommandIsReported) {
    DdeServer running(L"Kivo", L"Vantrel", [](std::wstring_view) { return false; });
    KivoProcess kivo(L"C:\\nowhere.kvf");
    const HWND box = WaitForMessageBox(kivo, 20s);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box), L"Could not open C:\\nowhere.kvf");
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(PumpUntil([&] { return kivo.WaitForExit(0ms) != STILL_ACTIVE; }, 10s));
}

// The box comes up in front of the splash, which still shows, and takes the keyboard: Enter closes it.
TEST(HelpSwitch, ShowsTheUsageTextInFrontOfTheSplashAndNoMainWindow) {
    KivoProcess kivo(L"/?");
    const HWND box = WaitForMessageBox(kivo, 20s);
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(MessageBoxText(box).starts_with(L"Usage:\n\tKivo [<kvffile>|<inifile>|<DDE-cmd>[..]]"));
    EXPECT_EQ(VisibleWindowOf(kivo, L"VantrelMainWindow"), nullptr);
    const HWND splash = SplashOf(kivo);
    ASSERT_NE(splash, nullptr);
    EXPECT_TRUE(InFrontOf(box, splash));
    ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == box; }, 10s));
    PressKey(VK_RETURN);
    ASSERT_TRUE(PumpUntil([&] { return kivo.WaitForExit(0ms) != STILL_ACTIVE; }, 10s));
    EXPECT_EQ(kivo.WaitForExit(0ms), 0u);
}

// A renamed copy of the program serves under its own name, and its second start finds it there.
TEST(HandOver, ARenamedProgramHandsOverToItself) {
    const std::wstring kivo = KivoPath();
    const std::wstring copy = kivo.substr(0, kivo.find_last_of(L'\\') + 1) + L"Kivo Copy.exe";
    ASSERT_TRUE(CopyFileW(kivo.c_str(), copy.c_str(), FALSE));
    {
        KivoProcess first(L"", copy);
        const HWND newView = first.WaitForWindow(L"New view", 30s);
        ASSERT_NE(newView, nullptr);
        PostMessageW(newView, WM_COMMAND, IDCANCEL, 0);
        const HWND main = first.WaitForWindow(L"Vantrel", 10s);
        ASSERT_NE(main, nullptr);

        KivoProcess second(L"[OpenSW]", copy);
        ASSERT_TRUE(PumpUntil([&] { return second.WaitForExit(0ms) != STILL_ACTIVE; }, 30s));
        EXPECT_EQ(second.WaitForExit(0ms), 0u);
        const HWND client = FindWindowExW(main, nullptr, L"MDIClient", nullptr);
        EXPECT_TRUE(
            PumpUntil([&] { return GetWindow(client, GW_CHILD) != nullptr; }, 10s)); // the view it sent
        PostMessageW(main, WM_CLOSE, 0, 0);
        EXPECT_EQ(first.WaitForExit(20s), 0u);
    }
    DeleteFileW(copy.c_str());
}

} // namespace
} // namespace vantrel::test
