// Fills that read other computers side by side: for random definitions over computers that do not answer,
// drop off mid-fill or lose keys between listing and reading, the grid is the one the fill reading one item
// after the other gives, cell for cell; and Esc or closing the window stops them at once, leaving nothing
// open.
#include "engine/computer_list.h"
#include "engine/view_fixture.h"

#include <chrono>
#include <map>
#include <mutex>
#include <random>
#include <thread>

namespace vantrel::test {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr auto HKLM = RootKey::LocalMachine;
const std::wstring kItems = L"SOFTWARE\\Acme\\Items";
const Texts kComputers = {L"", L"PC1", L"PC2", L"PC3", L"PC4", L"PC5", L"PC6", L"SNAP"};

// Pings answered from tables, on any thread: names in `replying` reply at once, others do not, and names in
// `hanging` keep running for as long as they are waited for.
class TablePings final : public PingRunner {
public:
    std::optional<PingProcess> Start(std::wstring_view commandLine) override {
        const std::lock_guard lock(mutex_);
        const std::wstring name(commandLine.substr(commandLine.rfind(L' ') + 1));
        ++starts[name];
        names_[++last_] = name;
        return last_;
    }
    std::optional<long> ExitCode(PingProcess process) override {
        const std::lock_guard lock(mutex_);
        const std::wstring& name = names_.at(process);
        if (hanging.contains(name))
            return kStillActive;
        return replying.contains(name) ? 0L : 1L;
    }
    bool Wait(PingProcess process, int milliseconds) override {
        bool hangs = false;
        {
            const std::lock_guard lock(mutex_);
            hangs = hanging.contains(names_.at(process));
        }
        if (hangs) // as a ping of a computer that takes its time does
            std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
        return !hangs;
    }
    void Release(PingProcess process) override {
        const std::lock_guard lock(mutex_);
        names_.erase(process);
    }
    std::size_t Unreleased() const {
        const std::lock_guard lock(mutex_);
        return names_.size();
    }

    std::set<std::wstring> replying;
    std::set<std::wstring> hanging;
    std::map<std::wstring, int> starts;

private:
    mutable std::mutex mutex_;
    std::map<PingProcess, std::wstring> names_;
    PingProcess last_ = 0;
};

// Everything a view reaches, with the program's own computer list over table pings.
struct World {
    MemoryRegistry memory;
    Registry registry{memory};
    FakeFiles files;
    TablePings pings;
    ComputerList computers{pings};
    FakeEnvironment environment;
    MatchList matchList;
    FakeIniFiles ini;
    ScriptedHost host;

