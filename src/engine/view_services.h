#pragma once
// What a view needs from outside the engine: the window that shows it, file properties, the reachability
// of computers and the environment. The Windows side implements these; tests script them.
#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel {

// The view window as the fill sees it.
class ViewHost {
public:
    virtual ~ViewHost() = default;

    virtual std::wstring Caption() const = 0;
    virtual void SetCaption(std::wstring_view caption) = 0;
    virtual void SetBusyPointer(bool busy) = 0;                 // arrow and hourglass while filling
    virtual void ShowCancelCommand(bool shown) = 0;             // the main window's "&Cancel"
    virtual void ShowMessage(std::wstring_view text) = 0;       // OK button, the program's title
    virtual bool AskYesNo(std::wstring_view text) = 0;          // true for Yes
    virtual std::wstring AskText(std::wstring_view prompt) = 0; // empty when cancelled
    // Lets pending window messages run; the user may stop the fill or close the window meanwhile.
    virtual void LetEventsRun() = 0;
    virtual bool IsMaximized() const = 0;
    virtual void RestoreSize() = 0;
    virtual void FitToTable() = 0; // sizes the window to the table
    virtual void Redraw() = 0;
    virtual int ListMode() const = 0;           // 0 standard list, 1 detailed list
    virtual std::wstring StartFile() const = 0; // the ini file last chosen or named
};

// Whatever a file property reader keeps for the file of one row (an opened package, say); released at the
// start of every row.
struct RowFileCache {
    std::shared_ptr<void> state;
    void Release() { state.reset(); }
};

// Asked while a folder walk runs, before each folder and every few hundred entries of a folder: false ends
// the walk with the files found so far. A fill lets window messages run there, so that a walk over a large
// tree neither freezes the window nor outlasts Esc.
using WalkCheck = std::function<bool()>;

class FileSource {
public:
    virtual ~FileSource() = default;
    // Files matching the patterns (separated by ";") in the folder and `depth` levels below it. An empty
    // check walks the whole tree.
    virtual std::vector<std::wstring> FolderWalk(std::wstring_view folder, std::wstring_view patterns,
                                                 int depth, const WalkCheck& keepWalking) = 0;
    // False when the folder does not exist or lists no entries at all.
    virtual bool FolderHasEntries(std::wstring_view folder) = 0;
    // A file or folder of that name, or a folder with entries; false when it cannot be probed.
    virtual bool PathExists(std::wstring_view path) = 0;
    // The property a column token names for the file ("" when it does not apply; "?" counts as empty).
    virtual std::wstring FileProperty(std::wstring_view path, std::wstring_view token,
                                      std::wstring_view baseFolder, RowFileCache& cache) = 0;
};

// Whether a computer answers; 1 means it replied, anything above 1 that it did not.
class ComputerStatus {
public:
    virtual ~ComputerStatus() = default;
    virtual int CheckSta(std::wstring_view computer) = 0;

    // For fills that check several computers at once; the list lives on the UI thread, the pings need not.
    // On the UI thread: the answer known without a new ping, or nothing when only a ping can tell. Whoever
    // cannot ping elsewhere answers everything here, so PingSta is never needed.
    virtual std::optional<int> KnownSta(std::wstring_view computer) { return CheckSta(computer); }
    // On any thread, leaving the list alone: pings the computer as CheckSta would and answers so. Gives up,
    // answering 2, once `stop` is set.
    virtual int PingSta(std::wstring_view /*computer*/, const std::atomic<bool>& /*stop*/) const { return 2; }
    // On the UI thread: what a PingSta found out.
    virtual void RecordSta(std::wstring_view /*computer*/, int /*status*/) {}
};

class Environment {
public:
    virtual ~Environment() = default;
    // The value of an environment variable of this process; empty when it is not set.
    virtual std::wstring Variable(std::wstring_view name) const = 0;
};

} // namespace vantrel
