#include "cli/CmdLine.h"

#include "cli/CliUserInterface.h"
#include "cli/Escapes.h"
#include "cli/ExitCodes.h"
#include "cli/Output.h"
#include "cli/Usage.h"
#include "cli/StoredConnection.h"
#include "engine/TickerluxEngine.h"
#include "settings/DocFileMessages.h"
#include "settings/TickerluxDoc.h"

#include <cstdio>

namespace tickerlux::cli {

namespace {

constexpr const char* kSynopsis = "line FEED.tlx";

int RunLine(const std::vector<std::string>& args)
{
    const std::string* feed = FeedArgument(kSynopsis, args);
    if (!feed)
        return kExitUsage;
    settings::CTickerluxDoc doc;
    if (const base::Failure opened = doc.OnOpenDocument(*feed); opened.Failed()) {
        std::fprintf(stderr, "%s\n", settings::DocFileMessage(opened).c_str());  // already UTF-8
        return kExitUsage;
    }
    // Only the headline cleanup switch is wanted here: an unreadable store is told, and the
    // switch is on as its default is.
    const settings::LoadedUserSettings stored = settings::LoadUserSettings();
    if (stored.failure.Failed())
        ReportStoreFailure("line", stored.failure);
    CCliUserInterface ui;
    engine::CTickerluxEngine engine(doc, ui);
    UseUserSettings(engine, stored.settings);
    if (engine.BuildSignLine().Failed())
        return kExitFailed;  // the message and its cause are already on standard error

    // Escaped, so that a page cannot drive the terminal with control bytes (ESC, BEL).
    std::printf("%s\n", Escape(engine.SignLine()).c_str());
    return FinishOutput("line") ? kExitOk : kExitFailed;
}

} // namespace

Command LineCommand()
{
    return {"line", kSynopsis, "download the page and print the sign line (nothing is sent)",
            "Downloads WebPath from WebServer (\"host\" or \"host:port\"; port 80 by default) as\n"
            "the feed file FEED.tlx names them (WebPath as typed, except that a space, a line\n"
            "break, '#' and other bytes that cannot stand in an address are percent-encoded:\n"
            "'#' goes as %23, so the rest of the path is not dropped as a fragment), and prints\n"
            "the sign line that an update would send, in UTF-8: the leading comment, the time\n"
            "stamp when ShowTime is 1, and\n"
            "\" -- \" before each headline found between TextBefore and TextAfter.\n"
            "With HeadlineCleanup=1 (see 'config'), the page is read in its own charset and\n"
            "each headline cleaned of tags, CDATA, entities and runs of white space.\n"
            "Control bytes and backslashes are written as escapes (\\\\ \\n \\r \\t \\xHH), as\n"
            "show writes values, so that a page cannot drive the terminal.\n"
            "A page longer than 199,999 bytes is cut there, with a notice on standard error.\n"
            "The proxy comes from http_proxy and no_proxy.\n"
            "Exit status: 0 done; 1 the page could not be downloaded (reason on standard\n"
            "error); 2 usage error or a feed file that cannot be read.\n",
            RunLine};
}

} // namespace tickerlux::cli
