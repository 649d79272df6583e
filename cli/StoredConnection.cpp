#include "cli/StoredConnection.h"

#include "settings/CommSettingsStore.h"
#include "settings/RegistryAccess.h"
#include "settings/TickerluxDoc.h"
#include "settings/UserStore.h"

#include <cstdio>

namespace cli {

bool StoreIsReadable(const char* command)
{
    std::string problem;
    if (userstore::Load(problem))
        return true;
    std::fprintf(stderr, "tickerlux-cli %s: cannot read %s: %s\n", command,
                 userstore::StoreFilePath().c_str(), problem.c_str());
    return false;
}

bool LoadStoredConnection(CTickerluxDoc& doc, const char* command)
{
    if (!StoreIsReadable(command))
        return false;
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
