// Kivo.exe: Vantrel's entry point. A second start hands its command line to the running instance and ends.
#include "dialogs/about/about_box.h"
#include "platform/com_apartment.h"
#include "platform/dde.h"
#include "platform/program_file.h"
#include "shell/app_services.h"
#include "shell/command_language.h"
#include "shell/main_window.h"
#include "ui/message_pump.h"
#include "ui/modeless_dialogs.h"

#include <windows.h>

namespace {

int RunMessageLoop(const vantrel::MainWindow& mainWindow) {
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        // A modeless dialog's keys are its own, before the main window's accelerators.
        if (vantrel::TranslateModelessDialogMessage(message))
            continue;
        if (mainWindow.TranslateFrameMessage(message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

// Keeps the splash window up a little longer while the user does not close it: at most 12 × 100 ms.
void LingerSplash(HWND splash) {
    for (int pass = 0; pass < 12 && IsWindowVisible(splash); ++pass) {
        vantrel::MessagePump().LetMessagesRun();
        Sleep(100);
    }
}

class SplashWindow {
public:
    SplashWindow() : hwnd_(vantrel::ShowSplash()) { vantrel::MessagePump().LetMessagesRun(); }
    ~SplashWindow() { Close(); }
    HWND hwnd() const { return hwnd_; }
    void Close() {
        if (hwnd_ != nullptr)
            DestroyWindow(hwnd_);
        hwnd_ = nullptr;
    }

private:
    HWND hwnd_;
};

} // namespace

// Message boxes of the start come up in front of the splash, which is no topmost window, and take the
// keyboard.
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR rawCommandLine, int showCommand) {
    const vantrel::ComApartment com;
    vantrel::AppServices services;
    SplashWindow splash;
    const std::wstring raw = rawCommandLine != nullptr ? rawCommandLine : L"";
    if (vantrel::IsHelpSwitch(raw)) {
        services.prompter().Message(nullptr, vantrel::UsageText(), MB_OK);
        return 0;
    }
    const std::wstring commandLine = vantrel::UnquotedCommandLine(raw);
    if (!commandLine.empty()) {
        if (const auto accepted = vantrel::SendDdeExecute(vantrel::ProgramName(), vantrel::kAppTitle,
                                                          vantrel::HandOverCommand(commandLine))) {
            if (!*accepted)
                services.prompter().Message(nullptr, L"Could not open " + commandLine, MB_OK);
            return 0;
        }
    }

    auto mainWindow = vantrel::MainWindow::Create(instance, services.ForViews(), services.prompter());
    if (!mainWindow) {
        MessageBoxW(nullptr, L"The main window could not be created.", L"Vantrel", MB_OK | MB_ICONERROR);
        return 1;
    }
    mainWindow->SetSplash(splash.hwnd());
    mainWindow->Show(showCommand);
    if (commandLine.starts_with(L'[')) {
        splash.Close(); // before the commands, whose boxes must not hide behind it
        (void)mainWindow->LinkExecute(commandLine); // only a sender learns whether its commands failed
    } else {
        if (!commandLine.empty()) {
            mainWindow->SetStartFile(commandLine);
            mainWindow->OpenStartFile(); // a file that cannot be opened is no start file any more
        }
        if (mainWindow->startFile().empty()) {
            LingerSplash(splash.hwnd());
            mainWindow->PostNewViewDialog(); // the user is asked for a first view once the window is up
        }
        splash.Close();
    }
    mainWindow->SetSplash(nullptr);
    mainWindow->StartDone();
    return RunMessageLoop(*mainWindow);
}
