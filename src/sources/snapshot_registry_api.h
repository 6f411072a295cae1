#pragma once
// The registry of the program: the live registry, where computers named in the snapshot folder are answered
// from their snapshots. Connecting to such a computer gives a root in its snapshot, and every key opened
// under it stays there; every other handle goes to the live registry unchanged. Snapshots are read-only:
// creating keys, setting and deleting values in them answer kAccessDenied.
#include "sources/registry_api.h"
#include "sources/registry_snapshot.h"
#include "sources/snapshot_folder.h"

#include <memory>
#include <mutex>
#include <optional>
#include <unordered_map>

namespace vantrel {

class SnapshotRegistryApi final : public RegistryApi {
public:
    SnapshotRegistryApi(RegistryApi& live, SnapshotFolder& snapshots);

    RegHandle Root(RootKey root) override;
    std::expected<RegHandle, long> Connect(std::wstring_view computer, RootKey root) override;
    std::expected<RegHandle, long> Open(RegHandle parent, std::wstring_view subkey,
                                        KeyAccess access) override;
    std::expected<RegHandle, long> Create(RegHandle parent, std::wstring_view subkey) override;
    std::expected<RegistryData, long> QueryValue(RegHandle key, std::wstring_view name) override;
    std::expected<std::wstring, long> EnumKey(RegHandle key, std::uint32_t index) override;
    std::expected<RegistryValue, long> EnumValue(RegHandle key, std::uint32_t index) override;
    long SetValue(RegHandle key, std::wstring_view name, const RegistryData& data) override;
    long DeleteValue(RegHandle key, std::wstring_view name) override;
    void Close(RegHandle key) override;

    // Snapshot keys given out and not yet closed.
    std::size_t OpenSnapshotKeys() const;

private:
    // A key in a snapshot; it keeps the snapshot alive after the folder has loaded a newer version.
    struct SnapshotKey {
        std::shared_ptr<const RegistrySnapshot> snapshot;
        RegistrySnapshot::KeyId key = 0;
    };
    std::optional<SnapshotKey> Find(RegHandle handle) const;
    RegHandle Add(SnapshotKey key);

    RegistryApi& live_;
    SnapshotFolder& snapshots_;
    mutable std::mutex mutex_;
    std::unordered_map<RegHandle, SnapshotKey> keys_;
    RegHandle nextHandle_;
};

} // namespace vantrel
