#pragma once
// The services of kivoc's views: those of the program's windows, with the snapshot folder's failures told on
// standard error instead of in a message box.
#include "console/console_host.h"
#include "engine/computer_list.h"
#include "engine/match_list.h"
#include "platform/win_environment.h"
#include "platform/win_file_source.h"
#include "platform/win_ini_files.h"
#include "platform/win_ping_runner.h"
#include "platform/win_registry.h"
#include "platform/win_snapshot_files.h"
#include "shell/snapshot_folder_setting.h"
#include "sources/snapshot_folder.h"
#include "sources/snapshot_registry_api.h"

namespace vantrel {

class ConsoleServices {
public:
    ConsoleServices() {
        computerList_.answersWithoutPing = [this](std::wstring_view name) {
            return snapshots_.Serves(name);
        };
        snapshots_.onLoadFailure = [](std::wstring_view message) {
            ErrorLine(message);
        };
    }
    ViewServices ForViews() { return {registry_, files_, computerList_, environment_, matchList_, ini_}; }

private:
    WinRegistryApi liveRegistry_;
    WinSnapshotFiles snapshotFiles_;
    SnapshotFolder snapshots_{snapshotFiles_, SnapshotFolderSetting(liveRegistry_)};
    SnapshotRegistryApi registryApi_{liveRegistry_, snapshots_};
    Registry registry_{registryApi_};
    WinFileSource files_;
    WinEnvironment environment_;
    MatchList matchList_;
    WinIniFiles ini_;
    WinPingRunner pings_;
    ComputerList computerList_{pings_};
};

} // namespace vantrel
