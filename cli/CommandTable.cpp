#include "cli/Commands.h"

#include "cli/CmdClear.h"
#include "cli/CmdConfig.h"
#include "cli/CmdEncode.h"
#include "cli/CmdFind.h"
#include "cli/CmdLine.h"
#include "cli/CmdSend.h"
#include "cli/CmdSet.h"
#include "cli/CmdShow.h"
#include "cli/CmdUpdate.h"

namespace tickerlux::cli {

const std::vector<Command>& AllCommands()
{
    static const std::vector<Command> commands = {
        SetCommand(),
        ShowCommand(),
        LineCommand(),
        FindCommand(),
        EncodeCommand(),
        ConfigCommand(),
        SendCommand(),
        ClearCommand(),
        UpdateCommand(),
        WatchCommand(),
    };
    return commands;
}

} // namespace tickerlux::cli
