// Fills that wait on the network, over in-memory registries as slow as one: every call on another computer's
// key costs 1 ms, every connection 20 ms, and a computer that does not answer keeps the ping stand-in busy
// for 2 s. Two views:
//   - one remote computer, 500 items x 10 columns;
//   - a multi-computer row view over 50 computers x 20 columns, 10 of which do not answer.
// Each is filled one item after the other and then with 16 rows read side by side, as the program does. The
// fleet is filled once more with pings answered in this program, to show the fill apart from the cost of
// starting a ping program under Wine.
#include "engine/computer_list.h"
#include "engine/view.h"
#include "headless_host.h"
#include "platform/program_file.h"
#include "platform/win_ping_runner.h"
#include "support/memory_registry.h"

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace bench;
using namespace std::chrono_literals;
using vantrel::RootKey;

constexpr auto kPerCall = 1ms;
constexpr auto kPerConnect = 20ms;
constexpr int kUnansweredPingMs = 2000;

constexpr int kRemoteItems = 500;
constexpr int kRemoteColumns = 10;
constexpr int kFleetComputers = 50;
constexpr int kFleetUnreachable = 10;
constexpr int kFleetColumns = 20;
constexpr int kInFlight = 16; // the program's default

const std::wstring kUninstall = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

std::wstring ValueName(int v) {
    return L"Value" + std::to_wstring(v);
}

std::wstring ColumnsOf(int count) {
    std::wstring columns;
    for (int v = 0; v < count; ++v)
        columns += L"|100," + ValueName(v) + L"," + ValueName(v);
    return columns;
}

// The stand-in pings from a folder of this benchmark's own, so that its answers never meet a test's.
class StandInPings final : public vantrel::PingRunner {
public:
    StandInPings() : folder_(vantrel::ProgramFolder() + L"parallel-bench\\") {
        CreateDirectoryW(folder_.c_str(), nullptr);
        copied_ = CopyFileW((vantrel::ProgramFolder() + L"ping-test\\Ping.exe").c_str(),
                            (folder_ + L"Ping.exe").c_str(), FALSE) != FALSE;
    }
    bool Ready() const { return copied_; }
    // "NAME CODE [delay MS]" lines, as support/ping_standin.cpp reads them.
    void Answer(const std::string& lines) const {
        std::ofstream(std::filesystem::path(folder_ + L"ping_answers.txt")) << lines;
    }

    std::optional<vantrel::PingProcess> Start(std::wstring_view commandLine) override {
        constexpr std::wstring_view program = L"Ping.exe";
        return runner_.Start(L"\"" + folder_ + L"Ping.exe\"" +
                             std::wstring(commandLine.substr(commandLine.find(program) + program.size())));
    }
    std::optional<long> ExitCode(vantrel::PingProcess process) override { return runner_.ExitCode(process); }
    bool Wait(vantrel::PingProcess process, int milliseconds) override {
        return runner_.Wait(process, milliseconds);
    }
    void Release(vantrel::PingProcess process) override { runner_.Release(process); }

private:
    std::wstring folder_;
    bool copied_ = false;
    vantrel::WinPingRunner runner_;
};

// Pings answered inside this program, with no program started: a computer that answers replies at once, one
// that does not keeps its ping running for the 2 s the stand-in takes. Under Wine every started program costs
// wineserver work of its own (ping_program_time), which this takes out of the fleet's figures.
class InProcessPings final : public vantrel::PingRunner {
public:
    explicit InProcessPings(std::set<std::wstring> unanswered) : unanswered_(std::move(unanswered)) {}

    std::optional<vantrel::PingProcess> Start(std::wstring_view commandLine) override {
        const std::lock_guard lock(mutex_);
        const std::wstring name(commandLine.substr(commandLine.rfind(L' ') + 1));
        const auto ends =
            Clock::now() + (unanswered_.contains(name) ? std::chrono::milliseconds(kUnansweredPingMs)
                                                       : std::chrono::milliseconds(0));
        pings_[++last_] = {ends, unanswered_.contains(name)};
        return last_;
    }
    std::optional<long> ExitCode(vantrel::PingProcess process) override {
        const Ping ping = Find(process);
        if (Clock::now() < ping.ends)
            return vantrel::kStillActive;
        return ping.unanswered ? 1L : 0L;
    }
    bool Wait(vantrel::PingProcess process, int milliseconds) override {
        const auto until =
            std::min(Find(process).ends, Clock::now() + std::chrono::milliseconds(milliseconds));
        std::this_thread::sleep_until(until);
        return Clock::now() >= Find(process).ends;
    }
    void Release(vantrel::PingProcess process) override {
        const std::lock_guard lock(mutex_);
        pings_.erase(process);
    }

private:
    struct Ping {
        Clock::time_point ends;
        bool unanswered = false;
    };
    Ping Find(vantrel::PingProcess process) {
        const std::lock_guard lock(mutex_);
        return pings_.at(process);
    }

    const std::set<std::wstring> unanswered_;
    std::mutex mutex_;
    std::map<vantrel::PingProcess, Ping> pings_;
    vantrel::PingProcess last_ = 0;
};

struct Fill {
    double seconds = 0;
    int rows = 0;
};

Fill TimeFill(vantrel::View& view) {
    const auto start = Clock::now();
    view.fillflex();
    return {Seconds(start), view.rowCount};
}

