#pragma once
// A main window over in-memory services and a scripted prompter, with ways to let its messages run.
#include "shell/main_window.h"

#include "engine/scripted_host.h"
#include "platform/com_apartment.h"
#include "shell/scripted_prompter.h"
#include "support/memory_registry.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>

namespace vantrel::test {

inline std::wstring WindowText(HWND hwnd) {
    wchar_t buffer[512]{};
    GetWindowTextW(hwnd, buffer, 512);
    return buffer;
}

inline std::wstring ClassName(HWND hwnd) {
    wchar_t buffer[256]{};
    GetClassNameW(hwnd, buffer, 256);
    return buffer;
}

class MainWindowFixture : public ::testing::Test, protected FakeViewServices {
protected:
    ~MainWindowFixture() override {
        if (main && main->hwnd())
            DestroyWindow(main->hwnd());
        MSG message{};
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) // drop the quit message of that window
            ;
    }

    std::unique_ptr<MainWindow> CreateMain() {
        return MainWindow::Create(GetModuleHandleW(nullptr), ForViews(), prompter);
    }
    void ShowMain() {
        main = CreateMain();
        ASSERT_NE(main, nullptr);
        ShowWindow(main->hwnd(), SW_SHOWNORMAL);
    }

    // Lets messages run until the condition holds or the time is up; true when it held.
    bool RunUntil(const std::function<bool()>& done,
                  std::chrono::milliseconds timeout = std::chrono::milliseconds(10000)) {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (!done()) {
            if (std::chrono::steady_clock::now() > deadline)
                return false;
            MSG message{};
            if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                if (message.message == WM_QUIT)
                    return done();
                TranslateMessage(&message);
                DispatchMessageW(&message);
            } else {
                Sleep(1);
            }
        }
        return true;
    }
    void RunFor(std::chrono::milliseconds time) {
        RunUntil([] { return false; }, time);
    }
    // Lets the messages waiting now run, and those they post in turn, until none is left: a new view's first
    // fill and a posted dialog are among them.
    void RunPending() {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        MSG message{};
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) && message.message != WM_QUIT) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
            if (std::chrono::steady_clock::now() > deadline) {
                ADD_FAILURE() << "messages kept coming for 10 s";
                return;
            }
        }
    }

    // A menu command sent as a click would send it, and what follows it; the active view afterwards.
    ViewForm* Command(int id) {
        SendMessageW(main->hwnd(), WM_COMMAND, id, 0);
        RunPending();
        return main->ActiveView();
    }

    ComApartment com;
    ScriptedPrompter prompter;
    std::unique_ptr<MainWindow> main;
};

} // namespace vantrel::test
