#include "engine/FindHeadlines.h"

#include "engine/TickerluxEngine.h"
#include "engine/UserInterface.h"
#include "headlines/FeedItems.h"
#include "headlines/Fetch.h"

namespace tickerlux::engine {

void FindHeadlines(const JobRequest& request, IUserInterface& ui, JobOutcome& outcome)
{
    headlines::StoredAddress address{request.feed.WebServer, request.feed.WebPath};
    if (!request.address.empty()) {
        const headlines::ParsedAddress parsed = headlines::ParseWebAddress(request.address);
        if (parsed.failure.Failed()) {
            outcome.steps.Add(Step::Fetch, parsed.failure);
            return;
        }
        address = parsed.address;
    }
    outcome.searched = address;

    const headlines::FetchLimits limits =
        DownloadLimits(ui, headlines::kMaxFeedLength, request.fetchLimits, request.caFile);
    headlines::FetchedPage fetched = headlines::Fetch(address.webServer, address.webPath, limits);
    if (fetched.failure.Failed()) {
        outcome.steps.Add(Step::Fetch, fetched.failure);
        return;
    }
    // An error page's texts are no headlines of the page that was asked for.
    if (fetched.statusCode >= 400) {
        outcome.steps.Add(Step::Fetch, {base::FailureKind::HttpError, headlines::FullAddress(address),
                                        "HTTP status " + std::to_string(fetched.statusCode)});
        return;
    }
    const headlines::PageToSearch page{address, std::move(fetched.page), fetched.contentType,
                                       CTickerluxEngine::kMaxPageLength};
    outcome.candidates = headlines::FindHeadlineCandidates(
        page, [&limits](const headlines::StoredAddress& feed) {
            return headlines::Fetch(feed.webServer, feed.webPath, limits);
        });
    // The first headlines are shown as the sign will show them.
    for (headlines::HeadlineCandidate& candidate : outcome.candidates) {
        for (std::string& headline : candidate.firstHeadlines)
            headline = CTickerluxEngine::ShownOnSign(headline);
    }
    // A stop during an announced feed's download leaves that feed out; the search as a whole is
    // then abandoned rather than shown without it.
    if (ui.StopRequested()) {
        outcome.candidates.clear();
        outcome.steps.Add(Step::Fetch, {base::FailureKind::Abandoned, "find headlines", ""});
    }
}

} // namespace tickerlux::engine
