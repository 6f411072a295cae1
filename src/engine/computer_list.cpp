#include "engine/computer_list.h"

#include <algorithm>
#include <chrono>
#include <cwctype>
#include <iterator>

namespace vantrel {
namespace {

constexpr int kStatusPingWaitMilliseconds = 1000;
constexpr int kStatusPingWaits = 2;

std::wstring_view WithoutLeadingBackslashes(std::wstring_view name) {
    const size_t first = name.find_first_not_of(L'\\');
    return first == std::wstring_view::npos ? std::wstring_view{} : name.substr(first);
}

std::wstring UpperCase(std::wstring_view text) {
    std::wstring upper(text);
    for (wchar_t& c : upper)
        c = static_cast<wchar_t>(std::towupper(c));
    return upper;
}

int AsStatusNumber(PingStatus status) {
    return static_cast<int>(status);
}

// Lets go of the entry's running ping, if any: its answer is no longer wanted.
void ForgetPing(PingRunner& runner, ComputerEntry& entry) {
    if (entry.status == PingStatus::Running)
        runner.Release(entry.process);
    entry.process = 0;
    entry.status = PingStatus::NotPinged;
}

// Takes the answer of the entry's running ping when it has ended; false while it runs (or cannot be read).
bool Collect(PingRunner& runner, ComputerEntry& entry) {
    const std::optional<long> code = runner.ExitCode(entry.process);
    if (!code || *code == kStillActive)
        return false;
    runner.Release(entry.process);
    entry.process = 0;
    if (*code == 0) {
        entry.status = PingStatus::Replied;
    } else {
        // At the end of a ping only the computers that replied stay selected.
        entry.status = PingStatus::NoReply;
        entry.selected = false;
    }
    return true;
}

// Two one-second waits; the window gets its chance to redraw after each that did not see the ping end.
void WaitForPing(PingRunner& runner, PingProcess process, const std::function<void()>& betweenWaits) {
    for (int wait = 0; wait < kStatusPingWaits; ++wait) {
        if (runner.Wait(process, kStatusPingWaitMilliseconds))
            return;
        if (betweenWaits)
            betweenWaits();
    }
}

} // namespace

ComputerList::ComputerList(PingRunner& runner) : runner_(runner) {}

ComputerList::~ComputerList() {
    for (ComputerEntry& entry : entries_)
        ForgetPing(runner_, entry);
}

int ComputerList::AddNoDouble(std::wstring& name) {
    name = UpperCase(WithoutLeadingBackslashes(name));
    if (name.empty())
        return 0;
    // The names are upper case, so comparing them as they are sorts the way the list box sorts, without
    // regard to case.
    const auto place = std::ranges::lower_bound(entries_, name, {}, &ComputerEntry::name);
    if (place != entries_.end() && place->name == name)
        return -1;
    const auto added = entries_.insert(place, ComputerEntry{.name = name});
    return static_cast<int>(std::distance(entries_.begin(), added));
}

void ComputerList::Paste(std::wstring_view clipboardText) {
    // Lines, commas and semicolons all separate names; blanks are kept as they were typed.
    constexpr std::wstring_view separators(L"\r\n\0,;", 5);
    size_t start = 0;
    while (start <= clipboardText.size()) {
        size_t end = clipboardText.find_first_of(separators, start);
        if (end == std::wstring_view::npos)
            end = clipboardText.size();
        if (end > start) {
            std::wstring piece(clipboardText.substr(start, end - start));
            (void)AddNoDouble(piece);
        }
        start = end + 1;
    }
}

void ComputerList::DropNetResource(std::wstring_view data) {
    // The explorer's network window offers each dropped computer as "\\NAME" followed by a NUL.
    std::wstring_view rest = data;
    for (;;) {
        const size_t prefix = rest.find(L"\\\\");
        if (prefix == std::wstring_view::npos)
            return;
        rest.remove_prefix(prefix + 2);
        const size_t nul = std::min(rest.find(L'\0'), rest.size());
        std::wstring name(rest.substr(0, nul));
        (void)AddNoDouble(name);
        rest.remove_prefix(nul);
        if (rest.empty())
            return;
    }
}

void ComputerList::Select(std::size_t index, bool selected) {
    if (index < entries_.size())
        entries_[index].selected = selected;
}

void ComputerList::SelectAll() {
    for (ComputerEntry& entry : entries_)
        entry.selected = true;
}

std::size_t ComputerList::SelectedCount() const {
    return static_cast<std::size_t>(std::ranges::count(entries_, true, &ComputerEntry::selected));
}

std::wstring ComputerList::SelectedText() const {
    std::wstring text;
    for (const ComputerEntry& entry : entries_) {
        if (!entry.selected)
            continue;
        if (!text.empty())
            text += L"\r\n";
        text += entry.name;
    }
    return text;
}

void ComputerList::DeleteSelected() {
    for (ComputerEntry& entry : entries_)
        if (entry.selected)
            ForgetPing(runner_, entry);
    std::erase_if(entries_, [](const ComputerEntry& entry) { return entry.selected; });
}

void ComputerList::Clicked(std::size_t index) {
    if (index < entries_.size())
        ForgetPing(runner_, entries_[index]);
}

std::wstring ComputerList::SelectionText() const {
    return L"Selected stations: " + std::to_wstring(SelectedCount()) + L"/" +
           std::to_wstring(entries_.size());
}

PingCounts ComputerList::StartPing() {
    for (ComputerEntry& entry : entries_)
        ForgetPing(runner_, entry);
    pingAllowed_ = true;
    return Tick();
}

PingCounts ComputerList::Tick() {
    PingCounts counts;
    for (ComputerEntry& entry : entries_) {
        if (entry.status == PingStatus::Running && !Collect(runner_, entry)) {
            ++counts.running;
            continue;
        }
        switch (entry.status) {
        case PingStatus::Replied:
            ++counts.replied;
            break;
        case PingStatus::NoReply:
            ++counts.noReply;
            break;
        case PingStatus::NotPinged:
            if (entry.selected && pingAllowed_ && AnswersWithoutPing(entry.name)) {
                entry.status = PingStatus::Replied;
                ++counts.replied;
            } else if (entry.selected && pingAllowed_ && counts.started < kMaxPingsStartedPerTick &&
                       counts.running < kMaxPingsRunning) {
                if (const std::optional<PingProcess> process =
                        runner_.Start(std::wstring(kListPingCommand) + entry.name)) {
                    entry.status = PingStatus::Running;
                    entry.process = *process;
                    ++counts.running;
                    ++counts.started;
                } else {
                    entry.status = PingStatus::NoReply;
                    entry.selected = false;
                }
            }
            break;
        case PingStatus::Running:
            break;
        }
    }
    return counts;
}

std::wstring ComputerList::CountsText(const PingCounts& counts) {
    return L"Replied: " + std::to_wstring(counts.replied) + L"   No-reply: " +
           std::to_wstring(counts.noReply) + L"      (" + std::to_wstring(counts.running) + L")";
}

ComputerEntry& ComputerList::EntryFor(std::wstring_view bare) {
    std::wstring name = UpperCase(bare);
    auto found = std::ranges::find(entries_, name, &ComputerEntry::name);
    if (found == entries_.end())
        found = entries_.begin() + AddNoDouble(name);
    return *found;
}

PingStatus ComputerList::StatusPing(std::wstring_view bare,
                                    const std::function<void(PingProcess)>& wait) const {
    long code = -1; // the ping program could not be started
    if (const std::optional<PingProcess> process =
            runner_.Start(std::wstring(kStatusPingCommand) + std::wstring(bare))) {
        wait(*process);
        code = runner_.ExitCode(*process).value_or(kStillActive);
        runner_.Release(*process);
    }
    return code == 0 ? PingStatus::Replied : PingStatus::NoReply;
}

int ComputerList::CheckSta(std::wstring_view station, bool ping) {
    const std::wstring_view bare = WithoutLeadingBackslashes(station);
    // The empty name is the local computer, which always answers.
    if (bare.empty())
        return AsStatusNumber(PingStatus::Replied);
    ComputerEntry& entry = EntryFor(bare);

    if (entry.status != PingStatus::Running && AnswersWithoutPing(bare)) {
        entry.status = PingStatus::Replied;
        return AsStatusNumber(entry.status);
    }
    if (entry.status == PingStatus::Running) {
        // The list's own ping of this computer is under way: its answer is as fresh as a new one would be,
        // and a fill must not take the running ping for "no answer". Still running after the waits, it
        // counts as no answer for now and the list's timer collects it later.
        WaitForPing(runner_, entry.process, betweenWaits);
        return Collect(runner_, entry) ? AsStatusNumber(entry.status) : AsStatusNumber(PingStatus::NoReply);
    }

    if (ping || entry.status == PingStatus::NotPinged)
        entry.status =
            StatusPing(bare, [&](PingProcess process) { WaitForPing(runner_, process, betweenWaits); });
    return AsStatusNumber(entry.status);
}

std::optional<int> ComputerList::KnownSta(std::wstring_view station) {
    const std::wstring_view bare = WithoutLeadingBackslashes(station);
    if (bare.empty())
        return AsStatusNumber(PingStatus::Replied);
    ComputerEntry& entry = EntryFor(bare);
    if (entry.status != PingStatus::Running && AnswersWithoutPing(bare))
        entry.status = PingStatus::Replied;
    if (entry.status == PingStatus::Replied || entry.status == PingStatus::NoReply)
        return AsStatusNumber(entry.status);
    // Not pinged yet, or the list's own ping still runs: a ping of the fill's own tells.
    return std::nullopt;
}

int ComputerList::PingSta(std::wstring_view station, const std::atomic<bool>& stop) const {
    const std::wstring_view bare = WithoutLeadingBackslashes(station);
    if (bare.empty())
        return AsStatusNumber(PingStatus::Replied);
    // As long as CheckSta waits, in short waits so that a stopped fill need not wait for the ping. The time
    // is read from the clock: short waits often take longer than asked, and summed they would outlast it.
    constexpr int kSliceMilliseconds = 50;
    return AsStatusNumber(StatusPing(bare, [&](PingProcess process) {
        const auto deadline = std::chrono::steady_clock::now() +
                              std::chrono::milliseconds(kStatusPingWaits * kStatusPingWaitMilliseconds);
        while (!stop) {
            const auto left =
                std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now())
                    .count();
            if (left <= 0 ||
                runner_.Wait(process, static_cast<int>(std::min<long long>(left, kSliceMilliseconds))))
                return;
        }
    }));
}

void ComputerList::RecordSta(std::wstring_view station, int status) {
    const std::wstring_view bare = WithoutLeadingBackslashes(station);
    if (bare.empty())
        return;
    // A ping of the list's own that runs meanwhile gives the later answer; its timer collects it.
    if (ComputerEntry& entry = EntryFor(bare); entry.status != PingStatus::Running)
        entry.status =
            status == AsStatusNumber(PingStatus::Replied) ? PingStatus::Replied : PingStatus::NoReply;
}

std::vector<std::wstring> ComputerList::GetCNs() const {
    std::vector<std::wstring> names;
    if (includeLocal)
        names.emplace_back();
    for (const ComputerEntry& entry : entries_)
        if (entry.selected)
            names.push_back(entry.name);
    return names;
}

} // namespace vantrel
