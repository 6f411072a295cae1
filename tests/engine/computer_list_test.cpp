// The computer list: adding names, selecting them, pinging them in the background and for a fill.
#include "engine/computer_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace vantrel {
namespace {

using namespace std::string_literals;

// Ping programs on a script: each answers the exit code set for its computer (1 when none is set). A
// process either ends at once or, with `keepRunning`, runs until Finish or until its `endsOnWait`-th wait.
class ScriptedPings final : public PingRunner {
public:
    std::optional<PingProcess> Start(std::wstring_view commandLine) override {
        commands.emplace_back(commandLine);
        const std::wstring name(commandLine.substr(commandLine.rfind(L' ') + 1));
        if (refused.contains(name))
            return std::nullopt;
        const PingProcess id = nextId_++;
        processes_[id] = {name, keepRunning, endsOnWait};
        mostRunning = std::max(mostRunning, Running());
        return id;
    }
    std::optional<long> ExitCode(PingProcess process) override {
        const Process& p = Live(process);
        if (p.running)
            return kStillActive;
        const auto answer = answers.find(p.name);
        return answer == answers.end() ? 1L : answer->second;
    }
    bool Wait(PingProcess process, int milliseconds) override {
        waits.push_back(milliseconds);
        Process& p = Live(process);
        if (p.running && p.endsOnWait > 0 && --p.endsOnWait == 0)
            p.running = false;
        return !p.running;
    }
    void Release(PingProcess process) override {
        Live(process).released = true;
        ++released;
    }

    void Finish(const std::wstring& name) {
        for (auto& [id, p] : processes_)
            if (p.name == name)
                p.running = false;
    }
    void FinishAll() {
        for (auto& [id, p] : processes_)
            p.running = false;
    }
    int Running() const {
        return static_cast<int>(std::ranges::count_if(
            processes_, [](const auto& p) { return p.second.running && !p.second.released; }));
    }
    int Unreleased() const { return static_cast<int>(processes_.size()) - released; }

