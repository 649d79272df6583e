#include "cli/CmdUpdate.h"

#include "cli/ConnectionOptions.h"
#include "cli/ExitCodes.h"
#include "cli/LogTimeStamp.h"
#include "cli/StoredConnection.h"
#include "cli/Usage.h"
#include "cli/Watch.h"
#include "cli/WatchSignCommands.h"
#include "cli/WatchUserInterface.h"
#include "engine/TickerluxEngine.h"
#include "mqtt/Bridge.h"
#include "mqtt/Options.h"
#include "settings/DocFileMessages.h"
#include "settings/TickerluxDoc.h"

#include <cstdio>
#include <cstdlib>
#include <optional>

namespace tickerlux::cli {

namespace {

namespace mqtt = tickerlux::mqtt;

constexpr const char* kUpdateSynopsis = "update FEED.tlx [--com N] [--connection KIND] [--wait SECONDS]";
constexpr const char* kWatchSynopsis =
    "watch FEED.tlx [--com N] [--connection KIND] [--wait SECONDS] [--mqtt URL [--mqtt-name NAME] "
    "[--mqtt-discovery-prefix P] [--no-mqtt-discovery]]";

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
    const base::Failure failure = doc.OnOpenDocument(path);
    if (failure.Failed())
        std::fprintf(stderr, "%s\n", settings::DocFileMessage(failure).c_str());  // already UTF-8
    return !failure.Failed();
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
    // Notices such as a page cut at the buffer's size are shown but are no failure.
    return RunOnSign(doc, "update", connection,
                     [](engine::CTickerluxEngine& engine) { return engine.OnUpdateSignNow(); });
}

// A line of the watch's log on `stream`, stamped; one call, so lines from two threads never mix.
void PrintStampedLine(std::FILE* stream, const std::string& text)
{
    std::fprintf(stream, "%s %s\n", LogTimeStamp().c_str(), text.c_str());
    std::fflush(stream);
}

int RunWatchCommand(const std::vector<std::string>& given)
{
    std::vector<std::string> args = given;
    mqtt::MqttOptions mqttOptions;
    if (const std::optional<std::string> problem = mqtt::TakeMqttOptions(args, mqttOptions))
        return UsageError(kWatchSynopsis, *problem);
    ConnectionOptions connection;
    const std::string* feed = FeedAndConnection(kWatchSynopsis, args, connection);
    if (!feed)
        return kExitUsage;
    std::optional<mqtt::BridgeSettings> bridgeSettings;
    if (mqttOptions.url) {
        bridgeSettings.emplace();
        if (const std::optional<std::string> problem = mqtt::ResolveBridgeSettings(
                mqttOptions, *feed, std::getenv("TICKERLUX_MQTT_PASSWORD"), *bridgeSettings))
            return UsageError(kWatchSynopsis, *problem);
    }
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
    connection.ApplyTo(engine);
    CWatchSignCommands sign(doc, engine, connection);
    std::optional<mqtt::CBridge> bridge;
    if (bridgeSettings) {
        const mqtt::BridgeLog log{[](const std::string& line) { PrintStampedLine(stdout, line); },
                                  [](const std::string& line) { PrintStampedLine(stderr, line); }};
        bridge.emplace(std::move(*bridgeSettings), sign, [&clock] { clock.Wake(); }, log);
        if (!bridge->Start())
            return kExitFailed;
    }
    const auto update = [&] {
        const bool updated = sign.UpdateNow().succeeded;
        if (bridge)
            bridge->SignChanged();
        return updated;
    };
    const auto between = [&] {
        if (bridge)
            bridge->RunWaiting([&clock] { return clock.StopRequested(); });
    };
    const int status = RunWatch(*feed, doc, clock, update, stdout, stderr, between);
    if (bridge)
        bridge->Stop();
    return status;
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
            "empty means 60), whether or not AutoUpdate is set, until SIGINT, SIGTERM or SIGHUP.\n"
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
            "--mqtt mqtt://[USER[:PASSWORD]@]HOST[:PORT] (or mqtts:// for TLS, verified against\n"
            "the system's certificates) also puts the sign on an MQTT broker as NAME (--mqtt-name;\n"
            "by default the feed file's name, lower-case): it takes commands on\n"
            "tickerlux/NAME/message/set (a text, or {\"text\":...,\"color\":...,\"condensed\":...}),\n"
            "tickerlux/NAME/update/set and tickerlux/NAME/clear/set (tickerlux/all/... reaches\n"
            "every sign), one at a time between the updates, and keeps tickerlux/NAME/state and\n"
            "tickerlux/NAME/availability current. The password may come from the environment\n"
            "variable TICKERLUX_MQTT_PASSWORD instead. Home Assistant finds the sign under the\n"
            "discovery prefix P (default homeassistant) unless --no-mqtt-discovery is given. A\n"
            "broker that is down or goes away is tried again, after 1 s and then up to every 60 s;\n"
            "the updates go on meanwhile.\n"
            "Exit status: 0 after a signal; 1 no connection is stored at the start; 2 usage\n"
            "error or a feed file that cannot be read at the start.\n",
            RunWatchCommand};
}

} // namespace tickerlux::cli
