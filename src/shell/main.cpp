// Kivo.exe: Vantrel's entry point. A second start hands its command line to the running instance and ends.
#include "platform/dde.h"
#include "shell/app_services.h"
#include "shell/command_language.h"
#include "shell/main_window.h"

#include <windows.h>

namespace {

constexpr const wchar_t* kService = L"Kivo";

int RunMessageLoop(const vantrel::MainWindow& mainWindow) {
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (mainWindow.TranslateFrameMessage(message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR rawCommandLine, int showCommand) {
    vantrel::AppServices services;
    const std::wstring raw = rawCommandLine != nullptr ? rawCommandLine : L"";
    if (vantrel::IsHelpSwitch(raw)) {
        services.prompter().Message(nullptr, vantrel::UsageText(), MB_OK);
        return 0;
    }
    const std::wstring commandLine = vantrel::UnquotedCommandLine(raw);
    if (!commandLine.empty()) {
        if (const auto accepted = vantrel::SendDdeExecute(kService, vantrel::kAppTitle,
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
    mainWindow->Show(showCommand);
    if (commandLine.starts_with(L'['))
        mainWindow->LinkExecute(commandLine);
    else if (!commandLine.empty())
        mainWindow->SetStartFile(commandLine);
    else
        mainWindow->PostNewViewDialog(); // the user is asked for a first view once the window is up
    return RunMessageLoop(*mainWindow);
}
