#pragma once

class CTickerluxDoc;

namespace cli {

// Loads the stored communication settings into `doc`. When no connection kind is stored, tells
// the user on standard error how to store one (prefixed with "tickerlux-cli COMMAND: ") and
// returns false.
bool LoadStoredConnection(CTickerluxDoc& doc, const char* command);

} // namespace cli
