#include "engine/side_by_side_rows.h"

#include "engine/view.h"
#include "views/text.h"

#include <algorithm>
#include <exception>
#include <map>
#include <system_error>

namespace vantrel {
namespace {

// The window a worker's copy of the view sees: nothing shows, and a question is not asked but noted, so
// that the row goes to the UI thread, which asks it where the fill one item after the other would.
class AskingNobody final : public ViewHost {
public:
    std::wstring Caption() const override { return {}; }
    void SetCaption(std::wstring_view) override {}
    void SetBusyPointer(bool) override {}
    void ShowCancelCommand(bool) override {}
    void ShowMessage(std::wstring_view) override { wouldAsk = true; }
    bool AskYesNo(std::wstring_view) override {
        wouldAsk = true;
        return false;
    }
    std::wstring AskText(std::wstring_view) override {
        wouldAsk = true;
        return {};
    }
    void LetEventsRun() override {}
    bool IsMaximized() const override { return false; }
    void RestoreSize() override {}
    void FitToTable() override {}
    void Redraw() override {}
    int ListMode() const override { return 0; }
    std::wstring StartFile() const override { return {}; }

    bool wouldAsk = false;
};

std::wstring ComputerId(std::wstring_view computer) {
    while (computer.starts_with(L'\\'))
        computer.remove_prefix(1);
    return LowerCase(computer);
}

} // namespace

// Whether the computers of a multi-computer view answer, as the workers' copies ask it: what the list knew
// at the start, and for the others one ping each, by the first worker that needs it while the others that
// need the same computer wait for its answer.
class SideBySideRows::Reachability final : public ComputerStatus {
public:
    Reachability(ComputerStatus& list, const std::atomic<bool>& stop) : list_(list), stop_(stop) {}

    // On the UI thread, before the workers start.
    void Learn(const std::wstring& computer) {
        const std::wstring id = ComputerId(computer);
        if (id.empty() || entries_.contains(id))
            return;
        Entry& entry = entries_[id];
        if (const std::optional<int> known = list_.KnownSta(computer)) {
            entry.state = State::Known;
            entry.status = *known;
        } else {
            unknown_.push_back(computer);
        }
    }

    // The next computer the list knew nothing of, in the order of the rows; none once each was handed out.
    std::optional<std::wstring> NextUnknown() {
        const size_t next = nextUnknown_++;
        return next < unknown_.size() ? std::optional(unknown_[next]) : std::nullopt;
    }

    int CheckSta(std::wstring_view computer) override {
        const std::wstring id = ComputerId(computer);
        if (id.empty())
            return 1;
        std::unique_lock lock(mutex_);
        Entry& entry = entries_[id];
        answered_.wait(lock, [&] { return entry.state != State::Pinging; });
        if (entry.state == State::Known)
            return entry.status;
        entry.state = State::Pinging;
        lock.unlock();
        const int status = list_.PingSta(computer, stop_);
        lock.lock();
        // A ping given up because the fill stops has found nothing out.
        entry.state = stop_ ? State::Unknown : State::Known;
        entry.status = status;
        if (!stop_)
            answers_.emplace_back(std::wstring(computer), status);
        answered_.notify_all();
        return status;
    }

    std::vector<std::pair<std::wstring, int>> TakeAnswers() {
        const std::lock_guard lock(mutex_);
        return std::exchange(answers_, {});
    }

private:
    enum class State : std::uint8_t { Unknown, Pinging, Known };
    struct Entry {
        State state = State::Unknown;
        int status = 2;
    };

