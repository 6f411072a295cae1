#pragma once
// Test double of RegistryApi: the registries of several computers held in memory. Behaves as advapi32 does
// where the program can tell (case-insensitive names, subkeys listed alphabetically, values in the order
// they were first written, Windows error codes) and counts handles and calls so tests can check that every
// handle is closed exactly once and that the code does not ask more than it needs.
//
// Every member may be called from several threads at once: one lock guards the computers, their contents and
// the handle table, and the counters are atomic. The latency of SetLatency is waited out after the lock is
// let go, so callers on several threads wait side by side, as they would for a network.
#include "sources/registry_api.h"

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <expected>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vantrel::test {

// Windows error codes the double answers beyond those in vantrel::winerror.
inline constexpr long kInvalidHandle = winerror::kInvalidHandle;
inline constexpr long kKeyDeleted = winerror::kKeyDeleted;
inline constexpr long kServerUnavailable = 1722; // RPC_S_SERVER_UNAVAILABLE

// The UTF-16LE bytes of `text`, one code unit per wchar_t (the low 16 bits where wchar_t is wider), with a
// terminating zero unit when `terminate`.
std::vector<std::uint8_t> Utf16Bytes(std::wstring_view text, bool terminate);
// The text of UTF-16LE bytes, without trailing zero units; an odd last byte is ignored.
std::wstring Utf16Text(std::span<const std::uint8_t> bytes);

// One call of the registry interface as a fault's trigger sees it: which call, and what it names.
struct RegistryCall {
    enum class Kind : std::uint8_t {
        Connect,
        Open,
        Create,
        QueryValue,
        EnumKey,
        EnumValue,
        SetValue,
        DeleteValue,
        Close,
    };
    Kind kind;
    // Connect: the computer; Open, Create: the subkey; QueryValue, SetValue, DeleteValue: the value's name;
    // otherwise empty.
    std::wstring_view name;
};
using CallFilter = std::function<bool(const RegistryCall&)>;

// `computer` in the setup calls below: L"" or the local name is the local registry; any other name is a
// remote computer, added on first use. Paths are relative to the root, levels separated by '\'.
class MemoryRegistry final : public RegistryApi {
public:
    MemoryRegistry();
    ~MemoryRegistry() override;
    MemoryRegistry(const MemoryRegistry&) = delete;
    MemoryRegistry& operator=(const MemoryRegistry&) = delete;

    // RegistryApi
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

    // Computers. Names are case-insensitive; a leading "\\" is ignored.
    void SetLocalName(std::wstring_view name); // default L"LOCALPC"
    void AddComputer(std::wstring_view name);
    // An unreachable computer refuses Connect (kBadNetPath); handles already open keep working.
    void SetReachable(std::wstring_view computer, bool reachable);
    // The computer drops off the network: Connect is refused and every handle reached through a connection to
    // it answers kServerUnavailable from now on.
    void Disconnect(std::wstring_view computer);
    // The computer drops off the network, as Disconnect, once `calls` more calls have reached it through its
    // connections (Close included): the next one fails.
    void DisconnectAfter(std::wstring_view computer, std::size_t calls);

    // Makes other computers as slow as a network: every Connect waits `perConnect` (answered or refused),
    // every call on a key reached through a connection waits `perCall`, Close included. The local registry
    // stays fast. Zero, the default, waits nothing.
    void SetLatency(std::chrono::microseconds perCall, std::chrono::microseconds perConnect);

    // Runs `fault` once, just before the first call from now on (on any thread, Root() not counted) that
    // `when` picks, with no lock held, so that it may change contents and computers: a key deleted, a value
    // changed or a computer dropped at an exact point of a fill. A later FaultBefore replaces one not run
    // yet.
    void FaultBefore(CallFilter when, std::function<void()> fault);
    // A `when` for FaultBefore: the call that follows the next `calls` calls.
    static CallFilter AfterCalls(std::size_t calls);

    // Contents. Every Set creates the key with all missing levels and creates or replaces the value.
    void CreateKey(std::wstring_view computer, RootKey root, std::wstring_view path);
    void SetString(std::wstring_view computer, RootKey root, std::wstring_view path, std::wstring_view name,
                   std::wstring_view text); // REG_SZ, with its terminating zero
    void SetExpandString(std::wstring_view computer, RootKey root, std::wstring_view path,
                         std::wstring_view name, std::wstring_view text);
    void SetDword(std::wstring_view computer, RootKey root, std::wstring_view path, std::wstring_view name,
                  std::uint32_t number);
    void SetQword(std::wstring_view computer, RootKey root, std::wstring_view path, std::wstring_view name,
                  std::uint64_t number);
    void SetMultiString(std::wstring_view computer, RootKey root, std::wstring_view path,
                        std::wstring_view name, const std::vector<std::wstring>& strings);
    void SetBinary(std::wstring_view computer, RootKey root, std::wstring_view path, std::wstring_view name,
                   const std::vector<std::uint8_t>& bytes);
    void SetRaw(std::wstring_view computer, RootKey root, std::wstring_view path, std::wstring_view name,
                const RegistryData& data);
    bool RemoveValue(std::wstring_view computer, RootKey root, std::wstring_view path,
                     std::wstring_view name);
    // Opening the key, or any key through it, answers kAccessDenied from now on (creates the key if missing).
    void Deny(std::wstring_view computer, RootKey root, std::wstring_view path);
    // The key is still listed under its parent, but opening it answers kFileNotFound: it went between the
    // listing and the reading (creates the key if missing).
    void Vanish(std::wstring_view computer, RootKey root, std::wstring_view path);
    // Deletes the key and its subtree; open handles to them answer kKeyDeleted. False if there was none.
    bool DeleteKey(std::wstring_view computer, RootKey root, std::wstring_view path);

    // Reading back, ignoring Deny and the counters.
    bool KeyExists(std::wstring_view computer, RootKey root, std::wstring_view path) const;
    std::optional<RegistryData> Get(std::wstring_view computer, RootKey root, std::wstring_view path,
                                    std::wstring_view name) const;

    // Handles from Connect, Open and Create not yet closed (the roots from Root() are not counted).
    std::size_t OpenHandleCount() const;
    // Close calls with a handle that was never given out or was already closed.
    std::size_t BadCloseCount() const { return bad_closes_; }
    std::size_t ConnectCount() const { return connects_; } // every Connect call
    std::size_t OpenCount() const { return opens_; }       // every Open call, successful or not
    std::size_t CreateCount() const { return creates_; }   // every Create call
    std::size_t QueryCount() const { return queries_; }    // every QueryValue call
    std::size_t CallCount() const { return calls_; }       // every call but Root()
    void ResetCounters();                                  // the call counters, not the handles

private:
    struct NameLess {
        using is_transparent = void;
        bool operator()(std::wstring_view a, std::wstring_view b) const;
    };
    struct Node {
        std::map<std::wstring, std::shared_ptr<Node>, NameLess> children; // listed in this order
        // The children's names by index, made on the first EnumKey after a change: a key of 100,000 subkeys
        // is listed in linear time, as a registry does.
        std::vector<std::wstring> listing;
        bool listingStale = true;
        std::vector<RegistryValue> values; // in insertion order
        bool denied = false;
        bool deleted = false;
        bool vanished = false;
    };
    using NodePtr = std::shared_ptr<Node>;
    struct Computer {
        Computer();
        NodePtr roots[4]; // ClassesRoot, CurrentUser, LocalMachine, Users
        bool reachable = true;
        std::vector<std::shared_ptr<bool>> connections; // alive flags of the connections made to it
        std::optional<std::size_t> callsBeforeDrop;
    };
    enum class Access : std::uint8_t { Read, QueryAndSet, Full };
    class NetworkWait;
    struct OpenKey {
        NodePtr node;
        Access access = Access::Full;
        std::shared_ptr<bool> connection; // set for keys reached through a connection to another computer
        Computer* computer = nullptr;     // the other computer of that connection
    };

    const Computer* FindComputer(std::wstring_view name) const; // nullptr when unknown
    Computer& ComputerFor(std::wstring_view name);              // adds it when missing
    std::expected<OpenKey, long> Resolve(RegHandle handle) const;
    static std::expected<NodePtr, long> Walk(const NodePtr& from, std::wstring_view path, bool create,
                                             bool check_deny);
    NodePtr SetupKey(std::wstring_view computer, RootKey root, std::wstring_view path);
    NodePtr FindKey(std::wstring_view computer, RootKey root, std::wstring_view path) const;
    // Counts the call and runs the fault it triggers; called first thing, before the lock is taken.
    void BeforeCall(RegistryCall::Kind kind, std::wstring_view name = {});
    // A call on the key: its latency (0 for local keys), counted towards a DisconnectAfter.
    std::chrono::microseconds::rep RemoteCall(RegHandle handle);
    RegHandle AddHandle(NodePtr node, Access access, std::shared_ptr<bool> connection = nullptr,
                        Computer* computer = nullptr);
    static void DropConnections(Computer& computer);
    static void MarkDeleted(Node& node);

    mutable std::mutex mutex_;
    std::wstring local_name_;
    Computer local_;
    std::map<std::wstring, Computer, NameLess> remotes_;
    std::unordered_map<RegHandle, OpenKey> handles_;
    RegHandle next_handle_ = 0x1000;
    std::atomic<std::size_t> bad_closes_ = 0;
    std::atomic<std::size_t> connects_ = 0;
    std::atomic<std::size_t> opens_ = 0;
    std::atomic<std::size_t> creates_ = 0;
    std::atomic<std::size_t> queries_ = 0;
    std::atomic<std::size_t> calls_ = 0;
    std::mutex fault_mutex_; // guards the two below; never held together with mutex_
    CallFilter fault_when_;
    std::function<void()> fault_;
    std::atomic<std::chrono::microseconds::rep> per_call_us_ = 0;
    std::atomic<std::chrono::microseconds::rep> per_connect_us_ = 0;
};

} // namespace vantrel::test
