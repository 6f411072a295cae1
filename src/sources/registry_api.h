#pragma once
// What the registry layer needs from a registry: the advapi32 calls it makes, as an interface. The program
// uses the Windows registry (platform/win_registry.h); tests hand the layer in-memory registries of several
// computers. Every call answers a Windows error code (0 = success), as advapi32 does.
#include <cstdint>
#include <expected>
#include <string>
#include <string_view>
#include <vector>

namespace vantrel {

using RegHandle = std::uintptr_t;

enum class RootKey : std::uint8_t { FromPath, ClassesRoot, CurrentUser, LocalMachine, Users };

enum class KeyAccess : std::uint8_t {
    Read,        // query values, enumerate subkeys
    QueryAndSet, // query and set values, read control
};

// Registry value types, as Windows numbers them.
namespace regtype {
inline constexpr std::uint32_t kNone = 0;
inline constexpr std::uint32_t kSz = 1;
inline constexpr std::uint32_t kExpandSz = 2;
inline constexpr std::uint32_t kBinary = 3;
inline constexpr std::uint32_t kDword = 4;
inline constexpr std::uint32_t kMultiSz = 7;
inline constexpr std::uint32_t kQword = 11;
} // namespace regtype

// The Windows error codes the program tells apart.
namespace winerror {
inline constexpr long kSuccess = 0;
inline constexpr long kFileNotFound = 2;
inline constexpr long kPathNotFound = 3;
inline constexpr long kAccessDenied = 5;
inline constexpr long kInvalidHandle = 6;
inline constexpr long kInvalidData = 13;
inline constexpr long kBadNetPath = 53;
inline constexpr long kMoreData = 234;
inline constexpr long kNoMoreItems = 259;
inline constexpr long kKeyDeleted = 1018;
inline constexpr long kInvalidDatatype = 1804;
} // namespace winerror

struct RegistryData {
    std::uint32_t type = regtype::kNone;
    std::vector<std::uint8_t> bytes; // all of the value's data, however long

    bool operator==(const RegistryData&) const = default;
};

struct RegistryValue {
    std::wstring name;
    RegistryData data;
};

class RegistryApi {
public:
    virtual ~RegistryApi() = default;

    // The local predefined root (FromPath counts as LocalMachine); it needs no Close.
    virtual RegHandle Root(RootKey root) = 0;
    // The root of another computer's registry (RegConnectRegistry); Close it after use. The remote registry
    // service serves the local machine and the users roots; the classes root of another computer is its
    // local machine's Software\Classes.
    virtual std::expected<RegHandle, long> Connect(std::wstring_view computer, RootKey root) = 0;
    // Opens (RegOpenKeyEx) or creates with all missing levels (RegCreateKeyEx) a subkey of `parent`.
    virtual std::expected<RegHandle, long> Open(RegHandle parent, std::wstring_view subkey,
                                                KeyAccess access) = 0;
    virtual std::expected<RegHandle, long> Create(RegHandle parent, std::wstring_view subkey) = 0;
    // A value of the key; the empty name is the default value.
    virtual std::expected<RegistryData, long> QueryValue(RegHandle key, std::wstring_view name) = 0;
    // The subkey or value at `index`; kNoMoreItems past the last.
    virtual std::expected<std::wstring, long> EnumKey(RegHandle key, std::uint32_t index) = 0;
    virtual std::expected<RegistryValue, long> EnumValue(RegHandle key, std::uint32_t index) = 0;
    virtual long SetValue(RegHandle key, std::wstring_view name, const RegistryData& data) = 0;
    virtual long DeleteValue(RegHandle key, std::wstring_view name) = 0;
    virtual void Close(RegHandle key) = 0;
};

// Owns one handle from Connect, Open or Create and closes it exactly once.
class OwnedRegKey {
public:
    OwnedRegKey() = default;
    OwnedRegKey(RegistryApi& api, RegHandle handle) : api_(&api), handle_(handle) {}
    OwnedRegKey(OwnedRegKey&& other) noexcept : api_(other.api_), handle_(other.handle_) {
        other.api_ = nullptr;
    }
    OwnedRegKey& operator=(OwnedRegKey&& other) noexcept {
        if (this != &other) {
            reset();
            api_ = other.api_;
            handle_ = other.handle_;
            other.api_ = nullptr;
        }
        return *this;
    }
    OwnedRegKey(const OwnedRegKey&) = delete;
    OwnedRegKey& operator=(const OwnedRegKey&) = delete;
    ~OwnedRegKey() { reset(); }

    RegHandle get() const { return handle_; }
    explicit operator bool() const { return api_ != nullptr; }

    void reset() {
        if (api_ != nullptr)
            api_->Close(handle_);
        api_ = nullptr;
    }

private:
    RegistryApi* api_ = nullptr;
    RegHandle handle_ = 0;
};

} // namespace vantrel