    World() {
        computers.answersWithoutPing = [](std::wstring_view name) {
            return name == L"SNAP";
        };
    }
    ViewServices Services(int inFlight) {
        return {registry, files, computers, environment, matchList, ini, inFlight};
    }
};

template <typename T> const T& Pick(std::mt19937& random, const std::vector<T>& from) {
    return from[std::uniform_int_distribution<size_t>(0, from.size() - 1)(random)];
}

bool OneIn(std::mt19937& random, int n) {
    return std::uniform_int_distribution<int>(1, n)(random) == 1;
}

// The same seed makes the same computers: random values, items missing or vanishing on some, computers that
// do not answer their ping, refuse their registry, or (with `drops`) drop off after a number of calls. Only
// rows of several computers can compare fills with drops: a computer is read by one worker there, so the
// drop comes at the same read either way.
void Populate(World& world, unsigned seed, bool drops) {
    std::mt19937 random(seed);
    const std::vector<std::wstring> texts = {L"a", L"b", L"2", L"%1%", L"a b", L""};
    world.matchList.Replace({L"a"});
    for (const std::wstring& computer : kComputers) {
        for (int i = 0; i < 12; ++i) {
            const std::wstring item = kItems + L"\\Item" + std::to_wstring(i);
            if (OneIn(random, 6))
                continue;
            world.memory.SetString(computer, HKLM, item, L"Name", Pick(random, texts));
            if (!OneIn(random, 3))
                world.memory.SetString(computer, HKLM, item, L"Version", Pick(random, texts));
            if (OneIn(random, 2))
                world.memory.SetDword(computer, HKLM, item, L"Size",
                                      static_cast<std::uint32_t>(random() % 5));
            if (OneIn(random, 2))
                world.memory.SetString(computer, HKLM, item + L"\\Sub", L"Inner", Pick(random, texts));
            if (!computer.empty() && OneIn(random, 8))
                world.memory.Vanish(computer, HKLM, item);
        }
        if (computer.empty())
            continue;
        if (!OneIn(random, 4) || computer == L"SNAP")
            world.pings.replying.insert(computer);
        if (OneIn(random, 6))
            world.memory.SetReachable(computer, false);
        else if (OneIn(random, 4) && drops)
            world.memory.DisconnectAfter(computer, random() % 40);
    }
    world.host.textAnswer = OneIn(random, 4) ? L"" : L"2";
}

// A definition of two to seven random columns over the items, with conditions, fallbacks, existence tests,
// substitutions and the data variable.
std::wstring RandomDefinition(unsigned seed) {
    std::mt19937 random(seed * 7919 + 1);
    const std::vector<std::wstring> columns = {
        L"Name,Name",          L"Version,Version",       L"Size,Size",        L"Missing,Missing",
        L"Version!*,Fallback", L"Version!?,Exists",      L"Sub\\Inner,Inner", L"*()0,First",
        L"=fixed,Fixed",       L"Computername,Computer", L"Name,N,*=a",       L"Version,V,+=2",
        L"Size,S,*^",          L"Version,Variable,*=%%", L"Name,Same,*=%2%",  L"Sub\\Inner,I,+=b",
    };
    const int count = std::uniform_int_distribution<int>(2, 7)(random);
    std::wstring order = L"0";
    std::wstring definition;
    for (int c = 1; c <= count; ++c) {
        order += std::to_wstring(c);
        definition += L"|9," + Pick(random, columns);
    }
    return L"HKLM\\" + kItems + L"," + order + L"," + order + L",Random,|9,<key>,Key" + definition;
}

struct FillResult {
    std::vector<Texts> grid; // every cell, the header row and the row numbers included
    std::wstring caption;
    Texts prompts;
    Texts messages;
    std::vector<PingStatus> statuses;
    std::map<std::wstring, int> pings;
};

void ExpectSame(const FillResult& sideBySide, const FillResult& oneByOne, const std::string& context) {
    EXPECT_EQ(sideBySide.grid, oneByOne.grid) << context;
    EXPECT_EQ(sideBySide.caption, oneByOne.caption) << context;
    EXPECT_EQ(sideBySide.prompts, oneByOne.prompts) << context;
    EXPECT_EQ(sideBySide.messages, oneByOne.messages) << context;
    EXPECT_EQ(sideBySide.statuses, oneByOne.statuses) << context;
    EXPECT_EQ(sideBySide.pings, oneByOne.pings) << context;
}

std::string Context(unsigned seed, int inFlight) {
    std::string definition;
    for (const wchar_t c : RandomDefinition(seed))
        definition += static_cast<char>(c);
    return "seed " + std::to_string(seed) + ", " + std::to_string(inFlight) + " in flight, " + definition;
}

FillResult Outcome(World& world, const View& view) {
    FillResult result{{}, world.host.caption, world.host.prompts, world.host.messages,
                      {}, world.pings.starts};
    for (int r = 0; r < view.grid.Rows(); ++r) {
        result.grid.emplace_back();
        for (int c = 0; c < view.grid.Cols(); ++c)
            result.grid.back().push_back(view.grid.TextMatrix(r, c));
    }
    for (const ComputerEntry& entry : world.computers.entries())
        result.statuses.push_back(entry.status);
    return result;
}

FillResult FillRemote(unsigned seed, const std::wstring& computer, int inFlight) {
    World world;
    Populate(world, seed, false);
    View view(world.Services(inFlight), world.host, 15);
    view.definition = RandomDefinition(seed);
    view.computerName = computer;
    view.fillflex();
    EXPECT_EQ(world.memory.OpenHandleCount(), 0U);
    return Outcome(world, view);
}

FillResult FillFleet(unsigned seed, int inFlight) {
    World world;
    Populate(world, seed, true);
    View view(world.Services(inFlight), world.host, 15);
    view.definition = RandomDefinition(seed);
    view.NewCompuRows(L"HKLM\\" + kItems + L"\\Item" + std::to_wstring(seed % 12), kComputers);
    view.fillflex();
    EXPECT_EQ(world.memory.OpenHandleCount(), 0U);
    EXPECT_EQ(world.pings.Unreleased(), 0U);
    return Outcome(world, view);
}

constexpr unsigned kSeeds = 40;

TEST(SideBySideFill, OneRemoteComputerGivesTheGridOfTheFillOneItemAfterTheOther) {
    for (unsigned seed = 1; seed <= kSeeds; ++seed) {
        const std::wstring computer = kComputers[1 + seed % (kComputers.size() - 1)];
        const FillResult oneByOne = FillRemote(seed, computer, 1);
        for (const int inFlight : {2, 5, 16})
            ExpectSame(FillRemote(seed, computer, inFlight), oneByOne, Context(seed, inFlight));
    }
}

TEST(SideBySideFill, RowsOfManyComputersGiveTheGridOfTheFillOneItemAfterTheOther) {
    for (unsigned seed = 1; seed <= kSeeds; ++seed) {
        const FillResult oneByOne = FillFleet(seed, 1);
        for (const int inFlight : {2, 16})
            ExpectSame(FillFleet(seed, inFlight), oneByOne, Context(seed, inFlight));
    }
}

// The connections a fill of 40 items on PC1 makes, with `inFlight` rows read at once; the prompts it showed
// go to `prompts`.
size_t ConnectionsOfFill(const std::wstring& columns, int inFlight, Texts& prompts) {
    World world;
    world.pings.replying.insert(L"PC1");
    for (int i = 0; i < 40; ++i)
        world.memory.SetString(L"PC1", HKLM, kItems + L"\\Item" + std::to_wstring(i), L"Name", L"x");
    world.memory.SetLatency(500us, 500us); // long enough for the workers to share the rows
    View view(world.Services(inFlight), world.host, 15);
    view.definition = L"HKLM\\" + kItems + L",01,01,T,|9,<key>,Key" + columns;
    view.computerName = L"PC1";
    view.fillflex();
    EXPECT_EQ(view.rowCount, 40);
    prompts = world.host.prompts;
    return world.memory.ConnectCount();
}

TEST(SideBySideFill, WorkersReadWithConnectionsOfTheirOwn) {
    Texts prompts;
    const size_t oneByOne = ConnectionsOfFill(L"|9,Name,Name", 1, prompts);
    EXPECT_GT(ConnectionsOfFill(L"|9,Name,Name", 4, prompts), oneByOne);
}

// A column that is not shown may name the data variable: nobody is asked, and the workers start at once.
TEST(SideBySideFill, TheDataVariableOfAColumnNotShownHoldsNoWorkerBack) {
    Texts prompts;
    const std::wstring columns = L"|9,Name!*,Name|9,Version,V,*=%%";
    const size_t oneByOne = ConnectionsOfFill(columns, 1, prompts);
    EXPECT_GT(ConnectionsOfFill(columns, 4, prompts), oneByOne);
    EXPECT_TRUE(prompts.empty());
}

TEST(SideBySideFill, AComputerListedTwiceIsPingedOnce) {
    World world;
    world.pings.replying.insert(L"PC1");
    View view(world.Services(8), world.host, 15);
    view.definition = L"X,01,01,T,|9,<key>,Computer|9,Name,Name";
    view.NewCompuRows(L"HKLM\\" + kItems + L"\\Item1", {L"PC1", L"PC2", L"pc1", L"PC2", L"SNAP"});
    view.fillflex();
    EXPECT_EQ(world.pings.starts, (std::map<std::wstring, int>{{L"PC1", 1}, {L"PC2", 1}}));
    EXPECT_EQ(world.computers.entries().size(), 3U);
    for (const ComputerEntry& entry : world.computers.entries())
        EXPECT_EQ(entry.status, entry.name == L"PC2" ? PingStatus::NoReply : PingStatus::Replied)
            << entry.name;
}

// Esc or closing the window while workers read: the fill ends within 200 ms of it, with no key or ping left
// open.
class SideBySideStop : public ::testing::TestWithParam<bool> {
protected:
    void StopAfter(View& view, int eventRuns) {
        world.host.onEvents = [this, &view, eventRuns] {
            if (world.host.eventRuns != eventRuns)
                return;
            stoppedAt = Clock::now();
            if (GetParam())
                view.Abandon();
            else
                view.Stop();
        };
    }
    void ExpectStoppedPromptly(const View& view) {
        ASSERT_NE(stoppedAt, Clock::time_point{});
        EXPECT_LT(Clock::now() - stoppedAt, 200ms);
        EXPECT_FALSE(view.IsFilling());
        EXPECT_EQ(world.memory.OpenHandleCount(), 0U);
        EXPECT_EQ(world.pings.Unreleased(), 0U);
    }

