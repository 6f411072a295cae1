#pragma once
// Where the program finds registry snapshots served as computers.
#include "shell/settings.h"
#include "sources/registry.h"

#include <string>

namespace vantrel {

// The folder of registry snapshots served as computers ("SnapshotFolder" in the settings; none when unset),
// read from the live registry before any snapshot can answer.
inline std::wstring SnapshotFolderSetting(RegistryApi& live) {
    Registry registry(live);
    return ReadSetting(registry, L"SnapshotFolder");
}

} // namespace vantrel
