#pragma once
// The services every Vantrel program shares, windows or none: the registry (computers served from snapshots
// included), files, the environment, the match list, ini files and the computer list.
#include "engine/computer_list.h"
#include "engine/match_list.h"
#include "engine/view.h"
#include "platform/win_environment.h"
#include "platform/win_file_source.h"
#include "platform/win_ini_files.h"
#include "platform/win_ping_runner.h"
#include "platform/win_registry.h"
#include "platform/win_snapshot_files.h"
#include "shell/settings.h"
#include "shell/snapshot_folder_setting.h"
#include "sources/registry.h"
#include "sources/snapshot_folder.h"
#include "sources/snapshot_registry_api.h"

#include <functional>
#include <string_view>

namespace vantrel {

class ProgramServices {
public:
    // Snapshot computers answer without a ping; a snapshot that cannot be read is told once, through
    // `tellSnapshotFailure`, when the first view or compare reaches it (its cells then read "Not connected").
    explicit ProgramServices(std::function<void(std::wstring_view)> tellSnapshotFailure) {
        computerList_.answersWithoutPing = [this](std::wstring_view name) {
            return snapshots_.Serves(name);
        };
        snapshots_.onLoadFailure = std::move(tellSnapshotFailure);
    }
    ProgramServices(const ProgramServices&) = delete;
    ProgramServices& operator=(const ProgramServices&) = delete;

    // How many rows fills read at once is the setting when the program starts.
    ViewServices ForViews() {
        return {registry_, files_, computerList_, environment_, matchList_, ini_, ParallelReads(registry_)};
    }
    Registry& registry() { return registry_; }
    ComputerList& computers() { return computerList_; }
    const Environment& environment() const { return environment_; }

private:
    WinRegistryApi liveRegistry_;
    WinSnapshotFiles snapshotFiles_;
    SnapshotFolder snapshots_{snapshotFiles_, SnapshotFolderSetting(liveRegistry_)};
    // Every registry access of the program, computers served from snapshots included.
    SnapshotRegistryApi registryApi_{liveRegistry_, snapshots_};
    Registry registry_{registryApi_};
    WinFileSource files_;
    WinEnvironment environment_;
    MatchList matchList_;
    WinIniFiles ini_;
    WinPingRunner pings_;
    // The computer list's answers are what fills ask whether a computer answers.
    ComputerList computerList_{pings_};
};

} // namespace vantrel
