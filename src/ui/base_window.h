#pragma once
// Base of every window class of the program: the static window procedure finds the C++ object (stored at
// WM_NCCREATE) and hands each message to its HandleMessage member, which dispatches to On... members.
#include <windows.h>

namespace vantrel {

template <typename Derived> class BaseWindow {
public:
    HWND hwnd() const { return hwnd_; }

protected:
    BaseWindow() = default;
    ~BaseWindow() = default;
    BaseWindow(const BaseWindow&) = delete;
    BaseWindow& operator=(const BaseWindow&) = delete;

    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        Derived* self = nullptr;
        if (message == WM_NCCREATE) {
            const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
            if constexpr (requires { Derived::kIsMdiChild; })
                self = reinterpret_cast<Derived*>(
                    reinterpret_cast<const MDICREATESTRUCTW*>(create->lpCreateParams)->lParam);
            else
                self = static_cast<Derived*>(create->lpCreateParams);
            self->hwnd_ = hwnd;
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        } else {
            self = reinterpret_cast<Derived*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        }
        if (self == nullptr)
            return DefWindowProcW(hwnd, message, wParam, lParam);
        const LRESULT result = self->HandleMessage(message, wParam, lParam);
        if (message == WM_NCDESTROY) {
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            self->hwnd_ = nullptr;
            // The last word: a window that owns itself may delete itself here.
            if constexpr (requires { self->OnWindowGone(); })
                self->OnWindowGone();
        }
        return result;
    }

private:
    HWND hwnd_ = nullptr;
};

} // namespace vantrel
