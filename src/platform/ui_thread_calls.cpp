#include "platform/ui_thread_calls.h"

#include <utility>

namespace vantrel {
namespace {

constexpr wchar_t kClassName[] = L"VantrelUiThreadCalls";
constexpr UINT kRunWaiting = WM_APP + 1;

} // namespace

UiThreadCalls::UiThreadCalls() : uiThread_(GetCurrentThreadId()) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kClassName;
    RegisterClassW(&windowClass); // fails harmlessly when a second instance registers it again
    window_.reset(CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  windowClass.hInstance, nullptr));
    if (window_)
        SetWindowLongPtrW(window_.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

UiThreadCalls::~UiThreadCalls() {
    if (window_)
        SetWindowLongPtrW(window_.get(), GWLP_USERDATA, 0);
}

void UiThreadCalls::Run(std::function<void()> call) {
    if (GetCurrentThreadId() == uiThread_) {
        call();
        return;
    }
    {
        const std::lock_guard lock(mutex_);
        waiting_.push_back(std::move(call));
    }
    PostMessageW(window_.get(), kRunWaiting, 0, 0);
}

void UiThreadCalls::RunWaiting() {
    std::vector<std::function<void()>> calls;
    {
        const std::lock_guard lock(mutex_);
        calls.swap(waiting_);
    }
    for (const std::function<void()>& call : calls)
        call();
}

LRESULT CALLBACK UiThreadCalls::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kRunWaiting)
        if (auto* calls = reinterpret_cast<UiThreadCalls*>(GetWindowLongPtrW(window, GWLP_USERDATA)))
            calls->RunWaiting();
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace vantrel
