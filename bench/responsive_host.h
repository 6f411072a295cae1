#pragma once
// A view window without a grid for the benchmarks that watch how a fill keeps the program responding: it
// measures the longest time the fill went without letting window messages run, and can press Esc part way
// through, the key reaching the view the way a keypress on the view window does (posted, translated by the
// message pump into a character, and the view stopped by the window that receives it).
#include "headless_host.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <optional>

namespace bench {

// The window that takes the keys, as the view window's grid does: Esc stops its view's fill.
class EscapeWindow {
public:
    EscapeWindow() {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = Procedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"VantrelBenchView";
        RegisterClassW(&windowClass);
        window_ = CreateWindowExW(0, windowClass.lpszClassName, L"bench", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                                  nullptr, nullptr, windowClass.hInstance, nullptr);
        SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~EscapeWindow() { DestroyWindow(window_); }
    EscapeWindow(const EscapeWindow&) = delete;
    EscapeWindow& operator=(const EscapeWindow&) = delete;

    void Show(vantrel::View* view) { view_ = view; }
    // Esc goes down on the window: the message pump turns it into the character the window stops on.
    void PressEscape() const { PostMessageW(window_, WM_KEYDOWN, VK_ESCAPE, kEscapeKeyData); }

private:
    static constexpr LPARAM kEscapeKeyData = 0x00010001; // one repeat, scan code 1
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<EscapeWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (self != nullptr && message == WM_CHAR && wParam == VK_ESCAPE && self->view_ != nullptr) {
            self->view_->Stop();
            return 0;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }

    HWND window_ = nullptr;
    vantrel::View* view_ = nullptr;
};

class ResponsiveHost final : public QuietHost {
public:
    explicit ResponsiveHost(const EscapeWindow& keys) : keys_(keys) {}

    // The fill starts now: the time to the first look at the messages counts as a gap.
    void StartFill(std::optional<int> escapeAfterPasses = {}) {
        escapeAfterPasses_ = escapeAfterPasses;
        escapePressed_.reset();
        passes = 0;
        longestGapSeconds = 0;
        lastLook_ = Clock::now();
    }
    // The fill returned: the time since the last look counts as a gap.
    void EndFill() { NoteGap(); }

    void LetEventsRun() override {
        NoteGap();
        ++passes;
        if (escapeAfterPasses_ && passes == *escapeAfterPasses_) {
            escapePressed_ = Clock::now();
            keys_.PressEscape();
        }
        pump_.LetMessagesRun();
        lastLook_ = Clock::now();
    }

    std::optional<Clock::time_point> EscapePressed() const { return escapePressed_; }

    long long passes = 0;
    double longestGapSeconds = 0;

private:
    void NoteGap() { longestGapSeconds = std::max(longestGapSeconds, Seconds(lastLook_)); }

    const EscapeWindow& keys_;
    vantrel::MessagePump pump_;
    Clock::time_point lastLook_ = Clock::now();
    std::optional<int> escapeAfterPasses_;
    std::optional<Clock::time_point> escapePressed_;
};

} // namespace bench
