#pragma once
// The program's one list of computer names: what the computer selection dialog shows, what its pings find
// out, and what fills ask when they need to know whether a computer answers. The dialog only mirrors it.
#include "engine/view_services.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel {

// A ping program the platform started for one entry.
using PingProcess = std::intptr_t;

inline constexpr long kStillActive = 259; // the exit code of a process that still runs

// Starts ping programs and reads their outcome; the Windows side runs processes, tests script them.
class PingRunner {
public:
    virtual ~PingRunner() = default;
    // Starts the command line with a hidden window, without waiting; nothing when it cannot be started.
    virtual std::optional<PingProcess> Start(std::wstring_view commandLine) = 0;
    // The exit code, kStillActive while it runs; nothing when it cannot be read.
    virtual std::optional<long> ExitCode(PingProcess process) = 0;
    // Waits at most `milliseconds` for the process to end; true when it has ended.
    virtual bool Wait(PingProcess process, int milliseconds) = 0;
    // Lets go of the process (it is not stopped).
    virtual void Release(PingProcess process) = 0;
};

enum class PingStatus : std::uint8_t {
    NotPinged = 0, // or reset
    Replied = 1,
    NoReply = 2, // or the ping could not be started
    Running,     // a ping program runs for the entry
};

struct ComputerEntry {
    std::wstring name; // upper case, no leading backslashes
    bool selected = false;
    PingStatus status = PingStatus::NotPinged;
    PingProcess process = 0; // while Running
};

// What one tick of the list's ping counted.
struct PingCounts {
    int replied = 0;
    int noReply = 0;
    int running = 0;
    int started = 0;
};

inline constexpr std::wstring_view kListPingCommand = L"Ping.exe -n 1 -w 2000 ";
inline constexpr std::wstring_view kStatusPingCommand = L"Ping.exe -n 1 -w 700 ";
inline constexpr int kMaxPingsStartedPerTick = 5;
inline constexpr int kMaxPingsRunning = 20;

class ComputerList final : public ComputerStatus {
public:
    explicit ComputerList(PingRunner& runner);
    ~ComputerList() override; // releases the processes of pings still running

    ComputerList(const ComputerList&) = delete;
    ComputerList& operator=(const ComputerList&) = delete;

    const std::vector<ComputerEntry>& entries() const { return entries_; }

    // Adds a name (leading "\" removed, upper-cased; `name` is changed so) in sorted place. The index of the
    // new entry; -1 when the list already holds it; 0 when nothing was left to add.
    int AddNoDouble(std::wstring& name);
    // Ctrl+V: the clipboard text split at CR LF, CR, NUL, "," and LF and ";"; every non-empty piece,
    // untrimmed.
    void Paste(std::wstring_view clipboardText);
    // The text of the "Net Resource" format of dropped data: every name after a "\\", up to the next NUL.
    void DropNetResource(std::wstring_view data);

    // Selection, as the list box shows it.
    void Select(std::size_t index, bool selected);
    void SelectAll();
    std::size_t SelectedCount() const;
    // Ctrl+C: the selected names in list order, joined by CR LF.
    std::wstring SelectedText() const;
    // Delete: the selected entries go.
    void DeleteSelected();
    // A click on an entry resets its status, so the next status check pings it again.
    void Clicked(std::size_t index);
    // "Selected stations: " + selected + "/" + entries.
    std::wstring SelectionText() const;

    // "&Ping": every status reset, new pings may start; then the first tick. "Cancel &Ping": no new pings
    // start; running ones are still collected by the ticks.
    PingCounts StartPing();
    void CancelPing() { pingAllowed_ = false; }
    bool PingAllowed() const { return pingAllowed_; }
    // One timer tick: collects finished pings (an entry that did not reply is deselected) and starts at most
    // five new ones for selected entries while fewer than twenty run. The timer goes on while some run.
    PingCounts Tick();
    // "Replied: r   No-reply: n      (running)".
    static std::wstring CountsText(const PingCounts& counts);

    // Whether `station` answers: 1 replied, 2 not. A name not in the list is added. An entry with no answer
    // yet (or every entry when `ping`) is pinged now, waiting at most two seconds; `betweenWaits` runs after
    // a one-second wait that did not see the ping end (the window redraws).
    int CheckSta(std::wstring_view station, bool ping);
    int CheckSta(std::wstring_view station) override { return CheckSta(station, false); }
    // For fills that check several computers at once: a computer served without a ping, or one pinged
    // before, is known; PingSta runs a ping of its own, on any thread, and only RecordSta writes the list.
    std::optional<int> KnownSta(std::wstring_view station) override;
    int PingSta(std::wstring_view station, const std::atomic<bool>& stop) const override;
    void RecordSta(std::wstring_view station, int status) override;
    std::function<void()> betweenWaits;

    // Computers that answer without a ping, neither for a fill nor from the list: those served from a
    // registry snapshot. A ping would ask the network for a name that may be nobody's.
    std::function<bool(std::wstring_view name)> answersWithoutPing;

    // "&Include local computer", ticked at the start.
    bool includeLocal = true;
    // The computers chosen: the empty name (the local computer) first when includeLocal, then the selected
    // entries in list order.
    std::vector<std::wstring> GetCNs() const;

private:
    // The entry of a name without leading backslashes, added when missing.
    ComputerEntry& EntryFor(std::wstring_view bare);
    // Runs the status ping of a computer, waiting for it with `wait`; NoReply when it could not start.
    PingStatus StatusPing(std::wstring_view bare, const std::function<void(PingProcess)>& wait) const;
    bool AnswersWithoutPing(std::wstring_view name) const {
        return answersWithoutPing && answersWithoutPing(name);
    }

    PingRunner& runner_;
    std::vector<ComputerEntry> entries_;
    bool pingAllowed_ = false;
};

} // namespace vantrel
