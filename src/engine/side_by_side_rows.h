#pragma once
// The rows of a fill that waits on the network, evaluated by several workers at once. Each worker evaluates
// whole rows on a copy of the view, with registry connections of its own; the fill takes the outcomes in
// item order on the UI thread, so rows, cells, progress and questions come out as the fill one item after
// the other gives them. Workers touch no window and no computer list: a row that would ask the user goes
// back to the UI thread, and what the workers' pings found waits there to be recorded.
#include "engine/match_list.h"
#include "engine/view_services.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace vantrel {

class View;

// What a worker made of one item.
struct RowOutcome {
    enum class Kind : std::uint8_t {
        Kept,
        Dropped,     // it failed its conditions
        ForUiThread, // it would ask the user, or could not be evaluated here
    };
    Kind kind = Kind::Dropped;
    std::vector<std::wstring> cells; // the grid texts of a kept row
};

class SideBySideRows {
public:
    // Starts up to `workers` workers (never more than there are items left) over the items of `view` from
    // item `first` on, whose
    // definitions, items and match list are copied now. In a view of several computers, what the list knows
    // of them is asked now; the others are pinged by the first worker that needs them, once each.
    SideBySideRows(View& view, int workers, std::size_t first);
    ~SideBySideRows();
    SideBySideRows(const SideBySideRows&) = delete;
    SideBySideRows& operator=(const SideBySideRows&) = delete;

    // The outcome of item r, waiting for it. `stillWanted` runs between short waits (it lets window messages
    // run); when it answers false the wait ends with nothing.
    std::optional<RowOutcome> Take(std::size_t r, const std::function<bool()>& stillWanted);

    // The data variable the user gave on the UI thread; rows evaluated from now on substitute it.
    void ShareDataVariable(const std::wstring& value);

    // What the workers' pings found out since last asked: computer and status, for the computer list.
    std::vector<std::pair<std::wstring, int>> TakePingAnswers();

    // Stops the workers and waits for them: a row in progress is finished, a ping in progress given up.
    // Conditions the workers' rows brought into their working form are kept so in the view.
    void Finish();

    static constexpr std::chrono::milliseconds kWaitSlice{10};

private:
    class Reachability;
    struct Worker;

    void Run(Worker& worker);
    RowOutcome Evaluate(Worker& worker, const std::wstring& item);
    void Publish(std::size_t r, RowOutcome outcome);

    View& view_;
    const std::vector<std::wstring> items_;
    MatchList matchList_; // the workers' copy: the user may replace the list meanwhile
    std::atomic<bool> stop_ = false;
    std::atomic<std::size_t> next_ = 0;
    std::unique_ptr<Reachability> reachability_;
    std::vector<std::unique_ptr<Worker>> workers_;
    std::vector<std::thread> threads_;

    std::mutex mutex_; // guards what follows
    std::condition_variable published_;
    std::vector<std::optional<RowOutcome>> outcomes_;
    std::wstring dataVariable_;
};

} // namespace vantrel
