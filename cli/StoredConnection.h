#pragma once

#include "cli/ConnectionOptions.h"

class CTickerluxDoc;

namespace cli {

// Loads the stored communication settings into `doc` and applies `options` over them. Returns
// whether a connection kind is known, stored or given.
bool LoadConnection(CTickerluxDoc& doc, const ConnectionOptions& options);

// LoadConnection, and when no connection kind is known, tells the user on standard error how to
// give or store one (prefixed with "tickerlux-cli COMMAND: ") and returns false.
bool LoadStoredConnection(CTickerluxDoc& doc, const char* command,
                          const ConnectionOptions& options);

} // namespace cli
