#include "sources/registry.h"

#include "sources/registry_path.h"
#include "sources/registry_text.h"
#include "sources/side_by_side.h"
#include "views/field.h"
#include "views/markers.h"

#include "views/text.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>
#include <shared_mutex>
#include <thread>
#include <unordered_map>

namespace vantrel {
namespace {

constexpr std::wstring_view kWildcardLevel = L"\\*";
constexpr std::wstring_view kSubkeyByIndex = L"*()";

// Moves every "\"-separated level in front of the value name into the key path (without doubling a "\" the
// key already ends with).
void MoveLevelsIntoKey(std::wstring& key, std::wstring& expression) {
    for (size_t slash = expression.find(L'\\'); slash != std::wstring::npos; slash = expression.find(L'\\')) {
        if (!key.empty() && !key.ends_with(L'\\'))
            key += L'\\';
        key.append(expression, 0, slash);
        expression.erase(0, slash + 1);
    }
}

// Between a wildcard expansion's name and its results: the fixed levels after the wildcard, up to the next
// wildcard ("\Products" gives "\Products\"), or just "\" when another wildcard follows at once.
std::wstring Joint(std::wstring_view rest) {
    if (rest.starts_with(kWildcardLevel))
        return L"\\";
    std::wstring_view fixed = rest.substr(0, rest.find(kWildcardLevel));
    while (fixed.starts_with(L'\\'))
        fixed.remove_prefix(1);
    while (fixed.ends_with(L'\\'))
        fixed.remove_suffix(1);
    return fixed.empty() ? L"\\" : L"\\" + std::wstring(fixed) + L"\\";
}

} // namespace

// Where one value lives: computer, root, key path and value name, after the computer and absolute-path rules.
struct Registry::Target {
    std::wstring computer;
    RootKey root;
    std::wstring key;
    std::wstring name;

    Target(std::wstring_view computerName, RootKey rootKey, std::wstring_view keyPath,
           std::wstring_view expression)
        : computer(computerName), root(rootKey) {
        if (std::wstring named = GetMachine(keyPath, key); !named.empty())
            computer = std::move(named);
        if (std::wstring named = GetMachine(expression, name); !named.empty())
            computer = std::move(named);
        if (name.starts_with(L'\\')) {
            const size_t next = name.find(L'\\', 1);
            key = name.substr(1, next == std::wstring::npos ? std::wstring::npos : next - 1);
            name = next == std::wstring::npos ? std::wstring() : name.substr(next + 1);
        }
        MoveLevelsIntoKey(key, name);
        if (root == RootKey::FromPath)
            root = RootOf(key);
        if (name == L"@")
            name.clear();
    }
};

std::expected<Registry::ConnectedRoot, long> Registry::ConnectRoot(std::wstring_view computer, RootKey root) {
    if (computer.empty())
        return ConnectedRoot{api_.Root(root), OwnedRegKey()};
    auto remote = api_.Connect(computer, root);
    if (!remote)
        return std::unexpected(remote.error());
    return ConnectedRoot{*remote, OwnedRegKey(api_, *remote)};
}

// Connections and item keys kept open while a CachedReads lives. Keys are declared after the connections
// so that they close first.
struct Registry::ReadCache {
    std::vector<std::pair<std::wstring, OwnedRegKey>> connections; // by computer and root
    std::vector<std::pair<std::wstring, OwnedRegKey>> keys;        // by computer, root and key path

