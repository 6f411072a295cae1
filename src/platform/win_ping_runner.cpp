#include "platform/win_ping_runner.h"

#include "platform/unique_handle.h"

#include <windows.h>

#include <string>

namespace vantrel {
namespace {

HANDLE AsHandle(PingProcess process) {
    return reinterpret_cast<HANDLE>(process);
}

} // namespace

std::optional<PingProcess> WinPingRunner::Start(std::wstring_view commandLine) {
    std::wstring line(commandLine); // CreateProcessW may write into it
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION info{};
    // Only the exit code counts: the ping gets no console at all, which spares starting a console host
    // beside every ping (a fill of many computers starts many).
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, DETACHED_PROCESS, nullptr, nullptr,
                        &startup, &info))
        return std::nullopt;
    const UniqueHandle thread(info.hThread); // only the process is waited for
    return reinterpret_cast<PingProcess>(info.hProcess);
}

std::optional<long> WinPingRunner::ExitCode(PingProcess process) {
    DWORD code = 0;
    if (!GetExitCodeProcess(AsHandle(process), &code))
        return std::nullopt;
    return static_cast<long>(code);
}

bool WinPingRunner::Wait(PingProcess process, int milliseconds) {
    return WaitForSingleObject(AsHandle(process), static_cast<DWORD>(milliseconds)) == WAIT_OBJECT_0;
}

void WinPingRunner::Release(PingProcess process) {
    CloseHandle(AsHandle(process));
}

} // namespace vantrel
