#include "cli/StoredConnection.h"

#include "cli/CliUserInterface.h"
#include "cli/ExitCodes.h"
#include "engine/TickerluxEngine.h"
#include "settings/TickerluxDoc.h"

#include <cstdio>

namespace tickerlux::cli {

std::string StoreFailureText(const base::Failure& failure)
{
    // Paths are UTF-8 and printed as they are.
    switch (failure.kind) {
    case base::FailureKind::StoreUnreadable:
    case base::FailureKind::StoreValueInvalid:
        return "cannot read " + failure.Text();
    case base::FailureKind::StoreNotSaved:
        return "cannot write " + failure.Text();
    case base::FailureKind::LockFailed:
        return "cannot lock " + failure.Text();
    case base::FailureKind::LockUnusable:
        return "cannot write " + settings::UserStorePath() + ": its lock " + failure.where +
               " is not a regular file";
    default:
        return failure.Text();
    }
}

void ReportStoreFailure(const char* command, const base::Failure& failure)
{
    std::fprintf(stderr, "tickerlux-cli %s: %s\n", command, StoreFailureText(failure).c_str());
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

int RunOnSign(settings::CTickerluxDoc& doc, const char* command, const ConnectionOptions& options,
              const std::function<engine::CommandOutcome(engine::CTickerluxEngine&)>& run)
{
    const std::optional<settings::UserSettings> stored = LoadStoredConnection(doc, command, options);
    if (!stored)
        return kExitFailed;
    CCliUserInterface ui;
    engine::CTickerluxEngine engine(doc, ui);
    UseUserSettings(engine, *stored);
    options.ApplyTo(engine);
    return run(engine).Succeeded() ? kExitOk : kExitFailed;
}

} // namespace tickerlux::cli
