// Work handed to the UI thread: run at once there, run there (not on the caller) from another thread once
// messages are let run, and dropped, not run, when the owner has gone.
#include "platform/ui_thread_calls.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace vantrel {
namespace {

// Lets messages run until `done` or five seconds have passed.
bool PumpUntil(const std::function<bool()>& done) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!done() && std::chrono::steady_clock::now() < until) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return done();
}

TEST(UiThreadCalls, OnTheUiThreadACallRunsAtOnce) {
    UiThreadCalls calls;
    int runs = 0;
    calls.Run([&] { ++runs; });
    EXPECT_EQ(runs, 1);
}

TEST(UiThreadCalls, CallsFromOtherThreadsRunOnTheUiThreadInOrder) {
    UiThreadCalls calls;
    std::vector<int> order;
    std::vector<DWORD> threads;
    std::thread([&] {
        for (int n = 1; n <= 3; ++n)
            calls.Run([&, n] {
                order.push_back(n);
                threads.push_back(GetCurrentThreadId());
            });
    }).join();
    EXPECT_TRUE(order.empty()); // nothing runs on the worker
    ASSERT_TRUE(PumpUntil([&] { return order.size() == 3; }));
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
    for (const DWORD thread : threads)
        EXPECT_EQ(thread, GetCurrentThreadId());
}

TEST(UiThreadCalls, CallsStillWaitingWhenTheOwnerGoesAreDropped) {
    int runs = 0;
    {
        UiThreadCalls calls;
        std::thread([&] { calls.Run([&] { ++runs; }); }).join();
    }
    UiThreadCalls later; // a later owner gets its own wake-ups only
    bool laterRan = false;
    std::thread([&] { later.Run([&] { laterRan = true; }); }).join();
    ASSERT_TRUE(PumpUntil([&] { return laterRan; }));
    EXPECT_EQ(runs, 0);
}

} // namespace
} // namespace vantrel
