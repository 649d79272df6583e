#include "cli/CmdClear.h"

#include "cli/ConnectionOptions.h"
#include "cli/ExitCodes.h"
#include "cli/StoredConnection.h"
#include "cli/Usage.h"
#include "engine/TickerluxEngine.h"
#include "settings/TickerluxDoc.h"

#include <optional>

namespace tickerlux::cli {

namespace {

constexpr const char* kSynopsis = "clear [--com N] [--connection KIND] [--wait SECONDS]";

int RunClear(const std::vector<std::string>& given)
{
    std::vector<std::string> args = given;
    ConnectionOptions connection;
    if (const std::optional<std::string> problem = TakeConnectionOptions(args, connection))
        return UsageError(kSynopsis, *problem);
    if (!args.empty())
        return UsageError(kSynopsis, "unexpected argument '" + args[0] + "'");
    settings::CTickerluxDoc doc;
    return RunOnSign(doc, "clear", connection,
                     [](engine::CTickerluxEngine& engine) { return engine.OnClearSign(); });
}

} // namespace

Command ClearCommand()
{
    return {"clear", kSynopsis, "clear the sign",
            "Delivers the Clear Sign command over the stored communication settings (see\n"
            "'config'). --com N and --connection KIND choose the sign for this run only; nothing\n"
            "is stored. Exit 1 when no connection is stored or given, or the sign could not be\n"
            "reached.\n",
            RunClear};
}

} // namespace tickerlux::cli
