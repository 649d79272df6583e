#include "cli/CmdClear.h"

#include "cli/CliUserInterface.h"
#include "cli/ExitCodes.h"
#include "cli/StoredConnection.h"
#include "cli/Usage.h"
#include "engine/TickerluxEngine.h"
#include "settings/TickerluxDoc.h"


namespace cli {
namespace {

constexpr const char* kSynopsis = "clear";

int RunClear(const std::vector<std::string>& args)
{
    if (!args.empty())
        return UsageError(kSynopsis, "unexpected argument '" + args[0] + "'");
    CTickerluxDoc doc;
    if (!LoadStoredConnection(doc, "clear"))
        return kExitFailed;
    CCliUserInterface ui;
    CTickerluxEngine engine(doc, ui);
    return engine.OnClearSign().Succeeded() ? kExitOk : kExitFailed;
}

} // namespace

Command ClearCommand()
{
    return {"clear", kSynopsis, "clear the sign",
            "Delivers the Clear Sign command over the stored communication settings (see\n"
            "'config'). Exit 1 when no connection is stored or the sign could not be reached.\n",
            RunClear};
}

} // namespace cli
