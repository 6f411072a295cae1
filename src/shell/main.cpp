// Kivo.exe: Vantrel's entry point.
#include "shell/app_services.h"
#include "shell/main_window.h"

#include <windows.h>

namespace {

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

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    vantrel::AppServices services;
    auto mainWindow = vantrel::MainWindow::Create(instance, services.ForViews(), services.prompter());
    if (!mainWindow) {
        MessageBoxW(nullptr, L"The main window could not be created.", L"Vantrel", MB_OK | MB_ICONERROR);
        return 1;
    }
    mainWindow->Show(showCommand);
    return RunMessageLoop(*mainWindow);
}
