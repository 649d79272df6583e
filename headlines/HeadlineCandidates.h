#pragma once

#include "headlines/Fetch.h"
#include "headlines/WebAddress.h"
#include "settings/FeedFields.h"

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

// The ways to get headlines from a web page, best first, as a user chooses among them.
namespace tickerlux::headlines {

enum class CandidateKind {
    PageAsFeed,    // the page is a feed itself
    AnnouncedFeed, // a feed that the page names in its head
    Markers,       // text before and after each headline on the page
};

inline constexpr std::size_t kFirstHeadlines = 5;

struct HeadlineCandidate {
    CandidateKind kind = CandidateKind::Markers;
    StoredAddress address; // WebServer and WebPath that choose it
    int headlineSource = settings::kHeadlinesFromMarkers; // the document's HeadlineSource
    std::string before; // TextBefore and TextAfter, for markers (Windows-1252)
    std::string after;
    std::string title; // an announced feed's own title (Windows-1252); may be empty
    std::size_t headlineCount = 0;
    // The first kFirstHeadlines headlines, cleaned as the sign line's are (Windows-1252).
    std::vector<std::string> firstHeadlines;
    // Empty for a way that works; else why it was left out (an announced feed that could not
    // be downloaded, is no feed or has no items).
    std::string leftOutBecause;
};

struct PageToSearch {
    StoredAddress address;
    std::string bytes;       // as downloaded
    std::string contentType; // the answer's Content-Type header
    // Markers are searched in this many first bytes: the part of the page that an update cuts
    // headlines from.
    std::size_t markerLength = std::string::npos;
};

// Downloads a feed; the caller sets the limits (kMaxFeedLength, its time limits and stop).
using FeedFetcher = std::function<FetchedPage(const StoredAddress&)>;

// Every way found, the usable ones best first: the page as a feed, each announced feed in page
// order, marker pairs best first; then the announced feeds that were left out.
std::vector<HeadlineCandidate> FindHeadlineCandidates(const PageToSearch& page,
                                                      const FeedFetcher& fetch);

} // namespace tickerlux::headlines