    World world;
    Clock::time_point stoppedAt;

    void SetUp() override { world.pings.replying.insert(L"PC1"); }
};

TEST_P(SideBySideStop, WhileReadingOneRemoteComputer) {
    for (int i = 0; i < 300; ++i)
        for (const wchar_t* name : {L"A", L"B", L"C", L"D"})
            world.memory.SetString(L"PC1", HKLM, kItems + L"\\Item" + std::to_wstring(i), name, L"x");
    world.memory.SetLatency(2ms, 5ms);
    View view(world.Services(8), world.host, 15);
    view.definition = L"HKLM\\" + kItems + L",01234,01234,T,|9,<key>,Key|9,A,A|9,B,B|9,C,C|9,D,D";
    view.computerName = L"PC1";
    StopAfter(view, 30);
    view.fillflex();
    ExpectStoppedPromptly(view);
    EXPECT_LT(view.rowCount, 300);
}

TEST_P(SideBySideStop, WhileAPingTakesItsTime) {
    world.pings.replying = {L"PC1", L"PC2"};
    world.pings.hanging = {L"PC2"};
    View view(world.Services(4), world.host, 15);
    view.definition = L"X,01,01,T,|9,<key>,Computer|9,Name,Name";
    view.NewCompuRows(L"HKLM\\" + kItems + L"\\Item1", {L"PC1", L"PC2", L"PC3"});
    StopAfter(view, 10); // the fill waits for PC2's ping by then
    view.fillflex();
    ExpectStoppedPromptly(view);
    EXPECT_EQ(view.rowCount, 1);
    // The ping given up found nothing out: the next fill pings again.
    EXPECT_EQ(world.computers.KnownSta(L"PC2"), std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(EscOrClose, SideBySideStop, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Closed" : "Esc"; });

} // namespace
} // namespace vantrel::test
