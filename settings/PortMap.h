#pragma once

#include <optional>
#include <string>

// COMn names map to device paths: an entry "COMn" in the per-user store's port map wins,
// otherwise /dev/ttyS(n-1).
//
// The virtual sign's entries are tied to a lock it holds while it runs: such an entry is in
// force only while the lock is held, and the entry it replaced (kept beside it) is in force
// again as soon as the virtual sign ends, even when it was killed before it could put that back.
namespace tickerlux::settings::portmap {

std::string DevicePathForComPort(int port);

// The entry in force for COMn, if any. Its path is not cut: one too long for the system fails
// when it is opened, rather than COMn silently naming another device.
std::optional<std::string> GetEntry(int port);

// Sets (a value) or removes (nullopt) a plain entry for COMn, which replaces a virtual sign's;
// false when the store cannot be written.
bool SetEntry(int port, const std::optional<std::string>& devicePath);

// The file whose lock a virtual sign holds while it serves COMn (in the store's folder, which
// this creates if missing); nothing when the folder cannot be made.
std::optional<std::string> VirtualSignLockPath(int port);

// Points COMn at a virtual sign's device for as long as the lock on VirtualSignLockPath(port) is
// held, which the caller must hold. `earlier` receives the entry in force before. False when the
// store cannot be written.
bool SetVirtualSignEntry(int port, const std::string& devicePath,
                         std::optional<std::string>& earlier);

} // namespace tickerlux::settings::portmap
