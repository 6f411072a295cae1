#pragma once
// A view window without a window for the benchmarks: the fill's view of it, with the same message pumping as
// the real one, and the time spent letting messages run.
#include "bench_clock.h"
#include "engine/match_list.h"
#include "engine/view.h"
#include "platform/win_environment.h"
#include "platform/win_file_source.h"
#include "platform/win_ini_files.h"
#include "platform/win_registry.h"
#include "ui/message_pump.h"

#include <cstdio>

namespace bench {

// What every benchmark's window does alike: nothing shows, a message is printed, nothing is asked.
class QuietHost : public vantrel::ViewHost {
public:
    std::wstring Caption() const override { return caption_; }
    void SetCaption(std::wstring_view caption) override { caption_ = caption; }
    void SetBusyPointer(bool) override {}
    void ShowCancelCommand(bool) override {}
    void ShowMessage(std::wstring_view text) override {
        std::printf("message: %ls\n", std::wstring(text).c_str());
    }
    bool AskYesNo(std::wstring_view) override { return false; }
    std::wstring AskText(std::wstring_view) override { return {}; }
    bool IsMaximized() const override { return false; }
    void RestoreSize() override {}
    void FitToTable() override {}
    void Redraw() override {}
    int ListMode() const override { return listMode; }
    std::wstring StartFile() const override { return {}; }

    int listMode = 0; // 0 standard list, 1 detailed list

private:
    std::wstring caption_;
};

class HeadlessHost final : public QuietHost {
public:
    void LetEventsRun() override {
        const auto start = Clock::now();
        pump_.LetMessagesRun();
        eventSeconds += Seconds(start);
    }

    double eventSeconds = 0;

private:
    vantrel::MessagePump pump_;
};

// The program's own services for a benchmark's views; every computer counts as answering.
struct BenchServices {
    class Answering final : public vantrel::ComputerStatus {
    public:
        int CheckSta(std::wstring_view) override { return 1; }
    };

    vantrel::WinRegistryApi api;
    vantrel::Registry registry{api};
    vantrel::WinFileSource files;
    Answering computers;
    vantrel::WinEnvironment environment;
    vantrel::MatchList matchList;
    vantrel::WinIniFiles ini;

    vantrel::ViewServices ForViews() { return {registry, files, computers, environment, matchList, ini}; }
};

} // namespace bench
