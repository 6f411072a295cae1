#include "sources/snapshot_registry_api.h"

namespace vantrel {
namespace {

// Snapshot keys are numbered from here, where no live key lies: Windows hands out small handle values (tagged
// in their low bits for remote keys), the predefined roots sit at 0x80000000 (sign-extended in a 64-bit
// program), and no pointer of a process points at addresses with both top bits set below those.
constexpr RegHandle kFirstSnapshotHandle = ~(~RegHandle{0} >> 2);

} // namespace

SnapshotRegistryApi::SnapshotRegistryApi(RegistryApi& live, SnapshotFolder& snapshots)
    : live_(live), snapshots_(snapshots), nextHandle_(kFirstSnapshotHandle) {}

std::optional<SnapshotRegistryApi::SnapshotKey> SnapshotRegistryApi::Find(RegHandle handle) const {
    const std::lock_guard lock(mutex_);
    const auto found = keys_.find(handle);
    if (found == keys_.end())
        return std::nullopt;
    return found->second;
}

RegHandle SnapshotRegistryApi::Add(SnapshotKey key) {
    const std::lock_guard lock(mutex_);
    const RegHandle handle = nextHandle_++;
    keys_.emplace(handle, std::move(key));
    return handle;
}

std::size_t SnapshotRegistryApi::OpenSnapshotKeys() const {
    const std::lock_guard lock(mutex_);
    return keys_.size();
}

RegHandle SnapshotRegistryApi::Root(RootKey root) {
    return live_.Root(root);
}

std::expected<RegHandle, long> SnapshotRegistryApi::Connect(std::wstring_view computer, RootKey root) {
    auto loaded = snapshots_.Load(computer);
    if (!loaded)
        return live_.Connect(computer, root);
    if (!*loaded)
        return std::unexpected(loaded->error());
    std::shared_ptr<const RegistrySnapshot> snapshot = **std::move(loaded);
    // As over the network, a computer without Software\Classes has no classes root to connect to.
    const auto key = snapshot->Root(root);
    if (!key)
        return std::unexpected(winerror::kFileNotFound);
    return Add({std::move(snapshot), *key});
}

std::expected<RegHandle, long> SnapshotRegistryApi::Open(RegHandle parent, std::wstring_view subkey,
                                                         KeyAccess access) {
    auto from = Find(parent);
    if (!from)
        return live_.Open(parent, subkey, access);
    // Opening for a change succeeds as it does in a registry that denies nothing: the change itself is
    // refused.
    const auto key = from->snapshot->Find(from->key, subkey);
    if (!key)
        return std::unexpected(winerror::kFileNotFound);
    return Add({std::move(from->snapshot), *key});
}

std::expected<RegHandle, long> SnapshotRegistryApi::Create(RegHandle parent, std::wstring_view subkey) {
    if (!Find(parent))
        return live_.Create(parent, subkey);
    return std::unexpected(winerror::kAccessDenied);
}

std::expected<RegistryData, long> SnapshotRegistryApi::QueryValue(RegHandle key, std::wstring_view name) {
    const auto in = Find(key);
    if (!in)
        return live_.QueryValue(key, name);
    auto data = in->snapshot->Value(in->key, name);
    if (!data)
        return std::unexpected(winerror::kFileNotFound);
    return *std::move(data);
}

std::expected<std::wstring, long> SnapshotRegistryApi::EnumKey(RegHandle key, std::uint32_t index) {
    const auto in = Find(key);
    if (!in)
        return live_.EnumKey(key, index);
    auto name = in->snapshot->SubkeyAt(in->key, index);
    if (!name)
        return std::unexpected(winerror::kNoMoreItems);
    return *std::move(name);
}

std::expected<RegistryValue, long> SnapshotRegistryApi::EnumValue(RegHandle key, std::uint32_t index) {
    const auto in = Find(key);
    if (!in)
        return live_.EnumValue(key, index);
    auto value = in->snapshot->ValueAt(in->key, index);
    if (!value)
        return std::unexpected(winerror::kNoMoreItems);
    return *std::move(value);
}

long SnapshotRegistryApi::SetValue(RegHandle key, std::wstring_view name, const RegistryData& data) {
    if (!Find(key))
        return live_.SetValue(key, name, data);
    return winerror::kAccessDenied;
}

long SnapshotRegistryApi::DeleteValue(RegHandle key, std::wstring_view name) {
    if (!Find(key))
        return live_.DeleteValue(key, name);
    return winerror::kAccessDenied;
}

void SnapshotRegistryApi::Close(RegHandle key) {
    {
        const std::lock_guard lock(mutex_);
        if (keys_.erase(key) != 0)
            return;
    }
    live_.Close(key);
}

} // namespace vantrel
