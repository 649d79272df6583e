#include "headlines/HeadlineCandidates.h"

#include "headlines/AnnouncedFeeds.h"
#include "headlines/FeedItems.h"
#include "headlines/HeadlineCleanup.h"
#include "headlines/MarkerFinder.h"
#include "headlines/PageCharset.h"
#include "headlines/PageText.h"
#include "base/Win1252.h"

#include <algorithm>
#include <limits>

namespace tickerlux::headlines {
namespace {

// UTF-8 text in the code page, as the sign line's texts are.
std::string FromUtf8(const std::string& text)
{
    return ToCodePage(text, "UTF-8");
}

void Show(HeadlineCandidate& candidate, const std::vector<std::string>& headlines)
{
    candidate.headlineCount = headlines.size();
    candidate.firstHeadlines.assign(
        headlines.begin(), headlines.begin() + static_cast<std::ptrdiff_t>(
                                                   std::min(headlines.size(), kFirstHeadlines)));
}

// A feed's candidate, or the reason it cannot serve.
void ReadFeed(HeadlineCandidate& candidate, const std::string& bytes)
{
    const FeedItems feed = ReadFeedItems(bytes);
    if (feed.format == FeedFormat::None) {
        candidate.leftOutBecause = "not a feed";
        return;
    }
    if (feed.titles.empty()) {
        candidate.leftOutBecause = "the feed has no items with titles";
        return;
    }
    std::vector<std::string> headlines;
    for (const std::string& title : feed.titles)
        headlines.push_back(CleanHeadline(FromUtf8(title)));
    Show(candidate, headlines);
}

HeadlineCandidate Announced(const AnnouncedFeed& announced, const FeedFetcher& fetch)
{
    HeadlineCandidate candidate;
    candidate.kind = CandidateKind::AnnouncedFeed;
    candidate.headlineSource = settings::kHeadlinesFromFeedItems;
    candidate.title = FromUtf8(announced.title);
    const ParsedAddress parsed = ParseWebAddress(announced.address);
    if (parsed.failure.Failed()) {
        candidate.leftOutBecause = parsed.failure.Text();
        return candidate;
    }
    candidate.address = parsed.address;
    const FetchedPage fetched = fetch(parsed.address);
    if (fetched.failure.Failed()) {
        candidate.leftOutBecause =
            std::string(Describe(fetched.failure.kind)) + ": " + fetched.failure.Text();
        return candidate;
    }
    if (fetched.statusCode >= 400) {
        candidate.leftOutBecause = "the server answered " + std::to_string(fetched.statusCode);
        return candidate;
    }
    ReadFeed(candidate, fetched.page);
    return candidate;
}

} // namespace

std::vector<HeadlineCandidate> FindHeadlineCandidates(const PageToSearch& page,
                                                      const FeedFetcher& fetch)
{
    std::vector<HeadlineCandidate> candidates;
    HeadlineCandidate itself;
    itself.kind = CandidateKind::PageAsFeed;
    itself.address = page.address;
    itself.headlineSource = settings::kHeadlinesFromFeedItems;
    ReadFeed(itself, page.bytes);
    if (itself.leftOutBecause.empty())
        candidates.push_back(itself);

    // The page's text as the engine holds it: markers are searched in it, and its UTF-8 form
    // is what the head's links are read from.
    const std::string_view markerBytes = std::string_view(page.bytes).substr(0, page.markerLength);
    const std::string text =
        ToCodePage(markerBytes, pagecharset::Detect(page.contentType, markerBytes));
    std::vector<HeadlineCandidate> leftOut;
    for (const AnnouncedFeed& announced :
         FindAnnouncedFeeds(base::win1252::ToUtf8(text), FullAddress(page.address))) {
        HeadlineCandidate candidate = Announced(announced, fetch);
        (candidate.leftOutBecause.empty() ? candidates : leftOut).push_back(std::move(candidate));
    }
    for (MarkerPair& pair : FindMarkerPairs(text)) {
        HeadlineCandidate candidate;
        candidate.address = page.address;
        candidate.before = std::move(pair.before);
        candidate.after = std::move(pair.after);
        Show(candidate, pair.headlines);
        candidates.push_back(std::move(candidate));
    }
    candidates.insert(candidates.end(), leftOut.begin(), leftOut.end());
    return candidates;
}

} // namespace tickerlux::headlines
