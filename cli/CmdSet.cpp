#include "cli/CmdSet.h"

#include "cli/ExitCodes.h"
#include "cli/FeedFields.h"
#include "cli/HeadlineSearch.h"
#include "cli/Usage.h"
#include "base/Win1252.h"
#include "engine/HeadlineChoice.h"
#include "headlines/WebAddress.h"
#include "settings/DocFileMessages.h"
#include "settings/TickerluxDoc.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <initializer_list>
#include <optional>

namespace tickerlux::cli {

namespace {

constexpr const char* kSynopsis = "set FEED.tlx NAME=VALUE...";
constexpr std::string_view kUrl = "URL=";

bool Names(const std::vector<FeedAssignment>& assignments,
           std::initializer_list<std::string_view> names)
{
    return std::ranges::any_of(assignments, [&](const FeedAssignment& assignment) {
        return std::ranges::find(names, assignment.field->name) != names.end();
    });
}

// An address alone: the page is searched and the best way to get its headlines taken; with none,
// only the address. Says on standard error what it chose, or why there was nothing to choose.
int TakeBestWay(const headlines::StoredAddress& address, settings::FeedFieldValues& values)
{
    settings::FeedFieldValues page;
    page.WebServer = address.webServer;
    page.WebPath = address.webPath;
    const engine::JobOutcome found = SearchHeadlines({}, page);
    const headlines::HeadlineCandidate* chosen = engine::ApplyBestFound(found, values);
    if (!chosen) {
        PrintNothingFound("set", found);
        std::fprintf(stderr, "tickerlux-cli set: the address is stored; the headline source and "
                             "markers are as they were\n");
        return kExitFailed;
    }
    std::fprintf(stderr, "tickerlux-cli set: chose %s, %s: %s\n",
                 base::win1252::ToUtf8(engine::DescribeCandidate(*chosen)).c_str(),
                 engine::HeadlineCount(chosen->headlineCount).c_str(),
                 SetArguments(*chosen).c_str());
    std::fprintf(stderr, "Run 'tickerlux-cli find %s' for the other ways.\n",
                 ShellWord(headlines::FullAddress(address)).c_str());
    return kExitOk;
}

int RunSet(const std::vector<std::string>& args)
{
    if (args.empty())
        return UsageError(kSynopsis, "no settings file given");
    const std::string& path = args[0];
    if (path.empty() || path[0] == '-')
        return UsageError(kSynopsis, "unknown option '" + path + "'");

    // Every argument is checked before the file is touched.
    std::vector<std::string> settings;
    std::optional<std::string> url;
    for (auto arg = args.begin() + 1; arg != args.end(); ++arg) {
        if (!arg->starts_with(kUrl))
            settings.push_back(*arg);
        else if (url)
            return UsageError(kSynopsis, "URL given twice");
        else
            url = arg->substr(kUrl.size());
    }
    std::string error;
    const auto assignments = ParseFeedAssignments(settings, error);
    if (!assignments)
        return UsageError(kSynopsis, error);
    headlines::ParsedAddress address;
    if (url) {
        if (Names(*assignments, {"WebServer", "WebPath"}))
            return UsageError(kSynopsis, "URL fills WebServer and WebPath; give one or the other");
        address = headlines::ParseWebAddress(*url);
        if (address.failure.Failed())
            return UsageError(kSynopsis, "URL: " + address.failure.Text());
    }

    settings::CTickerluxDoc doc;
    std::error_code ignored;
    if (std::filesystem::status(path, ignored).type() != std::filesystem::file_type::not_found) {
        if (const base::Failure opened = doc.OnOpenDocument(path); opened.Failed()) {
            std::fprintf(stderr, "%s\n", settings::DocFileMessage(opened).c_str());
            return kExitUsage;
        }
    }
    ApplyFeedAssignments(doc, *assignments);
    int status = kExitOk;
    if (url && Names(*assignments, {"TextBefore", "TextAfter", "HeadlineSource"})) {
        doc.WebServer = address.address.webServer;
        doc.WebPath = address.address.webPath;
    } else if (url) {
        status = TakeBestWay(address.address, doc);
    }
    doc.SetModifiedFlag();
    if (const base::Failure saved = doc.OnSaveDocument(path); saved.Failed()) {
        std::fprintf(stderr, "%s\n", settings::DocFileMessage(saved).c_str());
        return kExitFailed;
    }
    return status;
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
           "URL=ADDRESS (http:// or https://, host, optional port, path and query; taken as\n"
           "written, without escapes) fills WebServer and WebPath: https:// stays in WebServer,\n"
           "http:// is left out, a host in other letters than ASCII is stored in its IDNA form\n"
           "and other bytes of the path percent-encoded; a fragment is dropped, user info is\n"
           "refused. Given without TextBefore, TextAfter or HeadlineSource, it downloads the\n"
           "page and takes the best way that 'find' lists, saying on standard error what it\n"
           "chose; when none is found the address is stored, the rest left as it was, and the\n"
           "exit status is 1.\n"
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
