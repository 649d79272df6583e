// Item titles read from feeds of each format, and pages that are no feed.
#include "headlines/FeedItems.h"

#include <gtest/gtest.h>

#include <ostream>

using namespace tickerlux;
using namespace tickerlux::headlines;

namespace {

using tickerlux::headlines::FeedFormat;

struct FeedCase {
    const char* name;
    std::string page;
    FeedFormat format;
    std::vector<std::string> titles;
};

std::string Repeated(const std::string& text, int times)
{
    std::string out;
    while (times-- > 0)
        out += text;
    return out;
}

void PrintTo(const FeedCase& c, std::ostream* os)
{
    *os << c.name;
}

class FeedItemsTest : public ::testing::TestWithParam<FeedCase> {};

TEST_P(FeedItemsTest, GivesTheItemTitlesOnly)
{
    const auto feed = tickerlux::headlines::ReadFeedItems(GetParam().page);
    EXPECT_EQ(feed.format, GetParam().format);
    EXPECT_EQ(feed.titles, GetParam().titles);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FeedItemsTest,
    ::testing::Values(
        FeedCase{"Rss2",
                 R"(<?xml version="1.0"?><rss version="2.0"><channel><title>Site</title>
            <image><title>Logo</title></image><item><title>First &amp; best</title></item>
            <item><description>no title</description></item>
            <item><title><![CDATA[<b>Second</b>]]></title></item></channel></rss>)",
                 FeedFormat::Rss,
                 {"First & best", "<b>Second</b>"}},
        FeedCase{"Rss1",
                 R"(<rdf:RDF xmlns:rdf="http://www.w3.org/1999/02/22-rdf-syntax-ns#"
            xmlns="http://purl.org/rss/1.0/"><channel><title>Site</title></channel>
            <item><title>One</title></item><item><title>Two</title></item></rdf:RDF>)",
                 FeedFormat::Rdf,
                 {"One", "Two"}},
        FeedCase{"AtomTextHtmlXhtml",
                 R"(<feed xmlns="http://www.w3.org/2005/Atom"><title>Site</title>
            <entry><title>A &lt; B</title></entry>
            <entry><title type="html">&lt;em&gt;Big&lt;/em&gt; move</title></entry>
            <entry><title type="xhtml"><div xmlns="http://www.w3.org/1999/xhtml"><b>X</b> y &amp; z</div></title></entry>
            </feed>)",
                 FeedFormat::Atom,
                 {"A &lt; B", "<em>Big</em> move", "X y &amp; z"}},
        FeedCase{"JsonFeed",
                 R"({"version": "https://jsonfeed.org/version/1.1", "title": "Site",
            "items": [{"title": "Caf\u00e9 opens"}, {"content_text": "untitled"}, {"title": "1 < 2"}]})",
                 FeedFormat::JsonFeed,
                 {"Caf\xC3\xA9 opens", "1 &lt; 2"}},
        FeedCase{"DeclaredLatin1",
                 "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><rss><channel>"
                 "<item><title>Z\xFCrich</title></item></channel></rss>",
                 FeedFormat::Rss,
                 {"Z\xC3\xBCrich"}},
        FeedCase{"EntitiesNotExpanded",
                 R"(<?xml version="1.0"?><!DOCTYPE rss [<!ENTITY a "aaaaaaaa">
            <!ENTITY b "&a;&a;&a;&a;&a;&a;&a;&a;">]><rss><channel><item><title>x&b;y</title></item></channel></rss>)",
                 FeedFormat::Rss,
                 {"xy"}},
        FeedCase{"HtmlPage",
                 "<!DOCTYPE html><html><head><title>News</title></head></html>",
                 FeedFormat::None,
                 {}},
        FeedCase{
            "OtherJson", R"({"version": "1", "items": [{"title": "x"}]})", FeedFormat::None, {}},
        FeedCase{"JsonTooDeep",
                 R"({"version": "https://jsonfeed.org/version/1", "x": )" + Repeated("[", 300) +
                     Repeated("]", 300) + "}",
                 FeedFormat::None,
                 {}},
        FeedCase{"XmlReadUpToTheDepthLimit",
                 "<rss><channel><item><title>x</title></item>" + Repeated("<a>", 300) +
                     Repeated("</a>", 300) + "<item><title>z</title></item></channel></rss>",
                 FeedFormat::Rss,
                 {"x"}}),
    [](const auto& row) { return std::string(row.param.name); });

} // namespace
