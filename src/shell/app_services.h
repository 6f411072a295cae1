#pragma once
// The services the whole program shares: the registry, files, computers, the environment, the match list and
// the dialogs that ask the user.
#include "engine/computer_list.h"
#include "engine/match_list.h"
#include "engine/view.h"
#include "platform/programs.h"
#include "platform/win_environment.h"
#include "platform/win_file_source.h"
#include "platform/win_ini_files.h"
#include "platform/win_ping_runner.h"
#include "platform/win_registry.h"
#include "platform/win_snapshot_files.h"
#include "shell/prompter.h"
#include "shell/settings.h"
#include "shell/snapshot_folder_setting.h"
#include "sources/registry.h"
#include "sources/snapshot_registry_api.h"
#include "views/markers.h"

namespace vantrel {

class AppServices {
public:
    AppServices();
    ViewServices ForViews() { return {registry_, files_, computerList_, environment_, matchList_, ini_}; }
    Prompter& prompter() { return prompter_; }
    Registry& registry() { return registry_; }

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
    WinPrograms programs_;
    WinPingRunner pings_;
    // The computer list's answers are what fills ask whether a computer answers.
    ComputerList computerList_{pings_};
    WindowsPrompter prompter_{registry_, programs_, computerList_, environment_};
};

// While a fill waits for a ping, the active window still draws itself. Snapshot computers answer without a
// ping, and a snapshot that cannot be read is told once, when the first view or compare reaches it (its
// cells then read "Not connected").
inline AppServices::AppServices() {
    computerList_.betweenWaits = [] {
        if (const HWND active = GetActiveWindow(); active != nullptr)
            UpdateWindow(active);
    };
    computerList_.answersWithoutPing = [this](std::wstring_view name) {
        return snapshots_.Serves(name);
    };
    snapshots_.onLoadFailure = [this](std::wstring_view message) {
        prompter_.Message(GetActiveWindow(), message, MB_OK | MB_ICONEXCLAMATION);
    };
}

} // namespace vantrel
