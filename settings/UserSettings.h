#pragma once

#include "base/Failure.h"
#include "settings/CommSettings.h"
#include "settings/PortMap.h"

#include <functional>
#include <string>
#include <vector>

namespace tickerlux::settings {

// Everything the per-user store keeps for a user, read in one go. A command loads it once and
// passes it down; a change is made with UpdateUserSettings, under the store's lock.
struct UserSettings {
    static constexpr int kRecentFiles = 4;

    // Defaults when no connection is stored (Comm.HasConnection() false).
    CommSettings Comm;
    // Whether pages are read in their own charset and headlines cleaned (stored as a DWORD:
    // missing or unreadable means on, 0 off).
    bool HeadlineCleanup = true;
    // File > recent files: the last settings files opened or saved, newest first, at most
    // kRecentFiles, UTF-8 paths.
    std::vector<std::string> RecentFiles;
    CPortMap Ports;
    // The web page's password hash; empty when none is set.
    std::string WebPasswordHash;

    bool operator==(const UserSettings&) const = default;
};

// The store as it is now, or the failure that kept it from being read (the settings are then
// the defaults). An absent file is an empty store.
struct LoadedUserSettings {
    UserSettings settings;
    base::Failure failure;
};

// The store file, ${XDG_CONFIG_HOME:-~/.config}/tickerlux/user.reg (UTF-8), and its folder, which
// holds the lock files too.
std::string UserStorePath();
std::string UserStoreFolder();
// Creates the folder (and its parents) if missing.
base::Failure MakeUserStoreFolder();

LoadedUserSettings LoadUserSettings();

// Reads the store, applies `change` and writes what it changed, all under the store's lock, so
// that writers of several programs at once keep each other's changes and never mix two sets.
// Only the values that changed are written; every other line stays as it is. Nothing is written
// when the store cannot be read or nothing changed; the file is replaced in one step (temporary
// file, fsync, rename).
base::Failure UpdateUserSettings(const std::function<void(UserSettings&)>& change);

} // namespace tickerlux::settings
