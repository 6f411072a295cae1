#include "platform/win_registry.h"

#include <windows.h>

#include <array>

namespace vantrel {
namespace {

// Most values fit; longer ones are read again with the size the registry reports.
constexpr DWORD kFirstDataBytes = 512;
constexpr DWORD kMaxKeyNameChars = 256;
constexpr DWORD kMaxValueNameChars = 16384;

HKEY AsHKey(RegHandle handle) {
    return reinterpret_cast<HKEY>(handle);
}
RegHandle AsHandle(HKEY key) {
    return reinterpret_cast<RegHandle>(key);
}

HKEY PredefinedKey(RootKey root) {
    switch (root) {
    case RootKey::ClassesRoot:
        return HKEY_CLASSES_ROOT;
    case RootKey::CurrentUser:
        return HKEY_CURRENT_USER;
    case RootKey::Users:
        return HKEY_USERS;
    case RootKey::FromPath:
    case RootKey::LocalMachine:
        break;
    }
    return HKEY_LOCAL_MACHINE;
}

bool IsPredefined(HKEY key) {
    return key == HKEY_CLASSES_ROOT || key == HKEY_CURRENT_USER || key == HKEY_LOCAL_MACHINE ||
           key == HKEY_USERS;
}

REGSAM AccessMask(KeyAccess access) {
    const REGSAM base =
        access == KeyAccess::Read ? KEY_READ : (KEY_QUERY_VALUE | KEY_SET_VALUE | READ_CONTROL);
    return base | KEY_WOW64_64KEY;
}

// Windows wants NUL-terminated names; views hand us string_views.
std::wstring Terminated(std::wstring_view text) {
    return std::wstring(text);
}

} // namespace

RegHandle WinRegistryApi::Root(RootKey root) {
    return AsHandle(PredefinedKey(root));
}

std::expected<RegHandle, long> WinRegistryApi::Connect(std::wstring_view computer, RootKey root) {
    // The remote registry service does not serve HKEY_CLASSES_ROOT; its machine part is Software\Classes.
    const bool classes = root == RootKey::ClassesRoot;
    HKEY remote = nullptr;
    LSTATUS status = RegConnectRegistryW(Terminated(computer).c_str(),
                                         classes ? HKEY_LOCAL_MACHINE : PredefinedKey(root), &remote);
    if (status != ERROR_SUCCESS)
        return std::unexpected(status);
    if (!classes)
        return AsHandle(remote);
    HKEY classesKey = nullptr;
    status = RegOpenKeyExW(remote, L"Software\\Classes", 0, KEY_READ | KEY_WOW64_64KEY, &classesKey);
    Close(AsHandle(remote));
    if (status != ERROR_SUCCESS)
        return std::unexpected(status);
    return AsHandle(classesKey);
}

std::expected<RegHandle, long> WinRegistryApi::Open(RegHandle parent, std::wstring_view subkey,
                                                    KeyAccess access) {
    HKEY key = nullptr;
    const LSTATUS status =
        RegOpenKeyExW(AsHKey(parent), Terminated(subkey).c_str(), 0, AccessMask(access), &key);
    if (status != ERROR_SUCCESS)
        return std::unexpected(status);
    return AsHandle(key);
}

std::expected<RegHandle, long> WinRegistryApi::Create(RegHandle parent, std::wstring_view subkey) {
    HKEY key = nullptr;
    const LSTATUS status = RegCreateKeyExW(AsHKey(parent), Terminated(subkey).c_str(), 0, nullptr, 0,
                                           KEY_READ | KEY_WRITE | KEY_WOW64_64KEY, nullptr, &key, nullptr);
    if (status != ERROR_SUCCESS)
        return std::unexpected(status);
    return AsHandle(key);
}

std::expected<RegistryData, long> WinRegistryApi::QueryValue(RegHandle key, std::wstring_view name) {
    const std::wstring valueName = Terminated(name);
    RegistryData data;
    data.bytes.resize(kFirstDataBytes);
    for (;;) {
        DWORD type = REG_NONE;
        DWORD size = static_cast<DWORD>(data.bytes.size());
        const LSTATUS status =
            RegQueryValueExW(AsHKey(key), valueName.c_str(), nullptr, &type, data.bytes.data(), &size);
        if (status == ERROR_MORE_DATA) {
            // The value may grow again before the next call; then the loop asks once more.
            data.bytes.resize(size);
            continue;
        }
        if (status != ERROR_SUCCESS)
            return std::unexpected(status);
        data.type = type;
        data.bytes.resize(size);
        return data;
    }
}

std::expected<std::wstring, long> WinRegistryApi::EnumKey(RegHandle key, std::uint32_t index) {
    std::array<wchar_t, kMaxKeyNameChars> name{};
    DWORD length = kMaxKeyNameChars;
    const LSTATUS status =
        RegEnumKeyExW(AsHKey(key), index, name.data(), &length, nullptr, nullptr, nullptr, nullptr);
    if (status != ERROR_SUCCESS)
        return std::unexpected(status);
    return std::wstring(name.data(), length);
}

std::expected<RegistryValue, long> WinRegistryApi::EnumValue(RegHandle key, std::uint32_t index) {
    std::wstring name(kMaxValueNameChars, L'\0');
    RegistryValue value;
    value.data.bytes.resize(kFirstDataBytes);
    for (;;) {
        DWORD nameLength = kMaxValueNameChars;
        DWORD type = REG_NONE;
        DWORD size = static_cast<DWORD>(value.data.bytes.size());
        const LSTATUS status = RegEnumValueW(AsHKey(key), index, name.data(), &nameLength, nullptr, &type,
                                             value.data.bytes.data(), &size);
        if (status == ERROR_MORE_DATA && size > value.data.bytes.size()) {
            value.data.bytes.resize(size);
            continue;
        }
        if (status != ERROR_SUCCESS)
            return std::unexpected(status);
        value.name.assign(name.data(), nameLength);
        value.data.type = type;
        value.data.bytes.resize(size);
        return value;
    }
}

long WinRegistryApi::SetValue(RegHandle key, std::wstring_view name, const RegistryData& data) {
    return RegSetValueExW(AsHKey(key), Terminated(name).c_str(), 0, data.type,
                          data.bytes.empty() ? nullptr : data.bytes.data(),
                          static_cast<DWORD>(data.bytes.size()));
}

long WinRegistryApi::DeleteValue(RegHandle key, std::wstring_view name) {
    return RegDeleteValueW(AsHKey(key), Terminated(name).c_str());
}

void WinRegistryApi::Close(RegHandle key) {
    if (!IsPredefined(AsHKey(key)))
        RegCloseKey(AsHKey(key));
}

} // namespace vantrel
