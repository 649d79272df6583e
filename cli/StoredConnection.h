#pragma once

#include "cli/ConnectionOptions.h"

namespace tickerlux::settings {
class CTickerluxDoc;
} // namespace tickerlux::settings

namespace tickerlux::cli {

// Loads the stored communication settings into `doc` and applies `options` over them. Returns
// whether a connection kind is known, stored or given.
bool LoadConnection(settings::CTickerluxDoc& doc, const ConnectionOptions& options);

// LoadConnection, and when no connection kind is known, tells the user on standard error how to
// give or store one (prefixed with "tickerlux-cli COMMAND: ") and returns false; an unreadable
// store is reported as such.
bool LoadStoredConnection(settings::CTickerluxDoc& doc, const char* command,
                          const ConnectionOptions& options);

// False, with the reason on standard error, when the per-user store exists but cannot be read
// (a folder, a loop of links, a pipe): that is not the same as no settings stored.
bool StoreIsReadable(const char* command);

} // namespace tickerlux::cli