    ComputerStatus& list_;
    const std::atomic<bool>& stop_;
    std::vector<std::wstring> unknown_; // written before the workers start
    std::atomic<size_t> nextUnknown_ = 0;
    std::mutex mutex_;
    std::condition_variable answered_;
    std::map<std::wstring, Entry> entries_; // by lower-case name; entries stay where they are
    std::vector<std::pair<std::wstring, int>> answers_;
};

struct SideBySideRows::Worker {
    Worker(const View& view, const ViewServices& services) : copy(view, services, host) {}
    AskingNobody host;
    View copy;
};

SideBySideRows::SideBySideRows(View& view, int workers, size_t first)
    : view_(view), items_(view.itemKeys), matchList_(view.services_.matchList), next_(first),
      reachability_(std::make_unique<Reachability>(view.services_.computers, stop_)),
      outcomes_(items_.size()), dataVariable_(view.dataVariable) {
    if (view.viewKind == ViewKind::MultiComputer)
        for (size_t r = first; r < items_.size(); ++r)
            reachability_->Learn(ComputerOfRow(items_[r]));
    const ViewServices& shared = view.services_;
    const ViewServices forWorkers{
        shared.registry, shared.files, *reachability_, shared.environment, matchList_, shared.ini, 1};
    const size_t count =
        std::min(items_.size() - std::min(first, items_.size()), static_cast<size_t>(std::max(workers, 1)));
    for (size_t w = 0; w < count; ++w)
        workers_.push_back(std::make_unique<Worker>(view, forWorkers));
    try {
        for (const std::unique_ptr<Worker>& worker : workers_)
            threads_.emplace_back([this, &worker = *worker] { Run(worker); });
    } catch (const std::system_error&) {
        // Fewer threads than asked for; the rows are shared among those that started.
    }
}

SideBySideRows::~SideBySideRows() {
    Finish();
}

void SideBySideRows::Run(Worker& worker) {
    size_t r = SIZE_MAX;
    try {
        // The computers are pinged before any row is read: one that does not answer holds its worker for the
        // whole ping wait, and the sooner every such wait starts, the sooner the fill ends.
        for (std::optional<std::wstring> computer; !stop_ && (computer = reachability_->NextUnknown());)
            (void)reachability_->CheckSta(*computer);
        Registry::CachedReads reads(view_.services_.registry);
        for (r = next_++; r < items_.size() && !stop_; r = next_++) {
            reads.NextItem();
            Publish(r, Evaluate(worker, items_[r]));
        }
    } catch (const std::exception&) {
        // This worker cannot go on (memory ran out): its row and those it would have taken go to the UI
        // thread, which meets the failure itself.
        for (; r < items_.size(); r = next_++)
            Publish(r, RowOutcome{RowOutcome::Kind::ForUiThread, {}});
    }
}

RowOutcome SideBySideRows::Evaluate(Worker& worker, const std::wstring& item) {
    View& copy = worker.copy;
    if (copy.dataVariable.empty()) {
        const std::lock_guard lock(mutex_);
        copy.dataVariable = dataVariable_;
    }
    RowOutcome outcome;
    try {
        const bool kept = copy.EvaluateItem(item);
        if (!worker.host.wouldAsk && kept) {
            outcome.kind = RowOutcome::Kind::Kept;
            outcome.cells = std::move(copy.cellTexts);
        }
    } catch (const std::exception&) {
        worker.host.wouldAsk = true; // the UI thread tries again and meets the failure itself
    }
    if (worker.host.wouldAsk) {
        outcome = RowOutcome{RowOutcome::Kind::ForUiThread, {}};
        worker.host.wouldAsk = false;
        copy.state_ = ViewState::Filling;
        copy.dataVariable.clear();
    }
    return outcome;
}

void SideBySideRows::Publish(size_t r, RowOutcome outcome) {
    {
        const std::lock_guard lock(mutex_);
        outcomes_[r] = std::move(outcome);
    }
    published_.notify_all();
}

std::optional<RowOutcome> SideBySideRows::Take(size_t r, const std::function<bool()>& stillWanted) {
    if (threads_.empty() || r >= outcomes_.size())
        return RowOutcome{RowOutcome::Kind::ForUiThread, {}};
    std::unique_lock lock(mutex_);
    while (!published_.wait_for(lock, kWaitSlice, [&] { return outcomes_[r].has_value(); })) {
        lock.unlock();
        const bool wanted = stillWanted();
        lock.lock();
        if (!wanted)
            return std::nullopt;
    }
    return std::exchange(outcomes_[r], std::nullopt);
}

void SideBySideRows::ShareDataVariable(const std::wstring& value) {
    const std::lock_guard lock(mutex_);
    dataVariable_ = value;
}

std::vector<std::pair<std::wstring, int>> SideBySideRows::TakePingAnswers() {
    return reachability_->TakeAnswers();
}

void SideBySideRows::Finish() {
    stop_ = true;
    for (std::thread& thread : threads_)
        if (thread.joinable())
            thread.join();
    for (const std::unique_ptr<Worker>& worker : workers_)
        for (const int k : view_.colMap)
            if (k > 0) {
                const std::wstring& worked = worker->copy.columns.column(k).condition;
                if (worked != view_.columns.column(k).condition)
                    view_.columns.column(k).condition = worked;
            }
    workers_.clear();
}

// --- The view's side ---

bool View::ReadsSideBySide() const {
    if (services_.readsInFlight < 2 || itemCount() < 2 || !folderPath.empty())
        return false;
    // The local registry answers at once: one after the other is as fast and keeps the order of reads.
    return viewKind == ViewKind::MultiComputer ||
           ((viewKind == ViewKind::Registry || viewKind == ViewKind::CustomFile) && !computerName.empty());
}

void View::EvaluateItemsSideBySide() {
    const size_t items = itemCount();
    const auto stillFilling = [this] {
        return KeepFilling();
    };
    // Rows go one after the other until the data variable is asked for, so that the question comes at the
    // row it would, before any worker starts.
    size_t r = 0;
    for (; r < items && MayAskDataVariable() && stillFilling(); ++r) {
        if (EvaluateRow(r))
            KeepRow(r);
        ShowItemsDone(r + 1, items);
    }
    if (r == items || state_ != ViewState::Filling || abandoned_)
        return;

    SideBySideRows rows(*this, services_.readsInFlight, r);
    const auto handBackPings = [&] {
        for (const auto& [computer, status] : rows.TakePingAnswers())
            services_.computers.RecordSta(computer, status);
    };
    for (; r < items && stillFilling(); ++r) {
        std::optional<RowOutcome> outcome = rows.Take(r, stillFilling);
        handBackPings();
        if (!outcome)
            break;
        bool kept = outcome->kind == RowOutcome::Kind::Kept;
        if (outcome->kind == RowOutcome::Kind::ForUiThread) {
            kept = EvaluateRow(r);
            rows.ShareDataVariable(dataVariable);
        } else if (kept) {
            cellTexts = std::move(outcome->cells);
        }
        if (kept)
            KeepRow(r);
        ShowItemsDone(r + 1, items);
    }
    rows.Finish();
    handBackPings();
}

} // namespace vantrel
