#pragma once
// Computers served from registry snapshots: a computer name found as <name>.reg in the snapshot folder (the
// setting "SnapshotFolder") is read from that export instead of over the network. Each file is loaded on
// first use and kept until it changes on disk.
#include "sources/registry_snapshot.h"

#include <cstdint>
#include <expected>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel {

// What tells one version of a file from the next.
struct FileStamp {
    std::uint64_t sizeBytes = 0;
    std::uint64_t lastWriteTime = 0;

    bool operator==(const FileStamp&) const = default;
};

// The file access the snapshots need; the Windows side reads the disk (platform/win_snapshot_files.h).
class SnapshotFiles {
public:
    virtual ~SnapshotFiles() = default;
    // The stamp of a file; nothing when there is no such file (or it is a folder).
    virtual std::optional<FileStamp> Stamp(std::wstring_view path) = 0;
    // All of a file's bytes, or the Windows error code of the failure.
    virtual std::expected<std::vector<std::uint8_t>, long> ReadAll(std::wstring_view path) = 0;
};

// ERROR_BADDB: what connecting to a computer whose snapshot cannot be read answers.
inline constexpr long kSnapshotUnreadable = 1009;

class SnapshotFolder {
public:
    // No folder: no computer is a snapshot.
    SnapshotFolder(SnapshotFiles& files, std::wstring folder);

    // Whether `computer` is served from a snapshot: its file exists. The file is not read for this.
    bool Serves(std::wstring_view computer);

    // The snapshot of `computer`: nothing when it is not served from one; kSnapshotUnreadable when its file
    // cannot be read or is not an export. Safe to call from several threads.
    std::optional<std::expected<std::shared_ptr<const RegistrySnapshot>, long>>
    Load(std::wstring_view computer);

    // Told, with a text for the user, about every file that cannot be loaded: once for each version of it,
    // however often it is asked for. Called on the thread that loaded.
    std::function<void(std::wstring_view message)> onLoadFailure;

private:
    struct Loaded {
        FileStamp stamp;
        std::shared_ptr<const RegistrySnapshot> snapshot; // null when the file could not be loaded
    };
    // The file's path; empty when the name cannot be a snapshot's (no folder, or characters a file name
    // cannot hold).
    std::wstring PathOf(std::wstring_view computer) const;

    SnapshotFiles& files_;
    const std::wstring folder_;
    std::mutex mutex_;
    std::map<std::wstring, Loaded> loaded_; // by upper-case computer name
};

} // namespace vantrel
