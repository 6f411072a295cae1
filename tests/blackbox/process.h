#pragma once
// Starting Kivo.exe from a test and finding its windows, as another program or a user would.
#include "platform/unique_handle.h"

#include <chrono>
#include <functional>
#include <string>

namespace vantrel::test {

// Kivo.exe beside the running test program.
std::wstring KivoPath();

class KivoProcess {
public:
    explicit KivoProcess(const std::wstring& arguments = L"", const std::wstring& program = KivoPath());
    ~KivoProcess(); // ends the process if it still runs

    bool started() const { return static_cast<bool>(process_); }
    DWORD id() const { return processId_; }

    // The first visible top-level window of the process with that caption, waiting up to `timeout`.
    HWND WaitForWindow(const std::wstring& caption, std::chrono::milliseconds timeout) const;

    // Exit code, or STILL_ACTIVE when the process did not end within `timeout`.
    DWORD WaitForExit(std::chrono::milliseconds timeout) const;

private:
    UniqueHandle process_;
    DWORD processId_ = 0;
};

// The first visible top-level window of the process with that class (and caption, unless empty).
HWND VisibleWindowOf(const KivoProcess& kivo, const std::wstring& className,
                     const std::wstring& caption = L"");

// Lets this process's messages run (a DDE server lives on them) until the condition holds; false on timeout.
bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout);

// The program's message box (captioned "Vantrel"), waiting up to `timeout` while letting messages run.
HWND WaitForMessageBox(const KivoProcess& kivo, std::chrono::milliseconds timeout);

// The static texts of a message box, joined.
std::wstring MessageBoxText(HWND box);

// A window's whole text, even one of another process; empty when it does not answer.
std::wstring WindowText(HWND hwnd);

// The splash window of the process while it shows: the about box without a caption.
HWND SplashOf(const KivoProcess& kivo);

// True when `upper` lies in front of `lower` among the top-level windows.
bool InFrontOf(HWND upper, HWND lower);

// A key typed as a user types it: it goes to the window that has the keyboard.
void PressKey(WORD virtualKey);

} // namespace vantrel::test
