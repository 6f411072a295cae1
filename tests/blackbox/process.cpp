#include "blackbox/process.h"

#include <functional>
#include <vector>

namespace vantrel::test {
namespace {

std::wstring ClassOf(HWND hwnd) {
    wchar_t name[64]{};
    GetClassNameW(hwnd, name, 64);
    return name;
}

std::wstring CaptionOf(HWND hwnd) {
    wchar_t text[512]{};
    GetWindowTextW(hwnd, text, 512);
    return text;
}

// The first visible top-level window of the process that matches.
HWND FindWindowOf(DWORD processId, const std::function<bool(HWND)>& matches) {
    struct Search {
        DWORD processId;
        const std::function<bool(HWND)>* matches;
        HWND found = nullptr;
    } search{processId, &matches};
    EnumWindows(
        [](HWND hwnd, LPARAM lParam) -> BOOL {
            auto* search = reinterpret_cast<Search*>(lParam);
            DWORD owner = 0;
            GetWindowThreadProcessId(hwnd, &owner);
            if (owner != search->processId || !IsWindowVisible(hwnd) || !(*search->matches)(hwnd))
                return TRUE;
            search->found = hwnd;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

} // namespace

std::wstring KivoPath() {
    std::vector<wchar_t> path(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            std::wstring self(path.data(), length);
            return self.substr(0, self.find_last_of(L'\\') + 1) + L"Kivo.exe";
        }
        path.resize(path.size() * 2);
    }
}

KivoProcess::KivoProcess(const std::wstring& arguments, const std::wstring& program) {
    std::wstring commandLine = L"\"" + program + L"\"";
    if (!arguments.empty())
        commandLine += L" " + arguments;
    STARTUPINFOW startup{sizeof(startup)};
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &info))
        return;
    CloseHandle(info.hThread);
    process_.reset(info.hProcess);
    processId_ = info.dwProcessId;
}

KivoProcess::~KivoProcess() {
    if (process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_.get(), 1);
        WaitForSingleObject(process_.get(), 5000);
    }
}

HWND KivoProcess::WaitForWindow(const std::wstring& caption, std::chrono::milliseconds timeout) const {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    do {
        if (const HWND found =
                FindWindowOf(processId_, [&](HWND hwnd) { return CaptionOf(hwnd) == caption; }))
            return found;
        Sleep(50);
    } while (std::chrono::steady_clock::now() < deadline);
    return nullptr;
}

DWORD KivoProcess::WaitForExit(std::chrono::milliseconds timeout) const {
    if (WaitForSingleObject(process_.get(), static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0)
        return STILL_ACTIVE;
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process_.get(), &code);
    return code;
}

HWND VisibleWindowOf(const KivoProcess& kivo, const std::wstring& className, const std::wstring& caption) {
    return FindWindowOf(kivo.id(), [&](HWND hwnd) {
        return ClassOf(hwnd) == className && (caption.empty() || CaptionOf(hwnd) == caption);
    });
}

bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        MSG message{};
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        Sleep(10);
    }
    return true;
}

HWND WaitForMessageBox(const KivoProcess& kivo, std::chrono::milliseconds timeout) {
    HWND box = nullptr;
    PumpUntil([&] { return (box = VisibleWindowOf(kivo, L"#32770", L"Vantrel")) != nullptr; }, timeout);
    return box;
}

std::wstring MessageBoxText(HWND box) {
    std::wstring text;
    for (HWND child = GetWindow(box, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t className[32]{};
        GetClassNameW(child, className, 32);
        if (std::wstring_view(className) != L"Static")
            continue;
        wchar_t buffer[4096]{};
        GetWindowTextW(child, buffer, 4096);
        text += buffer;
    }
    return text;
}

std::wstring WindowText(HWND hwnd) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length))
        return {};
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                        SMTO_ABORTIFHUNG, 5000, &copied);
    text.resize(copied);
    return text;
}

HWND SplashOf(const KivoProcess& kivo) {
    return FindWindowOf(kivo.id(), [](HWND hwnd) {
        return ClassOf(hwnd) == L"#32770" && GetWindowTextLengthW(hwnd) == 0 &&
               MessageBoxText(hwnd).find(L"Windows 2000/XP/.Net") != std::wstring::npos;
    });
}

bool InFrontOf(HWND upper, HWND lower) {
    for (HWND window = GetTopWindow(nullptr); window != nullptr; window = GetWindow(window, GW_HWNDNEXT)) {
        if (window == upper)
            return true;
        if (window == lower)
            return false;
    }
    return false;
}

void PressKey(WORD virtualKey) {
    INPUT keys[2]{};
    keys[0].type = keys[1].type = INPUT_KEYBOARD;
    keys[0].ki.wVk = keys[1].ki.wVk = virtualKey;
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, keys, sizeof(INPUT));
}

} // namespace vantrel::test
