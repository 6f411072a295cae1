#pragma once
// The services of the program's windows: those every Vantrel program shares, and the dialogs that ask the
// user.
#include "platform/programs.h"
#include "platform/ui_thread_calls.h"
#include "shell/program_services.h"
#include "shell/prompter.h"

namespace vantrel {

class AppServices {
public:
    AppServices();
    ViewServices ForViews() { return shared_.ForViews(); }
    Prompter& prompter() { return prompter_; }
    Registry& registry() { return shared_.registry(); }

private:
    UiThreadCalls uiThread_;
    // A snapshot that cannot be read is told in a message box, on the UI thread also when a fill's worker
    // found out.
    ProgramServices shared_{[this](std::wstring_view message) {
        uiThread_.Run([this, text = std::wstring(message)] {
            prompter_.Message(GetActiveWindow(), text, MB_OK | MB_ICONEXCLAMATION);
        });
    }};
    WinPrograms programs_;
    WindowsPrompter prompter_{shared_.registry(), programs_, shared_.computers(), shared_.environment()};
};

// While a fill waits for a ping, the active window still draws itself.
inline AppServices::AppServices() {
    shared_.computers().betweenWaits = [] {
        if (const HWND active = GetActiveWindow(); active != nullptr)
            UpdateWindow(active);
    };
}

} // namespace vantrel
