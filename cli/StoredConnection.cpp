#include "cli/StoredConnection.h"

#include "engine/TickerluxEngine.h"
#include "settings/TickerluxDoc.h"

#include <cstdio>

namespace tickerlux::cli {

void ReportStoreFailure(const char* command, const base::Failure& failure)
{
    const char* what = "cannot use";
    switch (failure.kind) {
    case base::FailureKind::StoreUnreadable:
    case base::FailureKind::StoreValueInvalid:
        what = "cannot read";
        break;
    case base::FailureKind::StoreNotSaved:
        what = "cannot write";
        break;
    case base::FailureKind::LockFailed:
        what = "cannot lock";
        break;
    default:
        break;
    }
    // Paths are UTF-8 and printed as they are.
    std::fprintf(stderr, "tickerlux-cli %s: %s %s\n", command, what, failure.Text().c_str());
}

std::optional<settings::UserSettings> LoadUserSettings(const char* command)
{
    settings::LoadedUserSettings loaded = settings::LoadUserSettings();
    if (loaded.failure.Failed()) {
        ReportStoreFailure(command, loaded.failure);
        return std::nullopt;
    }
    return std::move(loaded.settings);
}

bool ApplyConnection(const settings::UserSettings& stored, settings::CTickerluxDoc& doc,
                     const ConnectionOptions& options)
{
    doc.Comm = stored.Comm;
    options.ApplyTo(doc.Comm);
    return stored.Comm.HasConnection() || options.connection.has_value();
}

std::optional<settings::UserSettings> LoadStoredConnection(settings::CTickerluxDoc& doc,
                                                           const char* command,
                                                           const ConnectionOptions& options)
{
    std::optional<settings::UserSettings> stored = LoadUserSettings(command);
    if (!stored || ApplyConnection(*stored, doc, options))
        return stored;
    std::fprintf(stderr,
                 "tickerlux-cli %s: no connection to the sign is stored (%s); store one first, "
                 "e.g.\n"
                 "  tickerlux-cli config Connection=\"serial port - betabrite classic\" "
                 "ComPort=1\n"
                 "or give one for this run: --connection KIND --com N\n",
                 command, settings::UserStorePath().c_str());
    return std::nullopt;
}

void UseUserSettings(engine::CTickerluxEngine& engine, const settings::UserSettings& stored)
{
    engine.SetHeadlineCleanup(stored.HeadlineCleanup);
    engine.SetPortMap(stored.Ports);
}

} // namespace tickerlux::cli
