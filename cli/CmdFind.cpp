#include "cli/CmdFind.h"

#include "cli/Escapes.h"
#include "cli/ExitCodes.h"
#include "cli/HeadlineSearch.h"
#include "cli/Output.h"
#include "cli/Usage.h"
#include "engine/HeadlineChoice.h"
#include "settings/DocFileMessages.h"
#include "settings/TickerluxDoc.h"

#include <cstdio>

namespace tickerlux::cli {

namespace {

constexpr const char* kSynopsis = "find ADDRESS|FEED.tlx";

void PrintCandidate(int number, const headlines::HeadlineCandidate& candidate,
                    const std::string& feedFile)
{
    std::string what = engine::DescribeCandidate(candidate);
    if (candidate.kind == headlines::CandidateKind::AnnouncedFeed)
        what += ", " + headlines::FullAddress(candidate.address);
    std::printf("%d. %s: %s\n", number, Escape(what).c_str(),
                engine::HeadlineCount(candidate.headlineCount).c_str());
    for (const std::string& headline : candidate.firstHeadlines)
        std::printf("     %s\n", Escape(headline).c_str());
    std::printf("   tickerlux-cli set %s %s\n", ShellWord(feedFile).c_str(),
                SetArguments(candidate).c_str());
}

int RunFind(const std::vector<std::string>& args)
{
    if (args.size() != 1 || args[0].empty() || args[0][0] == '-')
        return UsageError(kSynopsis, "give one ADDRESS or FEED.tlx");
    const std::string& given = args[0];
    std::string address;
    std::string feedFile = "FEED.tlx";
    settings::FeedFieldValues feed;
    if (given.find("://") != std::string::npos) {
        address = given;
    } else {
        settings::CTickerluxDoc doc;
        if (const base::Failure opened = doc.OnOpenDocument(given); opened.Failed()) {
            std::fprintf(stderr, "%s\n", settings::DocFileMessage(opened).c_str());
            return kExitUsage;
        }
        feed.WebServer = doc.WebServer;
        feed.WebPath = doc.WebPath;
        feedFile = given;
    }

    const engine::JobOutcome found = SearchHeadlines(address, feed);
    const base::Failure* failed = found.steps.FailureOf(engine::Step::Fetch);
    if (failed && failed->kind == base::FailureKind::BadAddress && found.searched.webServer.empty())
        return UsageError(kSynopsis, failed->Text());
    if (!engine::BestCandidate(found.candidates)) {
        PrintNothingFound("find", found);
        return kExitFailed;
    }
    int number = 0;
    bool leftOutShown = false;
    for (const headlines::HeadlineCandidate& candidate : found.candidates) {
        if (candidate.leftOutBecause.empty()) {
            PrintCandidate(++number, candidate, feedFile);
            continue;
        }
        if (!leftOutShown)
            std::printf("Left out:\n");
        leftOutShown = true;
        std::printf("   %s: %s\n", headlines::FullAddress(candidate.address).c_str(),
                    Escape(candidate.leftOutBecause).c_str());
    }
    return FinishOutput("find") ? kExitOk : kExitFailed;
}

} // namespace

Command FindCommand()
{
    return {"find", kSynopsis, "list the ways to get headlines from a page, best first",
            "Downloads the page at ADDRESS (http:// or https://, host, optional port, path and\n"
            "query), or the page that FEED.tlx names in WebServer and WebPath, and lists the\n"
            "ways to get headlines from it, best first: the page itself read as a feed, each\n"
            "feed that the page announces in its head, then pairs of markers around repeated\n"
            "headline-like texts of its markup. For each it prints how many headlines it gives,\n"
            "the first few, and the 'set' arguments that choose it. Announced feeds that cannot\n"
            "be downloaded or have no items are listed last, with the reason.\n"
            "A page read as a feed may be up to 4 MiB; markers are looked for in its first\n"
            "199,999 bytes, the part an update reads.\n"
            "Exit status: 0 found; 1 the page could not be downloaded or nothing was found (the\n"
            "reason is on standard error); 2 usage error, an address that cannot be read or a\n"
            "feed file that cannot be read.\n",
            RunFind};
}

} // namespace tickerlux::cli
