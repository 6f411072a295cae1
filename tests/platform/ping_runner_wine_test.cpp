// The computer list's pings as real processes, against the Ping.exe stand-in built beside this program.
#include "engine/computer_list.h"
#include "platform/program_file.h"
#include "platform/win_ping_runner.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace vantrel {
namespace {

namespace fs = std::filesystem;

class PingOnWine : public testing::Test {
protected:
    void SetUp() override {
        // Without the stand-in the system's ping would look the made-up names up on the network.
        ASSERT_TRUE(fs::exists(folder / L"Ping.exe")) << "the ping stand-in is not beside the test program";
        fs::remove(folder / L"ping_calls.txt");
        fs::remove(folder / L"ping_release.txt");
    }
    void TearDown() override {
        Release(); // no stand-in waits on after the case
        list.reset();
        fs::remove(folder / L"ping_answers.txt");
    }

    void Answer(const char* lines) { std::ofstream(folder / L"ping_answers.txt") << lines; }
    void Release() { std::ofstream(folder / L"ping_release.txt") << "go"; }
    // The command lines the stand-in saw, sorted (pings started together end in any order).
    std::vector<std::string> Calls() const {
        std::ifstream file(folder / L"ping_calls.txt");
        std::vector<std::string> calls;
        for (std::string line; std::getline(file, line);)
            calls.push_back(line.substr(0, line.find('\r')));
        std::ranges::sort(calls);
        return calls;
    }
    void AddSelected(const wchar_t* name) {
        std::wstring added = name;
        list->Select(static_cast<size_t>(list->AddNoDouble(added)), true);
    }
    // Ticks as the dialog's timer would until no ping runs, at most 30 seconds.
    PingCounts TickUntilCollected(PingCounts counts) {
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (counts.running > 0 && std::chrono::steady_clock::now() < giveUp) {
            Sleep(50);
            counts = list->Tick();
        }
        return counts;
    }

    const fs::path folder{ProgramFolder()};
    WinPingRunner runner;
    std::optional<ComputerList> list{std::in_place, runner};
};

TEST_F(PingOnWine, CheckStaRunsThePingBesideTheProgramAndReadsItsExitCode) {
    Answer("pc1 0\nPC2 1\n");
    EXPECT_EQ(list->CheckSta(L"PC1"), 1);
    EXPECT_EQ(list->CheckSta(L"PC2"), 2);
    EXPECT_EQ(list->CheckSta(L"PC3"), 2) << "a computer the stand-in does not know";
    EXPECT_EQ(Calls(), (std::vector<std::string>{"Ping.exe -n 1 -w 700 PC1", "Ping.exe -n 1 -w 700 PC2",
                                                 "Ping.exe -n 1 -w 700 PC3"}));
}

TEST_F(PingOnWine, TicksCollectTheListsPingsAndKeepOnlyTheRepliesSelected) {
    Answer("PC1 0\nPC2 1\nPC3 0\n");
    for (const wchar_t* name : {L"PC1", L"PC2", L"PC3"})
        AddSelected(name);
    const PingCounts counts = TickUntilCollected(list->StartPing());
    EXPECT_EQ(counts.running, 0);
    EXPECT_EQ(counts.replied, 2);
    EXPECT_EQ(counts.noReply, 1);
    EXPECT_EQ(list->GetCNs(), (std::vector<std::wstring>{L"", L"PC1", L"PC3"}));
    EXPECT_EQ(Calls(), (std::vector<std::string>{"Ping.exe -n 1 -w 2000 PC1", "Ping.exe -n 1 -w 2000 PC2",
                                                 "Ping.exe -n 1 -w 2000 PC3"}));
}

// A fill asking about a computer the list is pinging takes that ping's answer instead of "no answer".
TEST_F(PingOnWine, CheckStaWaitsForThePingTheListRuns) {
    Answer("PC9 0 hold\n");
    AddSelected(L"PC9");
    EXPECT_EQ(list->StartPing().running, 1);
    EXPECT_EQ(list->Tick().running, 1) << "held until released";
    Release();
    EXPECT_EQ(list->CheckSta(L"pc9"), 1);
    EXPECT_EQ(list->entries()[0].status, PingStatus::Replied);
    EXPECT_EQ(Calls(), std::vector<std::string>{"Ping.exe -n 1 -w 2000 PC9"});
}

// A delayed answer stands for a slow or silent computer: the status check waits for it up to its two seconds,
// and one that takes longer counts as no answer, after the whole wait.
TEST_F(PingOnWine, CheckStaWaitsForADelayedAnswerUpToTwoSeconds) {
    Answer("SLOW 0 delay 1200\nSILENT 0 delay 2500\n");
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(list->CheckSta(L"SLOW"), 1);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1200));
    start = std::chrono::steady_clock::now();
    EXPECT_EQ(list->CheckSta(L"SILENT"), 2);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(2000));
}

TEST_F(PingOnWine, APingProgramThatCannotBeFoundDoesNotStart) {
    EXPECT_FALSE(runner.Start(L"NoSuchPingProgram.exe -n 1 -w 700 PC1").has_value());
}

} // namespace
} // namespace vantrel
