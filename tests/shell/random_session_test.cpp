// A long session in random order: views opened, filled, refreshed, sorted, transposed, merged, stopped and
// closed, and the main window closed under them, 1,000 steps in all. Steps come from a timer, so many land
// inside a fill that runs. Every 100 steps the main window is closed and made anew, and the handles held
// then (the program's own handle owners, the windows of this thread and the registry's keys) must be the
// same each time: figures are printed.
#include "shell/main_menu_ids.h"
#include "shell/main_window_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

namespace vantrel {
namespace {

using namespace std::chrono_literals;
constexpr auto HKLM = RootKey::LocalMachine;
constexpr int kSteps = 1000;
constexpr int kStepsPerRound = 100;
constexpr int kMaxNesting = 3;      // steps taken inside fills inside fills
constexpr auto kLongestQuiet = 60s; // no step and no return to the top for this long: a fill is stuck
constexpr UINT kStepPeriodMs = 10;

const std::wstring kRegistryViews[] = {
    L"Software\\Many,01,01,Many,|9,<key>|9,Name",
    L"Software\\Many,01,01,Some,|9,<key>|12,Name|8,Size,?Size>50",
    L"8",
    L"",
};

// What the session holds at a round's end, with no main window.
struct Held {
    long owned = 0;         // handles of the program's own owners
    long threadWindows = 0; // top-level windows of this thread
    size_t registryKeys = 0;
    bool operator==(const Held&) const = default;
};

long OwnedHandles() {
    return UniqueHKey::Held() + UniqueHandle::Held() + UniqueFile::Held() + UniqueFind::Held() +
           UniqueGdiObject::Held() + UniqueFont::Held() + UniqueMenu::Held() + UniqueWindow::Held() +
           UniqueGlobal::Held() + UniqueAccelerators::Held() + UniqueImageList::Held();
}

long ThreadWindows() {
    long count = 0;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND, LPARAM counter) {
            ++*reinterpret_cast<long*>(counter);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    return count;
}

bool AtRest(ViewForm* view) {
    const ViewState state = view->view().state();
    return state == ViewState::Idle || state == ViewState::IdleDescending;
}

unsigned SessionSeed() {
    if (const char* given = std::getenv("VANTREL_SESSION_SEED"))
        return static_cast<unsigned>(std::strtoul(given, nullptr, 10));
    return std::random_device{}();
}

class RandomSessionTest : public test::MainWindowFixture {
protected:
    RandomSessionTest() : random_(seed_) {
        for (int i = 0; i < 300; ++i) {
            const std::wstring key = L"Software\\Many\\K" + std::to_wstring(1000 + i);
            memory.SetString(L"", HKLM, key, L"Name", L"item " + std::to_wstring(i % 37));
            memory.SetDword(L"", HKLM, key, L"Size", static_cast<std::uint32_t>(i % 100));
        }
        for (int i = 0; i < 200; ++i) {
            const std::wstring key = L"SOFTWARE\\Classes\\CLSID\\{" + std::to_wstring(10000 + i) + L"}";
            memory.CreateKey(L"", HKLM, key + L"\\Control");
            memory.SetString(L"", HKLM, key + L"\\InProcServer32", L"", L"C:\\control.ocx");
        }
        for (const wchar_t* computer : {L"PC1", L"PC2", L"PC3"})
            memory.SetString(computer, HKLM, L"Software\\Many\\K1000", L"Name", computer);
        memory.SetReachable(L"PC3", false);
        computers.unreachable.insert(L"PC3");
        prompter.computersAnswer = {L"PC1", L"PC2", L"PC3"};
        prompter.chooseToMerge = [](const std::vector<MergeCandidate>& others) {
            std::vector<HWND> all;
            for (const MergeCandidate& other : others)
                all.push_back(other.window);
            return all;
        };
        std::printf("session seed: %u\n", seed_);
    }

    std::vector<ViewForm*> Views() const {
        std::vector<ViewForm*> views;
        if (!main || !main->hwnd())
            return views;
        EnumChildWindows(
            main->mdiClient(),
            [](HWND hwnd, LPARAM list) {
                if (ViewForm* form = ViewForm::FromWindow(hwnd))
                    reinterpret_cast<std::vector<ViewForm*>*>(list)->push_back(form);
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&views));
        return views;
    }

    int Pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(random_); }

    ViewForm* AnyView() {
        const std::vector<ViewForm*> views = Views();
        return views.empty() ? nullptr : views[static_cast<size_t>(Pick(static_cast<int>(views.size())))];
    }

    void Send(int command) { SendMessageW(main->hwnd(), WM_COMMAND, command, 0); }