    static std::wstring Id(const Target& target, bool withKey) {
        std::wstring id = LowerCase(target.computer) + L'|' + std::to_wstring(static_cast<int>(target.root));
        return withKey ? id + L'|' + LowerCase(target.key) : id;
    }
    static std::optional<RegHandle> Find(const std::vector<std::pair<std::wstring, OwnedRegKey>>& list,
                                         const std::wstring& id) {
        for (const auto& [entryId, key] : list)
            if (entryId == id)
                return key.get();
        return std::nullopt;
    }
    static void Drop(std::vector<std::pair<std::wstring, OwnedRegKey>>& list, const std::wstring& id) {
        std::erase_if(list, [&](const auto& entry) { return entry.first == id; });
    }
};

// The read caches of the threads that have a CachedReads, one each. A thread only ever touches its own
// cache, so the lock guards the table, not the caches: reads of different threads never wait on each other
// beyond finding their entry.
class Registry::ThreadCaches {
public:
    // Fills of several views may nest (one starts while another lets window messages run): a thread's cache
    // lives until its outermost CachedReads ends.
    void Enter() {
        const std::unique_lock lock(mutex_);
        Slot& slot = slots_[std::this_thread::get_id()];
        if (slot.users++ == 0)
            slot.cache = std::make_unique<ReadCache>();
    }
    void Leave() {
        std::unique_ptr<ReadCache> ended; // its keys and connections close after the lock is let go
        {
            const std::unique_lock lock(mutex_);
            const auto found = slots_.find(std::this_thread::get_id());
            if (found == slots_.end() || --found->second.users > 0)
                return;
            ended = std::move(found->second.cache);
            slots_.erase(found);
        }
    }
    // The calling thread's cache; nullptr while it has no CachedReads. Only the calling thread removes its
    // entry, so the pointer stays good until that thread leaves.
    ReadCache* OfThisThread() const {
        const std::shared_lock lock(mutex_);
        const auto found = slots_.find(std::this_thread::get_id());
        return found == slots_.end() ? nullptr : found->second.cache.get();
    }

private:
    struct Slot {
        int users = 0;
        std::unique_ptr<ReadCache> cache;
    };
    mutable std::shared_mutex mutex_;
    std::unordered_map<std::thread::id, Slot> slots_;
};

Registry::Registry(RegistryApi& api) : api_(api), caches_(std::make_unique<ThreadCaches>()) {}
Registry::~Registry() = default;

Registry::CachedReads::CachedReads(Registry& registry) : registry_(registry) {
    registry_.caches_->Enter();
}

Registry::CachedReads::~CachedReads() {
    registry_.caches_->Leave();
}

void Registry::CachedReads::NextItem() {
    if (ReadCache* cache = registry_.caches_->OfThisThread())
        cache->keys.clear();
}

std::wstring Registry::ReadValue(std::wstring_view computer, RootKey root, std::wstring_view key,
                                 std::wstring_view expression) {
    const Target target(computer, root, key, expression);
    if (ReadCache* cache = caches_->OfThisThread()) {
        // A kept connection may have gone stale (the computer restarted, the network dropped): connect once
        // more before giving up on it. A computer that cannot be reached again reads "°".
        for (int attempt = 0; attempt < 2; ++attempt)
            if (auto text = ReadCached(*cache, target))
                return *std::move(text);
    }
    return ReadUncached(target);
}

namespace {

// Errors that are the key's own, not a sign of a broken connection.
bool IsKeyError(long error) {
    return error == winerror::kFileNotFound || error == winerror::kPathNotFound ||
           error == winerror::kAccessDenied;
}

} // namespace

// A read through kept handles; nothing when a kept handle failed in a way a fresh one might not (a key
// deleted or a connection lost meanwhile): the handles are dropped and the caller tries again.
std::optional<std::wstring> Registry::ReadCached(ReadCache& cache, const Target& target) {
    RegHandle rootHandle = api_.Root(target.root);
    const std::wstring connectionId = ReadCache::Id(target, false);
    if (!target.computer.empty()) {
        if (const auto kept = ReadCache::Find(cache.connections, connectionId)) {
            rootHandle = *kept;
        } else {
            auto connected = api_.Connect(target.computer, target.root);
            if (!connected)
                return std::wstring(kNotConnected);
            cache.connections.emplace_back(connectionId, OwnedRegKey(api_, *connected));
            rootHandle = *connected;
        }
    }

    const std::wstring keyId = ReadCache::Id(target, true);
    RegHandle keyHandle = 0;
    if (const auto kept = ReadCache::Find(cache.keys, keyId)) {
        keyHandle = *kept;
    } else {
        auto opened = api_.Open(rootHandle, target.key, KeyAccess::Read);
        if (!opened) {
            // A computer may drop off between the connection and the open, even a connection made just now:
            // only the key's own errors read "¬"; any other makes the caller connect once more.
            if (target.computer.empty() || IsKeyError(opened.error()))
                return std::wstring(kKeyMissing);
            ReadCache::Drop(cache.connections, connectionId);
            return std::nullopt;
        }
        cache.keys.emplace_back(keyId, OwnedRegKey(api_, *opened));
        keyHandle = *opened;
    }

    if (target.name.starts_with(kSubkeyByIndex)) {
        const int index =
            LeadingNumber(std::wstring_view(target.name).substr(kSubkeyByIndex.size()), 1 << 30);
        auto name = api_.EnumKey(keyHandle, static_cast<std::uint32_t>(index));
        if (name || name.error() == winerror::kNoMoreItems)
            return name.value_or(std::wstring());
    } else {
        auto data = api_.QueryValue(keyHandle, target.name);
        if (data)
            return RegistryText(*data);
        if (data.error() == winerror::kFileNotFound)
            return std::wstring(kValueMissing);
    }
    ReadCache::Drop(cache.keys, keyId);
    ReadCache::Drop(cache.connections, connectionId);
    return std::nullopt;
}

std::wstring Registry::ReadUncached(const Target& target) {
    const auto rootKey = ConnectRoot(target.computer, target.root);
    if (!rootKey)
        return std::wstring(kNotConnected);
    const auto opened = api_.Open(rootKey->handle, target.key, KeyAccess::Read);
    if (!opened)
        return std::wstring(kKeyMissing);
    const OwnedRegKey handle(api_, *opened);

    if (target.name.starts_with(kSubkeyByIndex)) {
        const int index =
            LeadingNumber(std::wstring_view(target.name).substr(kSubkeyByIndex.size()), 1 << 30);
        return api_.EnumKey(handle.get(), static_cast<std::uint32_t>(index)).value_or(std::wstring());
    }
    const auto data = api_.QueryValue(handle.get(), target.name);
    if (!data)
        return std::wstring(kValueMissing);
    return RegistryText(*data);
}

// The check of a listing, asked on the thread that started it every few hundred names; once it said stop, the
// listing stops on every thread.
class Registry::ListingChecks {
public:
    explicit ListingChecks(const std::function<bool()>& keepListing) : keepListing_(keepListing) {}

