#include "cli/CmdSet.h"

#include "cli/ExitCodes.h"
#include "cli/FeedFields.h"
#include "cli/Usage.h"
#include "settings/TickerluxDoc.h"

#include <cstdio>
#include <filesystem>

namespace tickerlux::cli {

namespace {

constexpr const char* kSynopsis = "set FEED.tlx NAME=VALUE...";

int RunSet(const std::vector<std::string>& args)
{
    if (args.empty())
        return UsageError(kSynopsis, "no settings file given");
    const std::string& path = args[0];
    if (path.empty() || path[0] == '-')
        return UsageError(kSynopsis, "unknown option '" + path + "'");

    // Every argument is checked before the file is touched.
    std::string error;
    const std::vector<std::string> settings(args.begin() + 1, args.end());
    const auto assignments = ParseAssignments<settings::CTickerluxDoc>(settings, FeedFields(), error);
    if (!assignments)
        return UsageError(kSynopsis, error);

    settings::CTickerluxDoc doc;
    std::error_code ignored;
    if (std::filesystem::status(path, ignored).type() != std::filesystem::file_type::not_found) {
        if (const settings::DocFileResult opened = doc.OnOpenDocument(path); !opened.ok) {
            std::fprintf(stderr, "%s\n", opened.message.c_str());
            return kExitUsage;
        }
    }
    ApplyAssignments(doc, *assignments);
    doc.SetModifiedFlag();
    if (const settings::DocFileResult saved = doc.OnSaveDocument(path); !saved.ok) {
        std::fprintf(stderr, "%s\n", saved.message.c_str());
        return kExitFailed;
    }
    return kExitOk;
}

} // namespace

Command SetCommand()
{
    return {"set", kSynopsis, "create or change a settings file",
            "Reads FEED.tlx (a missing file starts from a new document's defaults), gives each\n"
            "named field its value and writes the file back. With no NAME=VALUE it just writes\n"
            "the file. Names: WebServer WebPath ReservedText AutoUpdate UpdateMinutes TextBefore\n"
            "TextAfter LeadingComment ColorIndex Condensed ReservedFlag ShowTime.\n"
            "AutoUpdate, ColorIndex, Condensed, ReservedFlag and ShowTime take whole numbers.\n"
            "Values are UTF-8, stored as Windows-1252 ('?' for characters it lacks); \\\\ \\n \\r\n"
            "\\t and \\xHH give a backslash, LF, CR, tab and the byte HH.\n"
            "An unknown name, a bad value or an unreadable file changes nothing (exit 2).\n",
            RunSet};
}

} // namespace tickerlux::cli
