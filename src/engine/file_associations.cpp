#include "engine/file_associations.h"

#include "engine/file_commands.h"
#include "views/markers.h"

#include <algorithm>

namespace vantrel {
namespace {

// Explorer offers no more than this many programs or actions; neither do we.
constexpr size_t kMostEntries = 40;

std::wstring DefaultValue(Registry& registry, std::wstring_view key) {
    return registry.ReadValue(L"", RootKey::FromPath, key, L"@");
}

} // namespace

std::vector<std::wstring> RecentPrograms(Registry& registry, std::wstring_view extension) {
    const std::wstring key = L"HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\." +
                             std::wstring(extension) + L"\\OpenWithList";
    std::vector<ValueText> values = registry.EnumValues(L"", RootKey::FromPath, key);
    if (values.size() > kMostEntries)
        values.resize(kMostEntries);
    return OrderByMruList(values, registry.ReadValue(L"", RootKey::FromPath, key, L"MRUList"));
}

std::wstring ShellKeyOf(Registry& registry, std::wstring_view extension, bool folder) {
    std::wstring type = folder ? L"Folder" : DefaultValue(registry, L"HKCR\\." + std::wstring(extension));
    if (std::wstring current = DefaultValue(registry, L"HKCR\\" + type + L"\\Curver"); current != kKeyMissing)
        type = std::move(current);
    return L"hkcr\\" + type + L"\\Shell";
}

std::vector<std::wstring> ShellActions(Registry& registry, std::wstring_view shellKey) {
    std::vector<std::wstring> actions = registry.EnumKeys(L"", RootKey::FromPath, shellKey, false);
    if (actions.size() > kMostEntries)
        actions.resize(kMostEntries);
    std::wstring order = DefaultValue(registry, shellKey);
    if (order == kKeyMissing)
        order.clear();
    return OrderShellActions(order, actions);
}

std::wstring ProgramCommand(Registry& registry, std::wstring_view program) {
    std::wstring command =
        DefaultValue(registry, L"hkcr\\Applications\\" + std::wstring(program) + L"\\shell\\open\\command");
    return command == kKeyMissing ? std::wstring(program) : command;
}

std::wstring ActionCommand(Registry& registry, std::wstring_view shellKey, std::wstring_view action) {
    std::wstring command =
        DefaultValue(registry, std::wstring(shellKey) + L"\\" + std::wstring(action) + L"\\command");
    return command == kKeyMissing ? std::wstring() : command;
}

} // namespace vantrel
