#include "cli/CmdSet.h"

#include "cli/ExitCodes.h"
#include "cli/FeedFields.h"
#include "cli/Usage.h"
#include "settings/DocFileMessages.h"
#include "settings/TickerluxDoc.h"

#include <algorithm>
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
    const auto assignments = ParseFeedAssignments(settings, error);
    if (!assignments)
        return UsageError(kSynopsis, error);

    settings::CTickerluxDoc doc;
    std::error_code ignored;
    if (std::filesystem::status(path, ignored).type() != std::filesystem::file_type::not_found) {
        if (const base::Failure opened = doc.OnOpenDocument(path); opened.Failed()) {
            std::fprintf(stderr, "%s\n", settings::DocFileMessage(opened).c_str());
            return kExitUsage;
        }
    }
    ApplyFeedAssignments(doc, *assignments);
    doc.SetModifiedFlag();
    if (const base::Failure saved = doc.OnSaveDocument(path); saved.Failed()) {
        std::fprintf(stderr, "%s\n", settings::DocFileMessage(saved).c_str());
        return kExitFailed;
    }
    return kExitOk;
}

// The fields and what each takes, from the field table.
std::string Help()
{
    std::string help =
        "Reads FEED.tlx (a missing file starts from a new document's defaults), gives each\n"
        "named field its value and writes the file back. With no NAME=VALUE it just writes\n"
        "the file. The fields, in file order, and what they take:\n";
    for (const settings::FeedField& field : settings::FeedFields())
        help += "  " + std::string(field.name) + std::string(std::max<std::size_t>(16, field.name.size() + 1) - field.name.size(), ' ') +
                field.Expected() + "\n";
    return help +
           "HeadlineSource says where headlines come from: 0 between TextBefore and TextAfter,\n"
           "1 the items of a news feed.\n"
           "Values are UTF-8, stored as Windows-1252 ('?' for characters it lacks); \\\\ \\n \\r\n"
           "\\t and \\xHH give a backslash, LF, CR, tab and the byte HH.\n"
           "An unknown name, a bad value or an unreadable file changes nothing (exit 2).\n";
}

} // namespace

Command SetCommand()
{
    static const std::string help = Help();
    return {"set", kSynopsis, "create or change a settings file", help.c_str(), RunSet};
}

} // namespace tickerlux::cli
