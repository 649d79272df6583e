#include "cli/StoredConnection.h"

#include "settings/CommSettingsStore.h"
#include "settings/RegistryAccess.h"
#include "settings/TickerluxDoc.h"
#include "settings/UserStore.h"

#include <cstdio>

namespace cli {

bool LoadStoredConnection(CTickerluxDoc& doc, const char* command)
{
    if (commstore::Load(doc.Comm, CRegistryAccess()))
        return true;
    std::fprintf(stderr,
                 "tickerlux-cli %s: no connection to the sign is stored (%s); store one first, "
                 "e.g.\n"
                 "  tickerlux-cli config Connection=\"serial port - betabrite classic\" "
                 "ComPort=1\n",
                 command, userstore::StoreFilePath().c_str());
    return false;
}

} // namespace cli
