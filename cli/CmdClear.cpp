#include "cli/CmdClear.h"

#include "cli/CliUserInterface.h"
#include "cli/ExitCodes.h"
#include "cli/StoredConnection.h"
#include "headlines/TickerluxEngine.h"
#include "settings/TickerluxDoc.h"

#include <cstdio>

namespace cli {
namespace {

int RunClear(const std::vector<std::string>& args)
{
    if (!args.empty()) {
        std::fprintf(stderr,
                     "tickerlux-cli clear: unexpected argument '%s'\n"
                     "Usage: tickerlux-cli clear\n",
                     args[0].c_str());
        return kExitUsage;
    }
    CTickerluxDoc doc;
    if (!LoadStoredConnection(doc, "clear"))
        return kExitFailed;
    CCliUserInterface ui;
    CTickerluxEngine engine(doc, ui);
    engine.OnClearSign();
    return ui.FailureCount() == 0 ? kExitOk : kExitFailed;
}

} // namespace

Command ClearCommand()
{
    return {"clear", "clear", "clear the sign",
            "Delivers the Clear Sign command over the stored communication settings (see\n"
            "'config'). Exit 1 when no connection is stored or the sign could not be reached.\n",
            RunClear};
}

} // namespace cli
