#include "cli/CmdShow.h"

#include "cli/ExitCodes.h"
#include "cli/Output.h"
#include "cli/FeedFields.h"
#include "settings/TickerluxDoc.h"

#include <cstdio>

namespace cli {
namespace {

int RunShow(const std::vector<std::string>& args)
{
    if (args.size() != 1 || args[0].empty() || args[0][0] == '-') {
        std::fprintf(stderr, "Usage: tickerlux-cli show FEED.tlx\n");
        return kExitUsage;
    }
    CTickerluxDoc doc;
    if (const DocFileResult opened = doc.OnOpenDocument(args[0]); !opened.ok) {
        std::fprintf(stderr, "%s\n", opened.message.c_str());
        return kExitUsage;
    }
    for (const CDocField& field : FeedFields())
        std::printf("%s\n", FormatField(field, doc).c_str());
    return FinishOutput("show") ? kExitOk : kExitFailed;
}

} // namespace

Command ShowCommand()
{
    return {"show", "show FEED.tlx", "print the twelve fields of a settings file",
            "Prints the fields of FEED.tlx in file order, one NAME=VALUE a line, in UTF-8.\n"
            "A backslash, control bytes and bytes without a printable character are written as\n"
            "\\\\, \\n, \\r, \\t or \\xHH, so each line can be given back to 'set' unchanged.\n",
            RunShow};
}

} // namespace cli