// The average time of a ping of `computer`, from starting the program to reading its answer.
double PingTime(vantrel::PingRunner& pings, const std::wstring& computer) {
    constexpr int kPings = 10;
    const auto start = Clock::now();
    for (int p = 0; p < kPings; ++p)
        if (const auto process = pings.Start(L"Ping.exe -n 1 -w 700 " + computer)) {
            (void)pings.Wait(*process, kUnansweredPingMs);
            pings.Release(*process);
        }
    return Seconds(start) / kPings;
}

} // namespace

int main() {
    // A window of our own, so that letting messages run works as it does in the program.
    const HWND window = CreateWindowExW(0, L"STATIC", L"bench", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                                        nullptr, GetModuleHandleW(nullptr), nullptr);
    vantrel::test::MemoryRegistry memory;
    for (int i = 0; i < kRemoteItems; ++i)
        for (int v = 0; v < kRemoteColumns; ++v)
            memory.SetString(L"REMOTE", RootKey::LocalMachine, kUninstall + L"\\Item" + std::to_wstring(i),
                             ValueName(v), L"x");
    std::vector<std::wstring> fleet;
    std::set<std::wstring> unanswered;
    std::string answers;
    for (int c = 0; c < kFleetComputers; ++c) {
        fleet.push_back(L"PC" + std::to_wstring(c));
        for (int v = 0; v < kFleetColumns; ++v)
            memory.SetString(fleet.back(), RootKey::LocalMachine, kUninstall + L"\\Acme", ValueName(v), L"x");
        const bool answering = c < kFleetComputers - kFleetUnreachable;
        memory.SetReachable(fleet.back(), answering);
        if (!answering)
            unanswered.insert(fleet.back());
        answers += "PC" + std::to_string(c) +
                   (answering ? " 0\n" : " 1 delay " + std::to_string(kUnansweredPingMs) + "\n");
    }
    memory.SetLatency(kPerCall, kPerConnect);

    BenchServices services;
    services.matchList.Replace({L"preloaded"}); // the match list load is not part of a fill's cost
    vantrel::Registry registry(memory);
    const vantrel::ViewServices local = services.ForViews();
    HeadlessHost host;

    // Every computer answers its ping at once here: this view waits on registry calls only.
    const auto remoteFill = [&](int inFlight) {
        vantrel::View remote(
            {registry, local.files, local.computers, local.environment, local.matchList, local.ini, inFlight},
            host, 15);
        remote.definition = L"HKLM\\" + kUninstall + L",0123456789a,0123456789a,Remote,|100,<key>,Key" +
                            ColumnsOf(kRemoteColumns);
        remote.computerName = L"REMOTE";
        return TimeFill(remote);
    };
    const Fill remoteOneByOne = remoteFill(1);
    const Fill remoteSideBySide = remoteFill(kInFlight);

    StandInPings pings;
    if (!pings.Ready()) {
        std::printf("message: the ping stand-in (ping-test\\Ping.exe) is not built\n");
        return 1;
    }
    pings.Answer(answers);
    // A list of its own for each fill, so that the second one pings as the first did.
    const auto fleetFill = [&](int inFlight, vantrel::PingRunner& runner) {
        vantrel::ComputerList computers(runner);
        vantrel::View rows(
            {registry, local.files, computers, local.environment, local.matchList, local.ini, inFlight}, host,
            15);
        rows.definition = L"X,0123456789abcdefghijk,0123456789abcdefghijk,Fleet,|100,<key>,Computer" +
                          ColumnsOf(kFleetColumns);
        rows.NewCompuRows(L"HKLM\\" + kUninstall + L"\\Acme", fleet);
        return TimeFill(rows);
    };
    const Fill fleetOneByOne = fleetFill(1, pings);
    const Fill fleetSideBySide = fleetFill(kInFlight, pings);
    InProcessPings quickPings(unanswered);
    const Fill quickOneByOne = fleetFill(1, quickPings);
    const Fill quickSideBySide = fleetFill(kInFlight, quickPings);

    std::printf("remote_fill_rows: %d\n", remoteSideBySide.rows);
    std::printf("remote_fill_sequential_time: %.2f s\n", remoteOneByOne.seconds);
    std::printf("remote_fill_parallel_time: %.2f s\n", remoteSideBySide.seconds);
    std::printf("remote_fill_speedup: %.1f\n", remoteOneByOne.seconds / remoteSideBySide.seconds);
    std::printf("fleet_fill_rows: %d\n", fleetSideBySide.rows);
    std::printf("fleet_fill_sequential_time: %.2f s\n", fleetOneByOne.seconds);
    std::printf("fleet_fill_parallel_time: %.2f s\n", fleetSideBySide.seconds);
    std::printf("fleet_fill_speedup: %.1f\n", fleetOneByOne.seconds / fleetSideBySide.seconds);
    // What one ping of a computer that replies costs here, most of it starting the program: the floor of a
    // fleet fill is the computers' pings started one after the other.
    std::printf("ping_program_time: %.2f s\n", PingTime(pings, L"PC0"));
    std::printf("fleet_fill_sequential_time_in_process_pings: %.2f s\n", quickOneByOne.seconds);
    std::printf("fleet_fill_parallel_time_in_process_pings: %.2f s\n", quickSideBySide.seconds);
    std::printf("fleet_fill_speedup_in_process_pings: %.1f\n",
                quickOneByOne.seconds / quickSideBySide.seconds);
    DestroyWindow(window);
    const bool allRows = remoteOneByOne.rows == kRemoteItems && remoteSideBySide.rows == kRemoteItems &&
                         fleetOneByOne.rows == kFleetComputers && fleetSideBySide.rows == kFleetComputers &&
                         quickOneByOne.rows == kFleetComputers && quickSideBySide.rows == kFleetComputers;
    return allRows ? 0 : 1;
}
