#pragma once

class CTickerluxDoc;

namespace cli {

// Loads the stored communication settings into `doc`. When no connection kind is stored, tells
// the user on standard error how to store one (prefixed with "tickerlux-cli COMMAND: ") and
// returns false; an unreadable store is reported as such.
bool LoadStoredConnection(CTickerluxDoc& doc, const char* command);

// False, with the reason on standard error, when the per-user store exists but cannot be read
// (a folder, a loop of links, a pipe): that is not the same as no settings stored.
bool StoreIsReadable(const char* command);

} // namespace cli
