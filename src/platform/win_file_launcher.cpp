#include "platform/file_launcher.h"

#include "platform/unique_handle.h"
#include "views/text.h"

#include <shellapi.h>

#include <string>

namespace vantrel {
namespace {

// The command we send the Properties sheet once it is up, to bring it to its first page whatever the shell
// made of the page parameter.
constexpr WPARAM kPropertiesPageCommand = 300;

void LetWaitingMessagesRun() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// The item's name as a directory listing gives it, or "(C:)" for a drive root: what the sheet's title holds.
std::wstring TitleNameOf(const std::wstring& path) {
    if (path.size() == 3)
        return L"(" + path.substr(0, 2) + L")";
    WIN32_FIND_DATAW found{};
    const UniqueFind find(FindFirstFileW(path.c_str(), &found));
    return find ? std::wstring(found.cFileName) : FileNameOf(path);
}

struct SheetSearch {
    std::wstring name; // lower case
};

BOOL CALLBACK PokeMatchingSheet(HWND window, LPARAM parameter) {
    const auto& search = *reinterpret_cast<const SheetSearch*>(parameter);
    wchar_t buffer[512] = {};
    GetWindowTextW(window, buffer, static_cast<int>(std::size(buffer)));
    const std::wstring title = LowerCase(buffer);
    if (title.size() > 10 && title.ends_with(L"properties") &&
        title.find(search.name) != std::wstring::npos) {
        SendMessageW(window, WM_COMMAND, kPropertiesPageCommand, 0);
        return FALSE;
    }
    return TRUE;
}

} // namespace

void WinFileLauncher::Launch(std::wstring_view verb, std::wstring_view program,
                             std::wstring_view parameters) {
    const std::wstring verbText(verb), programText(program), parameterText(parameters);
    ShellExecuteW(nullptr, verbText.c_str(), programText.c_str(), parameterText.c_str(), L"", SW_SHOWNORMAL);
}

void WinFileLauncher::Explorer(std::wstring_view commandLine) {
    std::wstring line(commandLine);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    if (CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                       &process)) {
        const UniqueHandle processHandle(process.hProcess);
        const UniqueHandle threadHandle(process.hThread);
    }
}

void WinFileLauncher::ShowProperties(std::wstring_view path, HWND owner, std::wstring_view page) {
    const std::wstring file(path);
    const std::wstring pageText = page.empty() ? std::wstring(L"security") : std::wstring(page);
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_INVOKEIDLIST | SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    info.hwnd = owner;
    info.lpVerb = L"properties";
    info.lpFile = file.c_str();
    info.lpParameters = pageText.c_str();
    ShellExecuteExW(&info);
    const UniqueHandle sheetProcess(info.hProcess);

    UpdateWindow(owner);
    EnableWindow(owner, FALSE);
    LetWaitingMessagesRun();
    SheetSearch search{LowerCase(TitleNameOf(file))};
    EnumWindows(&PokeMatchingSheet, reinterpret_cast<LPARAM>(&search));
    LetWaitingMessagesRun();
    EnableWindow(owner, TRUE);
}

} // namespace vantrel
