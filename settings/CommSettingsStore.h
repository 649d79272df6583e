#pragma once

#include "settings/CommSettings.h"

#include "settings/ProductName.h"

#include <functional>
#include <string>

namespace tickerlux::settings {

class CRegistryAccess;

namespace commstore {

// HKEY_CURRENT_USER key of the communication settings.
inline const std::string kKey = std::string("Software\\Orvane\\") + kProductName;

// Loads "Connection" and, when one is stored, "ComPort", "BaudRate", "ByteSize", "Parity" and
// "StopBits" into `values`, all from one reading of the store, each falling back to its default
// when it cannot be read.
// "Protocol" is not read. Returns whether a non-empty Connection is stored; when none is, the
// other fields are left as they are.
bool Load(CommSettings& values, const CRegistryAccess& registry);

// The Save button: raises `values.ComPort` to 1 if it is below 1 (in `values` too), then writes
// the seven values in one locked change of the store, so that no other program reads or writes
// half of them. Returns whether they were written; nothing is when they cannot be.
bool Save(CommSettings& values, const CRegistryAccess& registry);

// `config NAME=VALUE`: loads the stored set, lets `edit` change it and saves it as Save does,
// all in one locked change of the store, so that writers of single values at once keep every
// change. False when the store cannot be read or written; nothing is changed then.
bool Change(const std::function<void(CommSettings&)>& edit, const CRegistryAccess& registry);

// "HeadlineCleanup", a DWORD beside the communication settings: whether pages are read in their
// own charset and headlines cleaned. Missing or unreadable means on; 0 means off.
bool LoadHeadlineCleanup(const CRegistryAccess& registry);
bool SaveHeadlineCleanup(bool on, const CRegistryAccess& registry);

} // namespace commstore

} // namespace tickerlux::settings
