// `tickerlux-cli find` and `set URL=` on pages of several kinds served on 127.0.0.1, then
// `update` to the virtual sign (COM4) with the way that `set` took.
#include "tests/support/FrontPage.h"
#include "tests/support/RunProgram.h"
#include "tests/support/SignReception.h"
#include "tests/support/TempDir.h"
#include "tools/pageserver/PageServer.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

using namespace tickerlux::pageserver;
using namespace tickerlux::test;

namespace {

constexpr int kComPort = 4;

struct Served {
    std::string path;
    std::string body;
    std::string contentType;
};

struct FindCase {
    const char* name;
    std::vector<Served> pages;  // the first is the address given
    std::string bestPath;       // WebPath of the way taken; empty: nothing is found
    int bestSource = 0;         // its HeadlineSource
    std::string shown;          // what the sign shows after an update with it
};

void PrintTo(const FindCase& c, std::ostream* os)
{
    *os << c.name;
}

const FrontPage kFront = MakeFrontPage(3000);

std::string FrontPageLine()
{
    std::string line = "News";
    for (const std::string& headline : kFront.headlines)
        line += " -- " + headline;
    return line;
}

class FindCommandTest : public testing::TestWithParam<FindCase> {
protected:
    CScopedConfigHome home;  // first: the sign enters its COM port into this store
    CTempDir dir;
    CPageServer server;
    CSignSimProcess sign{kComPort};
};

TEST_P(FindCommandTest, FindListsTheWayThatSetTakesAndUpdateShows)
{
    const FindCase& c = GetParam();
    for (const Served& page : c.pages)
        server.Serve(page.path, CPageServer::Page(page.body, 200, page.contentType));
    const std::string address = "http://" + server.HostPort() + c.pages.front().path;
    const std::string feed = dir.File("feed.tlx");
    ASSERT_EQ(RunCli({"set", feed, "TextBefore=<kept>"}).exitCode, 0);
    const bool found = !c.bestPath.empty();

    const ProgramResult find = RunCli({"find", address});
    EXPECT_EQ(find.exitCode, found ? 0 : 1) << find.err;
    const std::string chosen = "WebServer=" + server.HostPort() + " WebPath=" + c.bestPath;
    if (found) {
        const std::string first = find.out.substr(0, find.out.find("\n2. "));
        EXPECT_NE(first.find(chosen), std::string::npos) << find.out;
        EXPECT_NE(first.find("HeadlineSource=" + std::to_string(c.bestSource)), std::string::npos)
            << find.out;
    }

    const ProgramResult set = RunCli({"set", feed, "URL=" + address, "LeadingComment=News"});
    EXPECT_EQ(set.exitCode, found ? 0 : 1) << set.err;
    EXPECT_NE(set.err.find(found ? "chose" : "no headlines found"), std::string::npos) << set.err;
    const std::string shown = RunCli({"show", feed}).out;
    EXPECT_NE(shown.find("WebPath=" + (found ? c.bestPath : c.pages.front().path)),
              std::string::npos)
        << shown;
    EXPECT_EQ(shown.find("TextBefore=<kept>") != std::string::npos, !found || c.bestSource == 1)
        << shown;
    if (!found)
        return;

    ASSERT_EQ(RunCli({"config", "Connection=serial port - betabrite classic",
                      "ComPort=" + std::to_string(kComPort)})
                  .exitCode,
              0);
    const ProgramResult update = RunCli({"update", feed});
    EXPECT_EQ(update.exitCode, 0) << update.err;
    EXPECT_EQ(ReceiveTransmissions(sign, 3).shown, std::vector<std::string>{c.shown});
}

const std::string kXml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";

INSTANTIATE_TEST_SUITE_P(
    Pages, FindCommandTest,
    testing::Values(
        FindCase{"Rss2WithChannelAndImageTitles",
                 {{"/rss",
                   kXml + "<rss version=\"2.0\"><channel><title>Riverside Courier</title>\n"
                          "  <image><title>Courier logo</title><url>/logo.png</url></image>\n"
                          "  <item>\n    <title>Mayor’s budget passed</title>\n  </item>\n"
                          "  <item><title><![CDATA[Trams run late]]></title></item>\n"
                          "</channel></rss>",
                   "application/rss+xml"}},
                 "/rss", 1, "News -- Mayor's budget passed -- Trams run late"},
        FindCase{"AtomWithHtmlTitles",
                 {{"/atom",
                   kXml + "<feed xmlns=\"http://www.w3.org/2005/Atom\"><title>Site</title>"
                          "<entry><title type=\"html\">&lt;b&gt;Big&lt;/b&gt; news &amp;amp; "
                          "more</title></entry><entry><title type=\"html\">Caf&amp;eacute; "
                          "opens</title></entry></feed>",
                   "application/atom+xml"}},
                 "/atom", 1, "News -- Big news & more -- Café opens"},
        FindCase{"JsonFeed",
                 {{"/feed.json",
                   R"({"version": "https://jsonfeed.org/version/1.1", "title": "Site",
                       "items": [{"id": "1", "title": "Rain & wind"},
                                 {"id": "2", "title": "Sun by Sunday"}]})",
                   "application/feed+json"}},
                 "/feed.json", 1, "News -- Rain & wind -- Sun by Sunday"},
        FindCase{"HtmlAnnouncingARelativeFeed",
                 {{"/site/index.html",
                   "<html><head><link rel=\"alternate\" type=\"application/rss+xml\" "
                   "href=\"feed.xml\"></head><body><p>Welcome</p></body></html>",
                   "text/html"},
                  {"/site/feed.xml",
                   "<rss><channel><title>Site</title><item><title>Alpha</title></item>"
                   "<item><title>Beta</title></item></channel></rss>",
                   "application/rss+xml"}},
                 "/site/feed.xml", 1, "News -- Alpha -- Beta"},
        FindCase{"FrontPageHeadlinesBeatItsMenu",
                 {{"/front", kFront.html, "text/html"}}, "/front", 0, FrontPageLine()},
        FindCase{"NothingToFind",
                 {{"/closed", "<html><body><p>Closed today.</p></body></html>", "text/html"}},
                 "", 0, ""}),
    [](const testing::TestParamInfo<FindCase>& row) { return std::string(row.param.name); });

} // namespace
