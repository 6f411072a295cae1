#pragma once
// Work that must run on the UI thread, handed over from any thread: a message box about something a worker
// found, say. The calls run in order the next time the UI thread lets messages run (its main loop, a modal
// loop or a fill's message pump).
#include "platform/unique_handle.h"

#include <functional>
#include <mutex>
#include <vector>

namespace vantrel {

class UiThreadCalls {
public:
    UiThreadCalls(); // on the UI thread
    ~UiThreadCalls();
    UiThreadCalls(const UiThreadCalls&) = delete;
    UiThreadCalls& operator=(const UiThreadCalls&) = delete;

    // Runs `call` now on the UI thread, or soon when called from another thread. Calls still waiting when
    // this ends are dropped.
    void Run(std::function<void()> call);

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void RunWaiting();

    DWORD uiThread_;
    UniqueWindow window_; // message-only: it only receives the wake-ups
    std::mutex mutex_;
    std::vector<std::function<void()>> waiting_;
};

} // namespace vantrel
