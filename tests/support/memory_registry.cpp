#include "support/memory_registry.h"

#include <algorithm>
#include <cwctype>
#include <stdexcept>
#include <thread>
#include <utility>

namespace vantrel::test {
namespace {

// Nodes are made with `new`, not std::make_shared: with MinGW's GCC 12 in C++23 mode, make_shared pulls in an
// inline std::type_info::operator== that clashes with the one in the static libstdc++.a at link time.

// Root() answers these fixed handles for the local roots, as Windows has HKEY_CLASSES_ROOT and so on.
constexpr RegHandle kRootHandleBase = 0x80000000u;

// Upper case as Windows compares names. Latin-1, Greek and Cyrillic letters are mapped here because the C
// locale of a native test run leaves everything beyond ASCII alone.
wchar_t Upper(wchar_t c) {
    const auto u = static_cast<std::uint32_t>(c);
    if (u < 0x80) // most names, without asking the locale
        return u >= 'a' && u <= 'z' ? static_cast<wchar_t>(u - 0x20) : c;
    if ((u >= 0xE0 && u <= 0xFE && u != 0xF7) || (u >= 0x3B1 && u <= 0x3C9 && u != 0x3C2) ||
        (u >= 0x430 && u <= 0x44F))
        return static_cast<wchar_t>(u - 0x20);
    if (u >= 0x450 && u <= 0x45F)
        return static_cast<wchar_t>(u - 0x50);
    return static_cast<wchar_t>(std::towupper(static_cast<std::wint_t>(c)));
}

bool SameName(std::wstring_view a, std::wstring_view b) {
    return std::ranges::equal(a, b, [](wchar_t x, wchar_t y) { return Upper(x) == Upper(y); });
}

// ClassesRoot .. Users number 1 .. 4; -1 for FromPath, which names no root.
int RootIndex(RootKey root) {
    const int index = static_cast<int>(root) - 1;
    return index >= 0 && index < 4 ? index : -1;
}

std::wstring_view WithoutLeadingSlashes(std::wstring_view name) {
    while (name.starts_with(L'\\'))
        name.remove_prefix(1);
    return name;
}

template <typename Values> auto FindValue(Values& values, std::wstring_view name) {
    return std::ranges::find_if(values,
                                [&](const RegistryValue& value) { return SameName(value.name, name); });
}

void PutValue(std::vector<RegistryValue>& values, std::wstring_view name, const RegistryData& data) {
    if (const auto found = FindValue(values, name); found != values.end())
        found->data = data; // keeps its place and its first spelling
    else
        values.push_back({std::wstring(name), data});
}

template <typename Number> std::vector<std::uint8_t> LittleEndian(Number number) {
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i < sizeof number; ++i)
        bytes.push_back(static_cast<std::uint8_t>(number >> (8 * i)));
    return bytes;
}

} // namespace

std::vector<std::uint8_t> Utf16Bytes(std::wstring_view text, bool terminate) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve((text.size() + 1) * 2);
    for (const wchar_t c : text) {
        const auto unit = static_cast<std::uint16_t>(c);
        bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    if (terminate)
        bytes.insert(bytes.end(), {0, 0});
    return bytes;
}

std::wstring Utf16Text(std::span<const std::uint8_t> bytes) {
    std::wstring text;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        text.push_back(static_cast<wchar_t>(bytes[i] | (bytes[i + 1] << 8)));
    while (!text.empty() && text.back() == L'\0')
        text.pop_back();
    return text;
}

// A plain loop: the map of a key with 100,000 subkeys compares names a lot, in unoptimised test builds too.
bool MemoryRegistry::NameLess::operator()(std::wstring_view a, std::wstring_view b) const {
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i)
        if (const wchar_t x = Upper(a[i]), y = Upper(b[i]); x != y)
            return x < y;
    return a.size() < b.size();
}

MemoryRegistry::Computer::Computer() {
    for (NodePtr& root : roots)
        root = NodePtr(new Node);
}

MemoryRegistry::MemoryRegistry() : local_name_(L"LOCALPC") {}
MemoryRegistry::~MemoryRegistry() = default;

