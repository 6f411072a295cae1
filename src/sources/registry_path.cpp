#include "sources/registry_path.h"

#include <array>
#include <cwctype>

namespace vantrel {
namespace {

struct RootPrefix {
    std::wstring_view prefix;
    RootKey root;
};

// In the order they are tested.
constexpr std::array kRootPrefixes{
    RootPrefix{L"HKLM\\", RootKey::LocalMachine},
    RootPrefix{L"HKCR\\", RootKey::ClassesRoot},
    RootPrefix{L"HKCU\\", RootKey::CurrentUser},
    RootPrefix{L"HKUS\\", RootKey::Users},
    RootPrefix{L"HKEY_USERS\\", RootKey::Users},
    RootPrefix{L"HKEY_CLASSES_ROOT\\", RootKey::ClassesRoot},
    RootPrefix{L"HKEY_CURRENT_USER\\", RootKey::CurrentUser},
    RootPrefix{L"HKEY_LOCAL_MACHINE\\", RootKey::LocalMachine},
};

bool StartsWithNoCase(std::wstring_view text, std::wstring_view prefix) {
    if (text.size() < prefix.size())
        return false;
    for (size_t i = 0; i < prefix.size(); ++i)
        if (std::towupper(text[i]) != std::towupper(prefix[i]))
            return false;
    return true;
}

} // namespace

RootKey RootOf(std::wstring& path) {
    RootKey root = RootKey::LocalMachine;
    if (path.find(L'\\') == std::wstring::npos)
        path += L'\\';
    for (const RootPrefix& entry : kRootPrefixes) {
        if (StartsWithNoCase(path, entry.prefix)) {
            path.erase(0, entry.prefix.size());
            root = entry.root;
        }
    }
    return root;
}

std::wstring GetMachine(std::wstring_view path, std::wstring& out) {
    out = path;
    const size_t first = path.find(L'/');
    if (first == std::wstring_view::npos)
        return {};
    const size_t second = path.find(L'/', first + 1);
    if (second == std::wstring_view::npos)
        return {};
    const std::wstring_view name = path.substr(first + 1, second - first - 1);
    if (name.find(L'\\') != std::wstring_view::npos)
        return {};
    out.erase(first, second - first + 1);
    return std::wstring(name);
}

std::wstring GetMachOut(std::wstring_view path) {
    std::wstring result(path.starts_with(L"//") ? path.substr(2) : path);
    std::wstring withoutComputer;
    if (!GetMachine(path, withoutComputer).empty())
        result = withoutComputer;
    return result;
}

} // namespace vantrel