    std::map<std::wstring, long> answers;
    std::set<std::wstring> refused;
    bool keepRunning = false;
    int endsOnWait = 0;
    std::vector<std::wstring> commands;
    std::vector<int> waits;
    int mostRunning = 0;
    int released = 0;

private:
    struct Process {
        std::wstring name;
        bool running = false;
        int endsOnWait = 0;
        bool released = false;
    };
    Process& Live(PingProcess process) {
        Process& p = processes_.at(process);
        EXPECT_FALSE(p.released) << "process of " << testing::PrintToString(p.name)
                                 << " used after its release";
        return p;
    }
    std::map<PingProcess, Process> processes_;
    PingProcess nextId_ = 1000;
};

std::vector<std::wstring> Names(const ComputerList& list) {
    std::vector<std::wstring> names;
    for (const ComputerEntry& entry : list.entries())
        names.push_back(entry.name);
    return names;
}

// PC01 … PCnn, all selected.
void AddSelected(ComputerList& list, int count) {
    for (int i = 1; i <= count; ++i) {
        std::wstring name = (i < 10 ? L"PC0" : L"PC") + std::to_wstring(i);
        list.Select(static_cast<size_t>(list.AddNoDouble(name)), true);
    }
}

class ComputerListTest : public testing::Test {
protected:
    void TearDown() override {
        list.reset();
        EXPECT_EQ(pings.Unreleased(), 0) << "a ping process was never released";
    }
    ScriptedPings pings;
    std::optional<ComputerList> list{std::in_place, pings};
};

TEST_F(ComputerListTest, AddNoDoubleStoresBareUpperCaseNamesSortedAndOnce) {
    const struct {
        const wchar_t* typed;
        int index;
        const wchar_t* stored;
    } adds[] = {
        {L"\\\\server", 0, L"SERVER"},
        {L"\\\\server", -1, L"SERVER"},
        {L"apple", 0, L"APPLE"},
        {L"Zulu", 2, L"ZULU"},
        {L"\\\\", 0, L""},
        {L"", 0, L""},
        {L"mango", 1, L"MANGO"},
        {L"Mango", -1, L"MANGO"},
    };
    for (const auto& add : adds) {
        std::wstring name = add.typed;
        EXPECT_EQ(list->AddNoDouble(name), add.index) << add.typed;
        EXPECT_EQ(name, add.stored) << add.typed;
    }
    EXPECT_EQ(Names(*list), (std::vector<std::wstring>{L"APPLE", L"MANGO", L"SERVER", L"ZULU"}));
}

TEST_F(ComputerListTest, PastedAndDroppedNamesAreAddedOnceEach) {
    list->Paste(L"pc1, pc2;\\\\pc3\r\npc1");
    EXPECT_EQ(Names(*list), (std::vector<std::wstring>{L" PC2", L"PC1", L"PC3"}));

    list.emplace(pings);
    list->Paste(L"a\rb\nc\0d,,;e"s);
    EXPECT_EQ(Names(*list), (std::vector<std::wstring>{L"A", L"B", L"C", L"D", L"E"}));

    list.emplace(pings);
    list->DropNetResource(L"xx\\\\NET1\0yy\\\\net2\0\0\\\\NET3"s);
    list->DropNetResource(L"no computer here");
    EXPECT_EQ(Names(*list), (std::vector<std::wstring>{L"NET1", L"NET2", L"NET3"}));
}

TEST_F(ComputerListTest, SelectionCopiesDeletesAndNamesTheChosenComputers) {
    list->Paste(L"a;b;c;d");
    list->Select(1, true);
    list->Select(3, true);
    EXPECT_EQ(list->SelectionText(), L"Selected stations: 2/4");
    EXPECT_EQ(list->SelectedText(), L"B\r\nD");
    EXPECT_EQ(list->GetCNs(), (std::vector<std::wstring>{L"", L"B", L"D"}));
    list->includeLocal = false;
    EXPECT_EQ(list->GetCNs(), (std::vector<std::wstring>{L"B", L"D"}));

    list->DeleteSelected();
    EXPECT_EQ(Names(*list), (std::vector<std::wstring>{L"A", L"C"}));
    list->SelectAll();
    EXPECT_EQ(list->SelectionText(), L"Selected stations: 2/2");
}

TEST_F(ComputerListTest, TicksStartFiveAtATimeAndNeverRunMoreThanTwenty) {
    AddSelected(*list, 30);
    for (int i = 1; i <= 30; i += 2)
        pings.answers[(i < 10 ? L"PC0" : L"PC") + std::to_wstring(i)] = 0;
    pings.keepRunning = true;

    PingCounts counts = list->StartPing();
    EXPECT_EQ(counts.started, 5);
    EXPECT_EQ(pings.commands.front(), L"Ping.exe -n 1 -w 2000 PC01");
    for (const int running : {10, 15, 20, 20}) {
        counts = list->Tick();
        EXPECT_EQ(counts.running, running);
    }
    pings.Finish(L"PC01");
    pings.Finish(L"PC02");
    counts = list->Tick();
    EXPECT_EQ(counts.replied, 1);
    EXPECT_EQ(counts.noReply, 1);
    EXPECT_EQ(counts.started, 2);
    EXPECT_EQ(counts.running, 20);
    EXPECT_EQ(ComputerList::CountsText(counts), L"Replied: 1   No-reply: 1      (20)");

    for (int tick = 0; tick < 20 && counts.running > 0; ++tick) {
        pings.FinishAll();
        counts = list->Tick();
    }
    EXPECT_EQ(counts.running, 0);
    EXPECT_EQ(counts.replied, 15);
    EXPECT_EQ(counts.noReply, 15);
    EXPECT_EQ(pings.commands.size(), 30u);
    EXPECT_LE(pings.mostRunning, kMaxPingsRunning);
    EXPECT_EQ(list->SelectedCount(), 15u) << "only the computers that replied stay selected";
    for (const ComputerEntry& entry : list->entries())
        EXPECT_EQ(entry.selected, entry.status == PingStatus::Replied) << entry.name;
}

TEST_F(ComputerListTest, CancelledPingCollectsTheRunningOnesAndStartsNoMore) {
    AddSelected(*list, 8);
    pings.keepRunning = true;
    pings.refused.insert(L"PC02");
    (void)list->StartPing();
    list->CancelPing();
    pings.FinishAll();
    const PingCounts counts = list->Tick();
    EXPECT_EQ(counts.started, 0);
    EXPECT_EQ(counts.running, 0);
    EXPECT_EQ(counts.noReply, 6) << "the five that ran and the one that could not start";
    EXPECT_EQ(list->entries()[1].status, PingStatus::NoReply);
    for (size_t i = 6; i < 8; ++i) {
        EXPECT_EQ(list->entries()[i].status, PingStatus::NotPinged);
        EXPECT_TRUE(list->entries()[i].selected);
    }
}

// Starting again, deleting or clicking an entry lets go of its running ping; so does the list's end.
TEST_F(ComputerListTest, ResetsReleaseRunningPings) {
    AddSelected(*list, 6);
    pings.keepRunning = true;
    (void)list->StartPing();
    (void)list->StartPing();
    EXPECT_EQ(pings.Unreleased(), 5);
    list->Clicked(0);
    EXPECT_EQ(list->entries()[0].status, PingStatus::NotPinged);
    list->Select(1, false);
    list->DeleteSelected();
    EXPECT_EQ(pings.Unreleased(), 1);
}

TEST_F(ComputerListTest, CheckStaPingsOnlyComputersWithoutAnAnswer) {
    pings.answers = {{L"pc1", 0}, {L"PC1", 0}};
    pings.refused.insert(L"pc3");
    EXPECT_EQ(list->CheckSta(L"pc1"), 1);
    EXPECT_EQ(Names(*list), std::vector<std::wstring>{L"PC1"}) << "an unknown computer is added";
    EXPECT_EQ(list->CheckSta(L"\\\\pc2"), 2);
    EXPECT_EQ(list->CheckSta(L"pc3"), 2);
    EXPECT_EQ(pings.commands,
              (std::vector<std::wstring>{L"Ping.exe -n 1 -w 700 pc1", L"Ping.exe -n 1 -w 700 pc2",
                                         L"Ping.exe -n 1 -w 700 pc3"}));

    EXPECT_EQ(list->CheckSta(L"\\\\PC1"), 1);
    EXPECT_EQ(pings.commands.size(), 3u) << "the answer is known";
    EXPECT_EQ(list->CheckSta(L"PC1", true), 1);
    list->Clicked(0);
    EXPECT_EQ(list->CheckSta(L"PC1"), 1);
    EXPECT_EQ(pings.commands.size(), 5u) << "asked to ping, and after a click";
    EXPECT_EQ(Names(*list), (std::vector<std::wstring>{L"PC1", L"PC2", L"PC3"}));
}

TEST_F(ComputerListTest, CheckStaWaitsTwiceAndLetsTheWindowRedrawBetween) {
    const struct {
        bool keepRunning;
        int endsOnWait;
        long answer;
        int status, waits, redraws;
    } cases[] = {
        {false, 0, 0, 1, 1, 0}, {true, 1, 0, 1, 1, 0}, {true, 2, 0, 1, 2, 1},
        {true, 2, 5, 2, 2, 1},  {true, 0, 0, 2, 2, 2}, // still running after two seconds
    };
    for (const auto& c : cases) {
        pings.keepRunning = c.keepRunning;
        pings.endsOnWait = c.endsOnWait;
        pings.answers[L"PC1"] = c.answer;
        pings.waits.clear();
        int redraws = 0;
        list->betweenWaits = [&] {
            ++redraws;
        };
        EXPECT_EQ(list->CheckSta(L"PC1", true), c.status) << c.endsOnWait << " " << c.answer;
        EXPECT_EQ(pings.waits, std::vector<int>(static_cast<size_t>(c.waits), 1000));
        EXPECT_EQ(redraws, c.redraws);
    }
}

// A fill that asks while the list's own ping of the computer runs waits for that ping's answer.
TEST_F(ComputerListTest, CheckStaWaitsForTheListsRunningPing) {
    AddSelected(*list, 2);
    pings.answers[L"PC01"] = 0;
    pings.keepRunning = true;
    pings.endsOnWait = 2;
    (void)list->StartPing();
    EXPECT_EQ(list->CheckSta(L"pc01"), 1);
    EXPECT_EQ(list->entries()[0].status, PingStatus::Replied);

    pings.endsOnWait = 0;
    (void)list->StartPing();
    EXPECT_EQ(list->CheckSta(L"PC02", true), 2);
    EXPECT_EQ(list->entries()[1].status, PingStatus::Running) << "left for the timer to collect";
    EXPECT_EQ(pings.commands.size(), 4u) << "no ping of its own";
    pings.FinishAll();
    EXPECT_EQ(list->Tick().running, 0);
}

// A computer served from a registry snapshot answers at once, for a fill and in the list, and is never
// pinged.
TEST_F(ComputerListTest, SnapshotComputersAnswerWithoutAPing) {
    list->answersWithoutPing = [](std::wstring_view name) {
        return name == L"SNAP" || name == L"snap";
    };
    AddSelected(*list, 1);
    std::wstring snapshot = L"snap";
    list->Select(static_cast<size_t>(list->AddNoDouble(snapshot)), true);
    const PingCounts counts = list->StartPing();
    EXPECT_EQ(counts.replied, 1);
    EXPECT_EQ(counts.started, 1);
    EXPECT_EQ(pings.commands, std::vector<std::wstring>{L"Ping.exe -n 1 -w 2000 PC01"});
    EXPECT_EQ(list->entries()[1].status, PingStatus::Replied);
    EXPECT_EQ(list->CheckSta(L"\\snap", true), 1);
    EXPECT_EQ(pings.commands.size(), 1u);
    pings.FinishAll();
    EXPECT_EQ(list->Tick().running, 0);
}

} // namespace
} // namespace vantrel