// Waits when it ends, which is after the lock taken below it ends: callers on several threads overlap in
// their waits as they would in a network's round trips, and only the work on the registry is serialised.
class MemoryRegistry::NetworkWait {
public:
    NetworkWait() = default;
    NetworkWait(const NetworkWait&) = delete;
    NetworkWait& operator=(const NetworkWait&) = delete;
    // Waits until the time is up, in whole milliseconds: MinGW's sleep_for rounds a wait under a millisecond
    // down to none, which would spin.
    ~NetworkWait() {
        if (wait_.count() <= 0)
            return;
        const auto until = start_ + wait_;
        for (auto now = std::chrono::steady_clock::now(); now < until; now = std::chrono::steady_clock::now())
            std::this_thread::sleep_for(std::chrono::ceil<std::chrono::milliseconds>(until - now));
    }
    void Set(std::chrono::microseconds::rep microseconds) { wait_ = std::chrono::microseconds(microseconds); }

private:
    std::chrono::microseconds wait_{0};
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

void MemoryRegistry::SetLatency(std::chrono::microseconds perCall, std::chrono::microseconds perConnect) {
    per_call_us_ = perCall.count();
    per_connect_us_ = perConnect.count();
}

// ---- RegistryApi ----

RegHandle MemoryRegistry::Root(RootKey root) {
    const int index = RootIndex(root);
    return index < 0 ? 0 : kRootHandleBase + static_cast<RegHandle>(index);
}

std::expected<RegHandle, long> MemoryRegistry::Connect(std::wstring_view computer, RootKey root) {
    BeforeCall(RegistryCall::Kind::Connect, computer);
    NetworkWait wait;
    wait.Set(per_connect_us_);
    const std::lock_guard lock(mutex_);
    ++connects_;
    const Computer* found = FindComputer(computer);
    if (found == nullptr || !found->reachable)
        return std::unexpected(winerror::kBadNetPath);
    const int index = RootIndex(root);
    if (index < 0)
        return std::unexpected(kInvalidHandle);
    if (found->roots[index]->denied)
        return std::unexpected(winerror::kAccessDenied);
    std::shared_ptr<bool> alive(new bool(true));
    const_cast<Computer*>(found)->connections.push_back(alive);
    return AddHandle(found->roots[index], Access::Full, alive, const_cast<Computer*>(found));
}

std::expected<RegHandle, long> MemoryRegistry::Open(RegHandle parent, std::wstring_view subkey,
                                                    KeyAccess access) {
    BeforeCall(RegistryCall::Kind::Open, subkey);
    NetworkWait wait;
    const std::lock_guard lock(mutex_);
    wait.Set(RemoteCall(parent));
    ++opens_;
    const auto key = Resolve(parent);
    if (!key)
        return std::unexpected(key.error());
    const auto node = Walk(key->node, subkey, false, true);
    if (!node)
        return std::unexpected(node.error());
    return AddHandle(*node, access == KeyAccess::Read ? Access::Read : Access::QueryAndSet, key->connection,
                     key->computer);
}

std::expected<RegHandle, long> MemoryRegistry::Create(RegHandle parent, std::wstring_view subkey) {
    BeforeCall(RegistryCall::Kind::Create, subkey);
    NetworkWait wait;
    const std::lock_guard lock(mutex_);
    wait.Set(RemoteCall(parent));
    ++creates_;
    const auto key = Resolve(parent);
    if (!key)
        return std::unexpected(key.error());
    const auto node = Walk(key->node, subkey, true, true);
    if (!node)
        return std::unexpected(node.error());
    return AddHandle(*node, Access::Full, key->connection, key->computer);
}

std::expected<RegistryData, long> MemoryRegistry::QueryValue(RegHandle key, std::wstring_view name) {
    BeforeCall(RegistryCall::Kind::QueryValue, name);
    NetworkWait wait;
    const std::lock_guard lock(mutex_);
    wait.Set(RemoteCall(key));
    ++queries_;
    const auto open = Resolve(key);
    if (!open)
        return std::unexpected(open.error());
    const auto found = FindValue(open->node->values, name);
    if (found == open->node->values.end())
        return std::unexpected(winerror::kFileNotFound);
    return found->data;
}

std::expected<std::wstring, long> MemoryRegistry::EnumKey(RegHandle key, std::uint32_t index) {
    BeforeCall(RegistryCall::Kind::EnumKey);
    NetworkWait wait;
    const std::lock_guard lock(mutex_);
    wait.Set(RemoteCall(key));
    const auto open = Resolve(key);
    if (!open)
        return std::unexpected(open.error());
    if (open->access == Access::QueryAndSet) // KEY_QUERY_VALUE | KEY_SET_VALUE cannot enumerate subkeys
        return std::unexpected(winerror::kAccessDenied);
    Node& node = *open->node;
    if (node.listingStale) {
        node.listing.clear();
        for (const auto& [name, child] : node.children)
            node.listing.push_back(name);
        node.listingStale = false;
    }
    if (index >= node.listing.size())
        return std::unexpected(winerror::kNoMoreItems);
    return node.listing[index];
}

std::expected<RegistryValue, long> MemoryRegistry::EnumValue(RegHandle key, std::uint32_t index) {
    BeforeCall(RegistryCall::Kind::EnumValue);
    NetworkWait wait;
    const std::lock_guard lock(mutex_);
    wait.Set(RemoteCall(key));
    const auto open = Resolve(key);
    if (!open)
        return std::unexpected(open.error());
    if (index >= open->node->values.size())
        return std::unexpected(winerror::kNoMoreItems);
    return open->node->values[index];
}

long MemoryRegistry::SetValue(RegHandle key, std::wstring_view name, const RegistryData& data) {
    BeforeCall(RegistryCall::Kind::SetValue, name);
    NetworkWait wait;
    const std::lock_guard lock(mutex_);
    wait.Set(RemoteCall(key));
    const auto open = Resolve(key);
    if (!open)
        return open.error();
    if (open->access == Access::Read)
        return winerror::kAccessDenied;
    PutValue(open->node->values, name, data);
    return winerror::kSuccess;
}

long MemoryRegistry::DeleteValue(RegHandle key, std::wstring_view name) {
    BeforeCall(RegistryCall::Kind::DeleteValue, name);
    NetworkWait wait;
    const std::lock_guard lock(mutex_);
    wait.Set(RemoteCall(key));
    const auto open = Resolve(key);
    if (!open)
        return open.error();
    if (open->access == Access::Read)
        return winerror::kAccessDenied;
    auto& values = open->node->values;
    const auto found = FindValue(values, name);
    if (found == values.end())
        return winerror::kFileNotFound;
    values.erase(found);
    return winerror::kSuccess;
}

void MemoryRegistry::Close(RegHandle key) {
    BeforeCall(RegistryCall::Kind::Close);
    NetworkWait wait;
    const std::lock_guard lock(mutex_);
    wait.Set(RemoteCall(key));
    if (key >= kRootHandleBase && key < kRootHandleBase + 4)
        return;
    if (handles_.erase(key) == 0)
        ++bad_closes_;
}

// ---- Setup ----

void MemoryRegistry::SetLocalName(std::wstring_view name) {
    const std::lock_guard lock(mutex_);
    local_name_ = WithoutLeadingSlashes(name);
}

void MemoryRegistry::AddComputer(std::wstring_view name) {
    const std::lock_guard lock(mutex_);
    ComputerFor(name);
}

void MemoryRegistry::Disconnect(std::wstring_view computer) {
    const std::lock_guard lock(mutex_);
    DropConnections(ComputerFor(computer));
}

void MemoryRegistry::DisconnectAfter(std::wstring_view computer, std::size_t calls) {
    const std::lock_guard lock(mutex_);
    ComputerFor(computer).callsBeforeDrop = calls;
}

void MemoryRegistry::SetReachable(std::wstring_view computer, bool reachable) {
    const std::lock_guard lock(mutex_);
    ComputerFor(computer).reachable = reachable;
}

void MemoryRegistry::CreateKey(std::wstring_view computer, RootKey root, std::wstring_view path) {
    const std::lock_guard lock(mutex_);
    SetupKey(computer, root, path);
}

void MemoryRegistry::SetString(std::wstring_view computer, RootKey root, std::wstring_view path,
                               std::wstring_view name, std::wstring_view text) {
    SetRaw(computer, root, path, name, {regtype::kSz, Utf16Bytes(text, true)});
}

void MemoryRegistry::SetExpandString(std::wstring_view computer, RootKey root, std::wstring_view path,
                                     std::wstring_view name, std::wstring_view text) {
    SetRaw(computer, root, path, name, {regtype::kExpandSz, Utf16Bytes(text, true)});
}

void MemoryRegistry::SetDword(std::wstring_view computer, RootKey root, std::wstring_view path,
                              std::wstring_view name, std::uint32_t number) {
    SetRaw(computer, root, path, name, {regtype::kDword, LittleEndian(number)});
}

void MemoryRegistry::SetQword(std::wstring_view computer, RootKey root, std::wstring_view path,
                              std::wstring_view name, std::uint64_t number) {
    SetRaw(computer, root, path, name, {regtype::kQword, LittleEndian(number)});
}

void MemoryRegistry::SetMultiString(std::wstring_view computer, RootKey root, std::wstring_view path,
                                    std::wstring_view name, const std::vector<std::wstring>& strings) {
    std::vector<std::uint8_t> bytes;
    for (const std::wstring& text : strings)
        std::ranges::copy(Utf16Bytes(text, true), std::back_inserter(bytes));
    bytes.insert(bytes.end(), {0, 0});
    SetRaw(computer, root, path, name, {regtype::kMultiSz, std::move(bytes)});
}

void MemoryRegistry::SetBinary(std::wstring_view computer, RootKey root, std::wstring_view path,
                               std::wstring_view name, const std::vector<std::uint8_t>& bytes) {
    SetRaw(computer, root, path, name, {regtype::kBinary, bytes});
}

void MemoryRegistry::SetRaw(std::wstring_view computer, RootKey root, std::wstring_view path,
                            std::wstring_view name, const RegistryData& data) {
    const std::lock_guard lock(mutex_);
    PutValue(SetupKey(computer, root, path)->values, name, data);
}

bool MemoryRegistry::RemoveValue(std::wstring_view computer, RootKey root, std::wstring_view path,
                                 std::wstring_view name) {
    const std::lock_guard lock(mutex_);
    const NodePtr node = FindKey(computer, root, path);
    if (node == nullptr)
        return false;
    const auto found = FindValue(node->values, name);
    if (found == node->values.end())
        return false;
    node->values.erase(found);
    return true;
}

void MemoryRegistry::Deny(std::wstring_view computer, RootKey root, std::wstring_view path) {
    const std::lock_guard lock(mutex_);
    SetupKey(computer, root, path)->denied = true;
}

void MemoryRegistry::Vanish(std::wstring_view computer, RootKey root, std::wstring_view path) {
    const std::lock_guard lock(mutex_);
    SetupKey(computer, root, path)->vanished = true;
}

bool MemoryRegistry::DeleteKey(std::wstring_view computer, RootKey root, std::wstring_view path) {
    const std::lock_guard lock(mutex_);
    if (path.ends_with(L'\\'))
        path.remove_suffix(1);
    const std::size_t slash = path.rfind(L'\\');
    const std::wstring_view leaf = slash == std::wstring_view::npos ? path : path.substr(slash + 1);
    const NodePtr parent =
        FindKey(computer, root, slash == std::wstring_view::npos ? L"" : path.substr(0, slash));
    if (leaf.empty() || parent == nullptr)
        return false;
    const auto found = parent->children.find(leaf);
    if (found == parent->children.end())
        return false;
    MarkDeleted(*found->second);
    parent->children.erase(found);
    parent->listingStale = true;
    return true;
}

bool MemoryRegistry::KeyExists(std::wstring_view computer, RootKey root, std::wstring_view path) const {
    const std::lock_guard lock(mutex_);
    return FindKey(computer, root, path) != nullptr;
}

std::optional<RegistryData> MemoryRegistry::Get(std::wstring_view computer, RootKey root,
                                                std::wstring_view path, std::wstring_view name) const {
    const std::lock_guard lock(mutex_);
    const NodePtr node = FindKey(computer, root, path);
    if (node == nullptr)
        return std::nullopt;
    const auto found = FindValue(node->values, name);
    if (found == node->values.end())
        return std::nullopt;
    return found->data;
}

// ---- Counters ----

std::size_t MemoryRegistry::OpenHandleCount() const {
    const std::lock_guard lock(mutex_);
    return handles_.size();
}

void MemoryRegistry::ResetCounters() {
    connects_ = opens_ = creates_ = queries_ = calls_ = 0;
}

// ---- Faults ----

void MemoryRegistry::FaultBefore(CallFilter when, std::function<void()> fault) {
    const std::lock_guard lock(fault_mutex_);
    fault_when_ = std::move(when);
    fault_ = std::move(fault);
}

CallFilter MemoryRegistry::AfterCalls(std::size_t calls) {
    return [calls](const RegistryCall&) mutable {
        return calls-- == 0;
    };
}

void MemoryRegistry::BeforeCall(RegistryCall::Kind kind, std::wstring_view name) {
    ++calls_;
    std::function<void()> due;
    {
        const std::lock_guard lock(fault_mutex_);
        if (!fault_ || !fault_when_({kind, name}))
            return;
        due = std::exchange(fault_, nullptr);
        fault_when_ = nullptr;
    }
    due();
}

// ---- Helpers (the caller holds mutex_) ----

const MemoryRegistry::Computer* MemoryRegistry::FindComputer(std::wstring_view name) const {
    name = WithoutLeadingSlashes(name);
    if (name.empty() || SameName(name, local_name_))
        return &local_;
    const auto found = remotes_.find(name);
    return found == remotes_.end() ? nullptr : &found->second;
}

MemoryRegistry::Computer& MemoryRegistry::ComputerFor(std::wstring_view name) {
    name = WithoutLeadingSlashes(name);
    if (name.empty() || SameName(name, local_name_))
        return local_;
    return remotes_.try_emplace(std::wstring(name)).first->second;
}

std::expected<MemoryRegistry::OpenKey, long> MemoryRegistry::Resolve(RegHandle handle) const {
    OpenKey key;
    if (handle >= kRootHandleBase && handle < kRootHandleBase + 4) {
        key = {local_.roots[handle - kRootHandleBase], Access::Full};
    } else {
        const auto found = handles_.find(handle);
        if (found == handles_.end())
            return std::unexpected(kInvalidHandle);
        key = found->second;
    }
    if (key.connection && !*key.connection)
        return std::unexpected(kServerUnavailable);
    if (key.node->deleted)
        return std::unexpected(kKeyDeleted);
    return key;
}

std::expected<MemoryRegistry::NodePtr, long> MemoryRegistry::Walk(const NodePtr& from, std::wstring_view path,
                                                                  bool create, bool check_deny) {
    if (path.ends_with(L'\\'))
        path.remove_suffix(1);
    std::vector<std::wstring_view> levels;
    for (std::size_t start = 0; !path.empty() && start <= path.size();) {
        const std::size_t end = std::min(path.find(L'\\', start), path.size());
        if (end == start)
            return std::unexpected(winerror::kFileNotFound); // an empty level: "\a", "a\\b"
        levels.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    NodePtr node = from;
    for (const std::wstring_view level : levels) {
        auto found = node->children.find(level);
        if (found == node->children.end()) {
            if (!create)
                return std::unexpected(winerror::kFileNotFound);
            found = node->children.emplace(std::wstring(level), NodePtr(new Node)).first;
            node->listingStale = true;
        } else if (check_deny && found->second->vanished) {
            return std::unexpected(winerror::kFileNotFound);
        } else if (check_deny && found->second->denied) {
            return std::unexpected(winerror::kAccessDenied);
        }
        node = found->second;
    }
    return node;
}

MemoryRegistry::NodePtr MemoryRegistry::SetupKey(std::wstring_view computer, RootKey root,
                                                 std::wstring_view path) {
    const int index = RootIndex(root);
    if (index < 0)
        throw std::invalid_argument("MemoryRegistry: RootKey::FromPath names no root");
    const auto node = Walk(ComputerFor(computer).roots[index], path, true, false);
    if (!node)
        throw std::invalid_argument("MemoryRegistry: a key path has an empty level");
    return *node;
}

MemoryRegistry::NodePtr MemoryRegistry::FindKey(std::wstring_view computer, RootKey root,
                                                std::wstring_view path) const {
    const Computer* found = FindComputer(computer);
    const int index = RootIndex(root);
    if (found == nullptr || index < 0)
        return nullptr;
    const auto node = Walk(found->roots[index], path, false, false);
    return node ? *node : nullptr;
}

std::chrono::microseconds::rep MemoryRegistry::RemoteCall(RegHandle handle) {
    const auto found = handles_.find(handle);
    if (found == handles_.end() || found->second.connection == nullptr)
        return 0;
    if (Computer* computer = found->second.computer; computer != nullptr && computer->callsBeforeDrop) {
        if (*computer->callsBeforeDrop == 0)
            DropConnections(*computer);
        else
            --*computer->callsBeforeDrop;
    }
    return per_call_us_.load();
}

void MemoryRegistry::DropConnections(Computer& computer) {
    computer.reachable = false;
    computer.callsBeforeDrop.reset();
    for (const auto& alive : computer.connections)
        *alive = false;
}

RegHandle MemoryRegistry::AddHandle(NodePtr node, Access access, std::shared_ptr<bool> connection,
                                    Computer* computer) {
    const RegHandle handle = next_handle_;
    next_handle_ += 4; // never reused, so a second Close of the same handle is always noticed
    handles_.emplace(handle, OpenKey{std::move(node), access, std::move(connection), computer});
    return handle;
}

void MemoryRegistry::MarkDeleted(Node& node) {
    node.deleted = true;
    for (auto& [name, child] : node.children)
        MarkDeleted(*child);
}

} // namespace vantrel::test