    // One more name: false once the listing is to end.
    bool KeepGoing() {
        if (stopped_)
            return false;
        if (!keepListing_ || std::this_thread::get_id() != caller_ || ++names_ % kNamesBetweenChecks != 0)
            return true;
        if (!keepListing_())
            stopped_ = true;
        return !stopped_;
    }
    bool Stopped() const { return stopped_; }

private:
    static constexpr unsigned kNamesBetweenChecks = 256;
    const std::function<bool()>& keepListing_;
    const std::thread::id caller_ = std::this_thread::get_id();
    unsigned names_ = 0;
    std::atomic<bool> stopped_ = false;
};

std::vector<std::wstring> Registry::EnumKeys(std::wstring_view computer, RootKey root, std::wstring_view path,
                                             bool wildcards, int inFlight,
                                             const std::function<bool()>& keepListing) {
    std::wstring fixed(path);
    if (root == RootKey::FromPath)
        root = RootOf(fixed);
    const auto rootKey = ConnectRoot(computer, root);
    if (!rootKey)
        return {};
    ListingChecks checks(keepListing);
    // The local registry answers at once: threads would only add their own cost.
    return EnumUnder(rootKey->handle, fixed, wildcards, computer.empty() ? 1 : inFlight, checks);
}

std::vector<std::wstring> Registry::EnumUnder(RegHandle parent, std::wstring_view path, bool wildcards,
                                              int inFlight, ListingChecks& checks) {
    std::wstring_view fixed = path;
    std::wstring_view rest;
    const size_t wildcard = path.find(kWildcardLevel);
    const bool expand = wildcards && wildcard != std::wstring_view::npos;
    if (wildcard != std::wstring_view::npos) {
        fixed = path.substr(0, wildcard);
        rest = path.substr(wildcard + kWildcardLevel.size());
    }

    const auto opened = api_.Open(parent, fixed, KeyAccess::Read);
    if (!opened)
        return {};
    const OwnedRegKey handle(api_, *opened);

    std::vector<std::wstring> names = SubkeyNames(handle.get(), inFlight, checks);
    if (!expand || checks.Stopped())
        return names;
    // Each name is expanded on its own (by one thread, listing one after the other); names whose expansion
    // is empty drop out.
    std::vector<std::vector<std::wstring>> expansions(names.size());
    SideBySide(names.size(), inFlight, [&](size_t i) {
        if (!checks.KeepGoing())
            return false;
        expansions[i] = EnumUnder(handle.get(), names[i] + std::wstring(rest), true, 1, checks);
        return true;
    });
    std::vector<std::wstring> items;
    const std::wstring joint = Joint(rest);
    for (size_t i = 0; i < names.size(); ++i)
        for (const std::wstring& below : expansions[i])
            items.push_back(names[i] + joint + below);
    return items;
}

std::vector<std::wstring> Registry::SubkeyNames(RegHandle key, int inFlight, ListingChecks& checks) {
    std::vector<std::wstring> names;
    if (inFlight <= 1) {
        for (std::uint32_t index = 0; index < UINT32_MAX && checks.KeepGoing(); ++index) {
            auto name = api_.EnumKey(key, index);
            if (!name)
                break;
            names.push_back(std::move(*name));
        }
        return names;
    }
    // Indices are handed out in order; the first that fails ends the list, as it ends a listing one index
    // after the other. Calls already under way past it are let finish and their names dropped.
    std::mutex mutex;
    std::vector<std::pair<std::uint32_t, std::wstring>> found;
    std::atomic<size_t> end = SIZE_MAX;
    SideBySide(SIZE_MAX, inFlight, [&](size_t index) {
        if (index >= end || index > UINT32_MAX)
            return false;
        std::optional<std::expected<std::wstring, long>> name;
        if (checks.KeepGoing())
            name = api_.EnumKey(key, static_cast<std::uint32_t>(index));
        if (!name || !*name) {
            for (size_t seen = end; index < seen && !end.compare_exchange_weak(seen, index);)
                ;
            return false;
        }
        const std::lock_guard lock(mutex);
        found.emplace_back(static_cast<std::uint32_t>(index), std::move(**name));
        return true;
    });
    std::ranges::sort(found, {}, &std::pair<std::uint32_t, std::wstring>::first);
    for (auto& [index, name] : found)
        if (index < end)
            names.push_back(std::move(name));
    return names;
}

std::vector<ValueText> Registry::EnumValues(std::wstring_view computer, RootKey root,
                                            std::wstring_view path) {
    std::wstring key(path);
    if (root == RootKey::FromPath)
        root = RootOf(key);
    const auto rootKey = ConnectRoot(computer, root);
    if (!rootKey)
        return {};
    const auto opened = api_.Open(rootKey->handle, key, KeyAccess::Read);
    if (!opened)
        return {};
    const OwnedRegKey handle(api_, *opened);

    std::vector<ValueText> values;
    for (std::uint32_t index = 0;; ++index) {
        auto value = api_.EnumValue(handle.get(), index);
        if (!value)
            break;
        values.push_back({std::move(value->name), RegistryText(value->data), value->data.type});
    }
    return values;
}

long Registry::WriteValue(RootKey root, std::wstring_view path, std::wstring_view name,
                          std::wstring_view text, std::uint32_t type) {
    std::wstring key(path);
    if (root == RootKey::FromPath)
        root = RootOf(key);
    const auto data = RegistryDataFromText(text, type);
    if (!data)
        return winerror::kInvalidData;
    const auto created = api_.Create(api_.Root(root), key);
    if (!created)
        return created.error();
    const OwnedRegKey handle(api_, *created);
    return api_.SetValue(handle.get(), name, *data);
}

long Registry::ChangeValue(std::wstring_view computer, RootKey root, std::wstring_view path,
                           std::wstring_view expression, std::wstring_view expectedText,
                           std::wstring_view newText) {
    std::wstring key(path);
    std::wstring name(expression);
    if (root == RootKey::FromPath)
        root = RootOf(key);
    const auto rootKey = ConnectRoot(computer, root);
    if (!rootKey)
        return winerror::kPathNotFound;
    MoveLevelsIntoKey(key, name);
    if (name == L"@")
        name.clear();

    const auto opened = api_.Open(rootKey->handle, key, KeyAccess::QueryAndSet);
    if (!opened)
        return opened.error();
    const OwnedRegKey handle(api_, *opened);

    auto current = api_.QueryValue(handle.get(), name);
    if (!current && current.error() != winerror::kFileNotFound)
        return current.error();
    const bool exists = current.has_value();
    const RegistryData data = exists ? std::move(*current) : RegistryData{regtype::kSz, {}};

    if (RegistryText(data) != expectedText)
        return kValueChangedMeanwhile;
    if (newText.empty()) {
        // Deleting works for every type; a value that is not there is deleted already.
        return exists ? api_.DeleteValue(handle.get(), name) : winerror::kSuccess;
    }
    const bool writable = data.type == regtype::kSz || data.type == regtype::kExpandSz ||
                          data.type == regtype::kDword || data.type == regtype::kQword;
    if (!writable)
        return winerror::kInvalidDatatype;
    const auto replacement = RegistryDataFromText(newText, data.type);
    if (!replacement)
        return winerror::kInvalidData;
    return api_.SetValue(handle.get(), name, *replacement);
}

} // namespace vantrel
