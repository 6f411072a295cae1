#include "blackbox/process.h"

#include <vector>

namespace vantrel::test {
namespace {

struct WindowSearch {
    DWORD processId;
    const std::wstring* caption;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND hwnd, LPARAM lParam) {
    auto* search = reinterpret_cast<WindowSearch*>(lParam);
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    if (owner != search->processId || !IsWindowVisible(hwnd))
        return TRUE;
    wchar_t text[512]{};
    GetWindowTextW(hwnd, text, 512);
    if (*search->caption != text)
        return TRUE;
    search->found = hwnd;
    return FALSE;
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

KivoProcess::KivoProcess(const std::wstring& arguments) {
    std::wstring commandLine = L"\"" + KivoPath() + L"\"";
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
        WindowSearch search{processId_, &caption, nullptr};
        EnumWindows(&MatchWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr)
            return search.found;
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

} // namespace vantrel::test
