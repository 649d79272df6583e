#pragma once

#include "settings/RegFile.h"

#include <functional>
#include <optional>
#include <string>

// The per-user store file, ${XDG_CONFIG_HOME:-~/.config}/tickerlux/user.reg. Readers see either
// the old or the new file, never a half-written one; writers of several programs at once take
// turns on a lock file, so none of their changes is lost.
namespace tickerlux::settings::userstore {

std::string StoreFilePath();
// The folder that holds the store file and its lock files.
std::string StoreFolder();
// Creates the folder (and its parents) if missing; false when it cannot be made.
bool MakeStoreFolder();

// The store as it is now; an absent file is an empty store. Nothing when the file exists but
// cannot be read (a folder, a loop of links, a pipe or a device), with `problem` set to the
// system's reason.
std::optional<regfile::CRegFile> Load(std::string& problem);
std::optional<regfile::CRegFile> Load();

// Applies `change` to the current store under the lock and replaces the file with the result
// (temporary file, fsync, rename). `change` returns false to leave the file alone. False when
// the store cannot be read or written.
bool Update(const std::function<bool(regfile::CRegFile&)>& change);

} // namespace tickerlux::settings::userstore