    // One random step on whatever the session holds now.
    void Step() {
        ViewForm* view = AnyView();
        switch (Pick(16)) {
        case 0:
        case 1:
            main->OpenView({L"", kRegistryViews[Pick(std::size(kRegistryViews))]});
            break;
        case 2:
            main->OpenClassList(L"");
            break;
        case 3:
            Send(IDM_REFRESH);
            break;
        case 4:
            Send(IDM_TOGGLE_SORT);
            break;
        case 5:
            Send(IDM_TRANSPOSE);
            break;
        case 6:
            Send(IDM_MULTIPLE_COMPUTERS);
            break;
        case 7:
            Send(IDM_MERGE);
            break;
        case 8:
            Send(Pick(2) == 0 ? IDM_STANDARD_LIST : IDM_DETAILED_LIST);
            break;
        case 9:
            if (view && view->grid())
                SendMessageW(view->grid()->hwnd(), WM_CHAR, VK_ESCAPE, 0);
            break;
        case 10:
        case 11:
            if (view)
                SendMessageW(view->hwnd(), WM_CLOSE, 0, 0);
            break;
        case 12:
            if (view)
                SendMessageW(main->mdiClient(), WM_MDIDESTROY, reinterpret_cast<WPARAM>(view->hwnd()), 0);
            break;
        case 13:
            if (view)
                SendMessageW(main->mdiClient(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(view->hwnd()), 0);
            break;
        case 14:
            if (Pick(4) == 0)
                SendMessageW(main->hwnd(), WM_CLOSE, 0, 0);
            break;
        default: // messages only
            break;
        }
    }

    // The timer's turn: a step, unless the round is over, the main window is gone or steps nest too deep.
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD) { current_->TimerStep(); }
    // Steps land inside fills, so a busy round may not see the top for long; only when steps have stopped
    // coming (the round's are taken, or they nest too deep) must the fills end by themselves.
    void TimerStep() {
        if (!stuck_ && std::chrono::steady_clock::now() - lastActive_ > kLongestQuiet) {
            ADD_FAILURE() << "no fill ended for " << kLongestQuiet.count() << " s after the last step";
            PrintRestless();
            stuck_ = true;
        }
        if (!stepping_ || stuck_ || roundSteps_ >= kStepsPerRound || nesting_ >= kMaxNesting || !main ||
            !main->hwnd())
            return;
        ++nesting_;
        ++roundSteps_;
        lastActive_ = std::chrono::steady_clock::now();
        Step();
        lastActive_ = std::chrono::steady_clock::now();
        --nesting_;
    }

    void PrintRestless() {
        for (ViewForm* view : Views())
            if (!AtRest(view))
                std::printf("restless: %ls, state %d\n", test::WindowText(view->hwnd()).c_str(),
                            static_cast<int>(view->view().state()));
    }

    // Lets messages run at the top, where no fill runs, until the round's steps are taken or the main window
    // went.
    void RunRound() {
        roundSteps_ = 0;
        stepping_ = true;
        while (!stuck_ && roundSteps_ < kStepsPerRound && main->hwnd()) {
            lastActive_ = std::chrono::steady_clock::now();
            MSG message{};
            if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                if (message.message == WM_QUIT)
                    continue;
                TranslateMessage(&message);
                DispatchMessageW(&message);
            } else {
                WaitMessage();
            }
        }
        stepping_ = false;
        lastActive_ = std::chrono::steady_clock::now();
    }

    // Closes the main window with what it holds; every view must come to rest first.
    void EndRound() {
        if (main->hwnd()) {
            EXPECT_TRUE(RunUntil([&] { return std::ranges::all_of(Views(), AtRest); }, 30s))
                << "a view never came to rest";
            PrintRestless();
            SendMessageW(main->hwnd(), WM_CLOSE, 0, 0);
            RunPending();
        }
        EXPECT_EQ(main->hwnd(), nullptr);
        EXPECT_EQ(ViewForm::RunningFills(), 0);
        main.reset();
        MSG message{};
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            ;
    }

    unsigned seed_ = SessionSeed();
    std::mt19937 random_;
    int roundSteps_ = 0;
    int nesting_ = 0;
    bool stepping_ = false;
    bool stuck_ = false;
    std::chrono::steady_clock::time_point lastActive_ = std::chrono::steady_clock::now();
    static inline RandomSessionTest* current_ = nullptr;
};

TEST_F(RandomSessionTest, ThousandStepsLeaveNothingBehind) {
    current_ = this;
    const UINT_PTR timer = SetTimer(nullptr, 0, kStepPeriodMs, &OnTimer);
    ASSERT_NE(timer, 0u);
    std::vector<Held> rounds;
    int steps = 0;
    while (steps < kSteps && !stuck_) {
        ShowMain();
        RunRound(); // a main window closed by a step ends its round early
        steps += roundSteps_;
        EndRound();
        rounds.push_back({OwnedHandles(), ThreadWindows(), memory.OpenHandleCount()});
        std::printf("after %4d steps: owned handles %ld, thread windows %ld, registry keys %zu\n", steps,
                    rounds.back().owned, rounds.back().threadWindows, rounds.back().registryKeys);
    }
    KillTimer(nullptr, timer);
    current_ = nullptr;
    EXPECT_FALSE(stuck_);
    ASSERT_GE(rounds.size(), 2u);
    // The first round may leave what lives for the whole program (fonts, classes); none after it adds any.
    for (size_t round = 1; round < rounds.size(); ++round)
        EXPECT_EQ(rounds[round], rounds[0]) << "round " << round;
    EXPECT_EQ(rounds.back().registryKeys, 0u);
}

} // namespace
} // namespace vantrel
