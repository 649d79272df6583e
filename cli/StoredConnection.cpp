#include "cli/StoredConnection.h"

#include "settings/CommSettingsStore.h"
#include "settings/RegistryAccess.h"
#include "settings/TickerluxDoc.h"
#include "settings/UserStore.h"

#include <cstdio>

namespace tickerlux::cli {

bool LoadConnection(settings::CTickerluxDoc& doc, const ConnectionOptions& options)
{
    const bool stored = settings::commstore::Load(doc.Comm, settings::CRegistryAccess());
    options.ApplyTo(doc.Comm);
    return stored || options.connection.has_value();
}

bool StoreIsReadable(const char* command)
{
    std::string problem;
    if (settings::userstore::Load(problem))
        return true;
    std::fprintf(stderr, "tickerlux-cli %s: cannot read %s: %s\n", command,
                 settings::userstore::StoreFilePath().c_str(), problem.c_str());
    return false;
}

bool LoadStoredConnection(settings::CTickerluxDoc& doc, const char* command,
                          const ConnectionOptions& options)
{
    if (!StoreIsReadable(command))
        return false;
    if (LoadConnection(doc, options))
        return true;
    std::fprintf(stderr,
                 "tickerlux-cli %s: no connection to the sign is stored (%s); store one first, "
                 "e.g.\n"
                 "  tickerlux-cli config Connection=\"serial port - betabrite classic\" "
                 "ComPort=1\n"
                 "or give one for this run: --connection KIND --com N\n",
                 command, settings::userstore::StoreFilePath().c_str());
    return false;
}

} // namespace tickerlux::cli
