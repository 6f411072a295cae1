#include "shell/main_window.h"

#include "ui/window_class.h"

namespace vantrel {
namespace {

constexpr UINT kFirstViewWindowId = 50000;

bool RegisterMainWindowClass(HINSTANCE instance, WNDPROC procedure) {
    WNDCLASSEXW windowClass{};
    windowClass.lpfnWndProc = procedure;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
    if (windowClass.hIcon == nullptr)
        windowClass.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
    windowClass.lpszClassName = kMainWindowClass;
    return RegisterClassOnce(windowClass);
}

} // namespace

std::unique_ptr<MainWindow> MainWindow::Create(HINSTANCE instance, const ViewServices& services,
                                               Prompter& prompter) {
    std::unique_ptr<MainWindow> window(new MainWindow(services, prompter));
    if (!RegisterMainWindowClass(instance, &BaseWindow<MainWindow>::WindowProc))
        return nullptr;
    const HWND hwnd = CreateWindowExW(0, kMainWindowClass, std::wstring(kAppTitle).c_str(),
                                      WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT,
                                      CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, window.get());
    if (hwnd == nullptr)
        return nullptr;
    return window;
}

MainWindow::~MainWindow() {
    if (hwnd() != nullptr)
        DestroyWindow(hwnd());
}

bool MainWindow::TranslateFrameMessage(MSG& message) const {
    return mdiClient_ != nullptr && TranslateMDISysAccel(mdiClient_, &message);
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        return OnCreate() ? 0 : -1;
    case WM_CLOSE:
        if (!OnClose())
            return 0;
        break;
    case WM_DESTROY:
        OnDestroy();
        return 0;
    default:
        break;
    }
    return DefaultProc(message, wParam, lParam);
}

ViewForm* MainWindow::OpenView(const ViewOpening& opening) {
    return ViewForm::Create(mdiClient_, services_, prompter_, *this, opening);
}

// While views fill, the main window asks each of them to close and closes itself when the last fill ended.
bool MainWindow::OnClose() {
    if (ViewForm::RunningFills() == 0)
        return true;
    closeWhenFillsEnd_ = true;
    for (HWND child = GetWindow(mdiClient_, GW_CHILD); child != nullptr;) {
        const HWND next = GetWindow(child, GW_HWNDNEXT);
        SendMessageW(child, WM_CLOSE, 0, 0);
        child = next;
    }
    return false;
}

void MainWindow::FillEnded() {
    if (closeWhenFillsEnd_ && ViewForm::RunningFills() == 0 && hwnd() != nullptr)
        PostMessageW(hwnd(), WM_CLOSE, 0, 0);
}

bool MainWindow::OnCreate() {
    CLIENTCREATESTRUCT client{};
    client.idFirstChild = kFirstViewWindowId;
    mdiClient_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"MDICLIENT", nullptr,
                                 WS_CHILD | WS_CLIPCHILDREN | WS_VSCROLL | WS_HSCROLL | WS_VISIBLE, 0, 0, 0,
                                 0, hwnd(), nullptr, GetModuleHandleW(nullptr), &client);
    return mdiClient_ != nullptr;
}

void MainWindow::OnDestroy() {
    mdiClient_ = nullptr;
    PostQuitMessage(0);
}

LRESULT MainWindow::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) const {
    return DefFrameProcW(hwnd(), mdiClient_, message, wParam, lParam);
}

} // namespace vantrel
