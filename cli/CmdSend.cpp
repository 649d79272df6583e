#include "cli/CmdSend.h"

#include "cli/ConnectionOptions.h"
#include "cli/ExitCodes.h"
#include "cli/SignLineOptions.h"
#include "cli/StoredConnection.h"
#include "cli/Usage.h"
#include "engine/TickerluxEngine.h"
#include "settings/TickerluxDoc.h"

#include <optional>

namespace tickerlux::cli {

namespace {

struct SendOptions {
    std::optional<std::string> text;
    SignLineOptions line;
    ConnectionOptions connection;
};

constexpr const char* kSynopsis =
    "send TEXT [--color N] [--condensed] [--raw] [--com N] [--connection KIND] [--wait SECONDS]";

// Fills `options`, or returns the problem with the arguments.
std::optional<std::string> ParseOptions(const std::vector<std::string>& args, SendOptions& options)
{
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::optional<std::string> problem;
        if (TakeSignLineOption(args, i, options.line, problem) ||
            TakeConnectionOption(args, i, options.connection, problem)) {
            if (problem)
                return problem;
            continue;
        }
        const std::string& arg = args[i];
        if (arg == "--") {
            if (options.text || i + 2 != args.size())
                return "give exactly one TEXT";
            options.text = args[++i];
        } else if (!arg.empty() && arg[0] == '-') {
            return "unknown option '" + arg + "'";
        } else if (options.text) {
            return "give exactly one TEXT (quote it if it has blanks)";
        } else {
            options.text = arg;
        }
    }
    if (!options.text)
        return "no TEXT given";
    return std::nullopt;
}

int RunSend(const std::vector<std::string>& args)
{
    SendOptions options;
    if (const std::optional<std::string> problem = ParseOptions(args, options))
        return UsageError(kSynopsis, *problem);

    settings::CTickerluxDoc doc;
    doc.ColorIndex = options.line.colorIndex;
    doc.Condensed = options.line.condensed;
    const std::string line = options.line.LineFrom(*options.text);
    return RunOnSign(doc, "send", options.connection,
                     [&line](engine::CTickerluxEngine& engine) { return engine.OnSendLine(line); });
}

} // namespace

Command SendCommand()
{
    return {"send", kSynopsis, "deliver TEXT as the sign line",
            "Delivers TEXT to the sign over the stored communication settings (see 'config'), as\n"
            "an update does without the download: memory configuration, write text, run\n"
            "sequence. TEXT is UTF-8, sent as Windows-1252 ('?' for characters it lacks);\n"
            "--raw sends its bytes unchanged. --color takes a colour's number or name (default\n"
            "9, red); --condensed uses the condensed rotate mode. Put -- before a TEXT that\n"
            "begins with '-'.\n"
            "--com N and --connection KIND choose the sign for this run only, over the stored\n"
            "settings; nothing is stored (KIND as 'config' spells it). A port that another\n"
            "program is using is waited for, at most --wait SECONDS (default 120).\n"
            "Exit 1 when no connection is stored or given, or the sign could not be reached.\n",
            RunSend};
}

} // namespace tickerlux::cli
