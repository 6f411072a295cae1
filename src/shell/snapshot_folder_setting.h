#pragma once
// Where the program finds registry snapshots served as computers.
#include "shell/settings.h"
#include "sources/registry.h"
#include "views/markers.h"

#include <string>

namespace vantrel {

// The folder of registry snapshots served as computers ("SnapshotFolder" in the settings; none when unset),
// read from the live registry before any snapshot can answer.
inline std::wstring SnapshotFolderSetting(RegistryApi& live) {
    Registry registry(live);
    std::wstring folder = registry.ReadValue(L"", RootKey::FromPath, kSettingsKey, L"SnapshotFolder");
    if (folder == kValueMissing || folder == kKeyMissing || folder == kNotConnected)
        folder.clear();
    return folder;
}

} // namespace vantrel
