#include "cli/CmdUpdate.h"

#include "cli/CliUserInterface.h"
#include "cli/ConnectionOptions.h"
#include "cli/ExitCodes.h"
#include "cli/LogTimeStamp.h"
#include "cli/StoredConnection.h"
#include "cli/Usage.h"
#include "cli/Watch.h"
#include "cli/WatchUserInterface.h"
#include "engine/TickerluxEngine.h"
#include "settings/TickerluxDoc.h"

#include <cstdio>
#include <optional>

namespace tickerlux::cli {

namespace {

constexpr const char* kUpdateSynopsis = "update FEED.tlx [--com N] [--connection KIND]";
constexpr const char* kWatchSynopsis = "watch FEED.tlx [--com N] [--connection KIND]";

// The FEED.tlx argument, with the connection options taken out of `args` into `connection`; or
// nullptr after a usage message.
const std::string* FeedAndConnection(const char* synopsis, std::vector<std::string>& args,
                                     ConnectionOptions& connection)
{
    if (const std::optional<std::string> problem = TakeConnectionOptions(args, connection)) {
        UsageError(synopsis, *problem);
        return nullptr;
    }
    return FeedArgument(synopsis, args);
}

// Reads the feed file into `doc`, or says why it cannot on standard error.
bool OpenFeed(settings::CTickerluxDoc& doc, const std::string& path)
{
    const settings::DocFileResult result = doc.OnOpenDocument(path);
    if (!result.ok)
        std::fprintf(stderr, "%s\n", result.message.c_str());  // already UTF-8
    return result.ok;
}


int RunUpdate(const std::vector<std::string>& given)
{
    std::vector<std::string> args = given;
    ConnectionOptions connection;
    const std::string* feed = FeedAndConnection(kUpdateSynopsis, args, connection);
    if (!feed)
        return kExitUsage;
    settings::CTickerluxDoc doc;
    if (!OpenFeed(doc, *feed))
        return kExitUsage;
    const std::optional<settings::UserSettings> stored =
        LoadStoredConnection(doc, "update", connection);
    if (!stored)
        return kExitFailed;
    CCliUserInterface ui;
    engine::CTickerluxEngine engine(doc, ui);
    UseUserSettings(engine, *stored);
    // Notices such as a page cut at the buffer's size are shown but are no failure.
    return engine.OnUpdateSignNow().Succeeded() ? kExitOk : kExitFailed;
}

int RunWatchCommand(const std::vector<std::string>& given)
{
    std::vector<std::string> args = given;
    ConnectionOptions connection;
    const std::string* feed = FeedAndConnection(kWatchSynopsis, args, connection);
    if (!feed)
        return kExitUsage;
    settings::CTickerluxDoc doc;
    // As for update, a feed that cannot be read is a usage error before anything else; the watch
    // reads it again at its start.
    if (!OpenFeed(doc, *feed))
        return kExitUsage;
    if (!LoadStoredConnection(doc, "watch", connection))
        return kExitFailed;
    CSignalWatchClock clock;
    CWatchUserInterface ui(clock);
    engine::CTickerluxEngine engine(doc, ui);
    const auto update = [&] {
        // Read afresh each time, so that `tickerlux-cli config` takes effect at the next update.
        const settings::LoadedUserSettings stored = settings::LoadUserSettings();
        if (stored.failure.Failed()) {
            std::fprintf(stderr, "%s cannot read %s\n", LogTimeStamp().c_str(),
                         stored.failure.Text().c_str());
            return false;
        }
        if (!ApplyConnection(stored.settings, doc, connection)) {
            std::fprintf(stderr, "%s no connection to the sign is stored any more; see "
                                 "'tickerlux-cli config'\n", LogTimeStamp().c_str());
            return false;
        }
        UseUserSettings(engine, stored.settings);
        return engine.OnUpdateSignNow().Succeeded();
    };
    return RunWatch(*feed, doc, clock, update, stdout, stderr);
}

} // namespace

Command UpdateCommand()
{
    return {"update", kUpdateSynopsis,
            "download the page and send its sign line (Update Sign Now)",
            "Downloads the feed's page, builds the sign line and delivers it to the sign over\n"
            "the stored communication settings (see 'config'): memory configuration, write\n"
            "text, run sequence. A failed download still sends the (empty) line, so the sign\n"
            "goes blank. --com N and --connection KIND choose the sign for this run only, over\n"
            "the stored settings; nothing is stored (KIND as 'config' spells it).\n"
            "Exit status: 0 done; 1 the download or a delivery failed, or no connection is\n"
            "stored (the reason is on standard error); 2 usage error or a feed file that cannot\n"
            "be read.\n",
            RunUpdate};
}

Command WatchCommand()
{
    return {"watch", kWatchSynopsis,
            "update at once and then every UpdateMinutes minutes, until stopped",
            "Runs 'update' at once and then every UpdateMinutes minutes of the feed (1 to 5000;\n"
            "empty means 60), whether or not AutoUpdate is set, until SIGINT or SIGTERM.\n"
            "Updates keep their period however long one takes; slots missed during a long\n"
            "update are skipped. The feed file and the communication settings are read again\n"
            "before each update, so an edit takes effect at the next one; a feed file that has\n"
            "become unreadable is reported and the last good settings are used. Every line\n"
            "printed starts with the local time; failures do not stop the watch. A signal\n"
            "abandons a download in progress at once, lets a delivery in progress finish, and\n"
            "ends the watch (a second signal ends it at once). When standard output cannot be\n"
            "written any more (a closed pipe), that is said once on standard error and the\n"
            "watch goes on. --com N and --connection KIND apply to every update of this watch,\n"
            "over the stored settings.\n"
            "Exit status: 0 after a signal; 1 no connection is stored at the start; 2 usage\n"
            "error or a feed file that cannot be read at the start.\n",
            RunWatchCommand};
}

} // namespace tickerlux::cli
