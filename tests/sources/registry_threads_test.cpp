// The registry layer and the in-memory registry used from several threads at once: reads, wildcard
// enumerations and writes side by side give what they give alone and leave no handle open; each thread's
// cached reads keep their own connections; the in-memory registry's network latency is really waited, and
// waited side by side. Run under ThreadSanitizer (VANTREL_TSAN) to see races, not only wrong results.
#include "sources/registry.h"

#include "support/memory_registry.h"
#include "views/markers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <new>
#include <string>
#include <thread>
#include <vector>

namespace vantrel {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using test::MemoryRegistry;
constexpr auto HKLM = RootKey::LocalMachine;
const std::wstring kUninstall = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
const std::vector<std::wstring> kComputers = {L"", L"PC1", L"PC2", L"PC3"};
constexpr int kItems = 12;
constexpr int kThreads = 6;

std::wstring Item(int i) {
    return L"App" + std::to_wstring(i);
}
std::wstring VersionOn(const std::wstring& computer, int item) {
    return computer + L"v" + std::to_wstring(item);
}

// Runs `work(t)` on `threads` threads at once and waits for all of them.
void OnThreads(int threads, const std::function<void(int)>& work) {
    std::vector<std::jthread> running;
    for (int t = 0; t < threads; ++t)
        running.emplace_back(work, t);
}

class RegistryThreads : public ::testing::Test {
protected:
    void SetUp() override {
        for (const std::wstring& computer : kComputers)
            for (int i = 0; i < kItems; ++i)
                memory.SetString(computer, HKLM, kUninstall + L"\\" + Item(i), L"DisplayVersion",
                                 VersionOn(computer, i));
        memory.AddComputer(L"GONE");
        memory.SetReachable(L"GONE", false);
    }
    void TearDown() override {
        EXPECT_EQ(memory.OpenHandleCount(), 0u) << "a handle was left open";
        EXPECT_EQ(memory.BadCloseCount(), 0u) << "a handle was closed twice or never opened";
    }

