#pragma once
// The ping program as a Windows process: started hidden, waited for, its exit code read, its handle closed.
#include "engine/computer_list.h"

namespace vantrel {

// The command line is started as given, without naming the program file separately, so Windows looks for
// "Ping.exe" in this program's own folder before the system's: a ping of one's own placed there is used.
class WinPingRunner final : public PingRunner {
public:
    std::optional<PingProcess> Start(std::wstring_view commandLine) override;
    std::optional<long> ExitCode(PingProcess process) override;
    bool Wait(PingProcess process, int milliseconds) override;
    void Release(PingProcess process) override;
};

} // namespace vantrel
