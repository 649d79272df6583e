// The ways to get headlines from a front page that announces its feeds, served on 127.0.0.1.
#include "headlines/HeadlineCandidates.h"
#include "headlines/FeedItems.h"
#include "headlines/Fetch.h"
#include "tests/support/FrontPage.h"
#include "tools/pageserver/PageServer.h"

#include <gtest/gtest.h>

using namespace tickerlux;
using namespace tickerlux::headlines;
using namespace tickerlux::pageserver;

namespace {

using namespace tickerlux::headlines;

TEST(HeadlineCandidatesTest, AnnouncedFeedFirstThenMarkersThenWhatWasLeftOut)
{
    CPageServer server;
    FrontPage front = MakeFrontPage(8000);
    front.html.insert(front.html.find("</head>"),
                      "<link rel=\"stylesheet\" href=\"site.css\">"
                      "<link rel=\"Alternate\" type=\"application/rss+xml\" title=\"Top stories\" "
                      "href=\" feeds/top.xml \">"
                      "<link rel=\"feed alternate\" type=\"Application/Atom+XML; charset=utf-8\" "
                      "href=\"/missing.xml\">");
    server.Serve("/site/index.html", CPageServer::Page(front.html));
    server.Serve("/site/feeds/top.xml",
                 CPageServer::Page("<rss><channel><title>Site</title><item><title>One &amp;amp; "
                                   "only</title></item></channel></rss>",
                                   200, "application/rss+xml"));

    PageToSearch page{{server.HostPort(), "/site/index.html"}, front.html, "text/html"};
    const auto candidates = FindHeadlineCandidates(page, [](const StoredAddress& address) {
        return Fetch(address.webServer, address.webPath, {kMaxFeedLength, {}, {}, {}, {}});
    });

    ASSERT_GE(candidates.size(), 3u);
    const HeadlineCandidate& feed = candidates.front();
    EXPECT_EQ(feed.kind, CandidateKind::AnnouncedFeed);
    EXPECT_EQ(feed.address, (StoredAddress{server.HostPort(), "/site/feeds/top.xml"}));
    EXPECT_EQ(feed.headlineSource, settings::kHeadlinesFromFeedItems);
    EXPECT_EQ(feed.title, "Top stories");
    EXPECT_EQ(feed.firstHeadlines, std::vector<std::string>{"One & only"});

    const HeadlineCandidate& markers = candidates[1];
    EXPECT_EQ(markers.kind, CandidateKind::Markers);
    EXPECT_EQ(markers.address, page.address);
    EXPECT_EQ(markers.headlineCount, front.headlines.size());
    EXPECT_EQ(markers.firstHeadlines,
              std::vector<std::string>(front.headlines.begin(), front.headlines.begin() + 5));

    const HeadlineCandidate& missing = candidates.back();
    EXPECT_EQ(missing.address, (StoredAddress{server.HostPort(), "/missing.xml"}));
    EXPECT_EQ(missing.leftOutBecause, "the server answered 404");
}

} // namespace
