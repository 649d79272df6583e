#pragma once

#include <optional>
#include <string>

// COMn names map to device paths: an entry "COMn" in the per-user store's port map wins,
// otherwise /dev/ttyS(n-1).
namespace portmap {

std::string DevicePathForComPort(int port);

// The stored entry for COMn, if any.
std::optional<std::string> GetEntry(int port);

// Sets (a value) or removes (nullopt) the entry for COMn; false when the store cannot be written.
bool SetEntry(int port, const std::optional<std::string>& devicePath);

} // namespace portmap