    MemoryRegistry memory;
    Registry registry{memory};
};

TEST_F(RegistryThreads, ReadsEnumerationsAndWritesSideBySideGiveWhatTheyGiveAlone) {
    std::vector<std::vector<std::wstring>> failures(kThreads);
    OnThreads(kThreads, [&](int t) {
        auto& failed = failures[static_cast<size_t>(t)];
        const std::wstring own = kUninstall + L"\\Thread" + std::to_wstring(t);
        for (int round = 0; round < 20; ++round) {
            // Half the threads read through kept handles, as a fill does, the other half uncached.
            std::optional<Registry::CachedReads> cached;
            if (t % 2 == 0)
                cached.emplace(registry);
            for (const std::wstring& computer : kComputers) {
                for (int i = 0; i < kItems; ++i) {
                    if (cached)
                        cached->NextItem();
                    const std::wstring key = kUninstall + L"\\" + Item(i);
                    if (registry.ReadValue(computer, HKLM, key, L"DisplayVersion") != VersionOn(computer, i))
                        failed.push_back(L"read " + computer + L" " + key);
                }
                if (registry.EnumKeys(computer, HKLM, kUninstall, false).size() < kItems)
                    failed.push_back(L"enumerate " + computer);
            }
            if (registry.ReadValue(L"GONE", HKLM, kUninstall, L"X") != kNotConnected)
                failed.push_back(L"unreachable computer");
            const std::wstring text = std::to_wstring(round);
            if (registry.WriteValue(HKLM, own, L"Round", text, regtype::kSz) != 0)
                failed.push_back(L"write " + own);
            if (registry.ChangeValue(L"", HKLM, own, L"Round", text, text + L"!") != 0)
                failed.push_back(L"change " + own);
            const auto values = registry.EnumValues(L"", HKLM, own);
            if (values.size() != 1 || values[0].text != text + L"!")
                failed.push_back(L"values of " + own);
        }
    });
    for (int t = 0; t < kThreads; ++t)
        EXPECT_EQ(failures[static_cast<size_t>(t)], std::vector<std::wstring>{}) << "thread " << t;
}

TEST_F(RegistryThreads, EachThreadsCachedReadsConnectOnceAndShareNothing) {
    OnThreads(kThreads, [&](int) {
        const Registry::CachedReads cached(registry);
        for (int i = 0; i < kItems; ++i)
            EXPECT_EQ(registry.ReadValue(L"PC1", HKLM, kUninstall + L"\\" + Item(i), L"DisplayVersion"),
                      VersionOn(L"PC1", i));
    });
    EXPECT_EQ(memory.ConnectCount(), static_cast<size_t>(kThreads)) << "one connection per thread";

    // A thread without cached reads of its own reads uncached, even while another thread has them.
    memory.ResetCounters();
    const Registry::CachedReads mine(registry);
    EXPECT_EQ(registry.ReadValue(L"PC1", HKLM, kUninstall + L"\\" + Item(0), L"DisplayVersion"), L"PC1v0");
    OnThreads(1, [&](int) {
        for (int i = 0; i < 3; ++i)
            registry.ReadValue(L"PC1", HKLM, kUninstall + L"\\" + Item(i), L"DisplayVersion");
    });
    EXPECT_EQ(memory.ConnectCount(), 4u);
}

TEST_F(RegistryThreads, LatencyIsWaitedOnEveryRemoteCallAndConnection) {
    constexpr auto perCall = 3ms;
    constexpr auto perConnect = 20ms;
    memory.SetLatency(perCall, perConnect);

    auto start = Clock::now();
    const auto connection = memory.Connect(L"PC1", HKLM);
    ASSERT_TRUE(connection);
    const auto key = memory.Open(*connection, kUninstall + L"\\" + Item(0), KeyAccess::Read);
    ASSERT_TRUE(key);
    constexpr int kQueries = 10;
    for (int q = 0; q < kQueries; ++q)
        ASSERT_TRUE(memory.QueryValue(*key, L"DisplayVersion"));
    memory.Close(*key);
    memory.Close(*connection);
    EXPECT_GE(Clock::now() - start, perConnect + (kQueries + 3) * perCall);

    start = Clock::now();
    EXPECT_FALSE(memory.Connect(L"GONE", HKLM)) << "a refused connection";
    EXPECT_GE(Clock::now() - start, perConnect);

    // The local registry is no network: a hundred local reads (an open, a query and a close each) take less
    // than a third of what they would take remotely.
    memory.SetLatency(1ms, 1ms);
    start = Clock::now();
    for (int q = 0; q < 100; ++q)
        ASSERT_EQ(registry.ReadValue(L"", HKLM, kUninstall + L"\\" + Item(0), L"DisplayVersion"), L"v0");
    EXPECT_LT(Clock::now() - start, 100ms);
}

TEST_F(RegistryThreads, CallersOnSeveralThreadsWaitOutTheLatencySideBySide) {
    constexpr auto perCall = 50ms;
    constexpr int kReads = 3;
    memory.SetLatency(perCall, 0ms);
    const auto start = Clock::now();
    OnThreads(kThreads, [&](int) {
        const Registry::CachedReads cached(registry);
        for (int i = 0; i < kReads; ++i)
            registry.ReadValue(L"PC2", HKLM, kUninstall + L"\\" + Item(0), L"DisplayVersion");
    });
    // Each thread opens, queries kReads times and closes the key; waited one after the other that would be
    // kThreads times as long.
    const auto elapsed = Clock::now() - start;
    EXPECT_GE(elapsed, (kReads + 2) * perCall);
    EXPECT_LT(elapsed, kThreads * (kReads + 2) * perCall / 2);
}

// Another computer's keys listed by several threads: the same names in the same order as one thread lists
// them, at every wildcard level.
TEST_F(RegistryThreads, ListingSideBySideGivesTheNamesOfListingOneAfterTheOther) {
    for (int user = 0; user < 5; ++user)
        for (int product = 0; product < 7 - user; ++product)
            memory.CreateKey(L"PC1", HKLM,
                             L"Installer\\UserData\\S-" + std::to_wstring(user) + L"\\Products\\P" +
                                 std::to_wstring(product));
    for (const std::wstring& path :
         {L"HKLM\\" + kUninstall, std::wstring(L"HKLM\\Installer\\UserData\\*\\Products"),
          std::wstring(L"HKLM\\Installer\\*\\*\\Products"), std::wstring(L"HKLM\\Missing")}) {
        const std::vector<std::wstring> oneByOne = registry.EnumKeys(L"PC1", RootKey::FromPath, path, true);
        for (const int inFlight : {2, 7, 32})
            EXPECT_EQ(registry.EnumKeys(L"PC1", RootKey::FromPath, path, true, inFlight), oneByOne)
                << inFlight << " in flight";
    }
}

// A computer that drops off in the middle of a listing: the names before the first call that failed, and
// none after it, however the calls were spread over the threads.
TEST_F(RegistryThreads, AListingCutShortSideBySideEndsWithoutGaps) {
    std::vector<std::wstring> all;
    for (int i = 0; i < 60; ++i)
        memory.CreateKey(L"PC9", HKLM, L"Many\\K" + std::to_wstring(100 + i));
    all = registry.EnumKeys(L"PC9", RootKey::FromPath, L"HKLM\\Many", true);
    ASSERT_EQ(all.size(), 60u);
    for (const std::size_t calls : {3u, 17u, 40u}) {
        memory.SetReachable(L"PC9", true);
        memory.DisconnectAfter(L"PC9", calls);
        const std::vector<std::wstring> cut =
            registry.EnumKeys(L"PC9", RootKey::FromPath, L"HKLM\\Many", true, 8);
        ASSERT_LT(cut.size(), all.size());
        EXPECT_TRUE(std::equal(cut.begin(), cut.end(), all.begin())) << calls << " calls";
    }
}

// Memory running out in the middle of a listing side by side, on whichever thread: the listing throws to its
// caller once every thread has stopped, with every handle closed.
TEST_F(RegistryThreads, AListingThatRunsOutOfMemoryOnAnyThreadThrowsToItsCaller) {
    for (int i = 0; i < 60; ++i)
        memory.CreateKey(L"PC9", HKLM, L"Many\\K" + std::to_wstring(100 + i));
    for (const std::size_t calls : {2u, 17u, 40u}) {
        memory.FaultBefore(MemoryRegistry::AfterCalls(calls), [] { throw std::bad_alloc(); });
        EXPECT_THROW((void)registry.EnumKeys(L"PC9", RootKey::FromPath, L"HKLM\\Many", true, 8),
                     std::bad_alloc)
            << calls << " calls";
    }
    EXPECT_EQ(registry.EnumKeys(L"PC9", RootKey::FromPath, L"HKLM\\Many", true, 8).size(), 60u);
}

} // namespace
} // namespace vantrel
