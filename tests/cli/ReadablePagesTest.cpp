// Pages in several charsets and feeds full of markup, served on 127.0.0.1, through
// `tickerlux-cli line` and `tickerlux-cli update` to the virtual sign (COM4), in a per-user store
// of the test's own. Texts here are UTF-8, as the CLI prints them and the sign reports them.
#include "tests/support/RunProgram.h"
#include "tests/support/SignReception.h"
#include "tests/support/TempDir.h"
#include "tools/pageserver/PageServer.h"

#include <gtest/gtest.h>

#include <ostream>
#include <sys/resource.h>
#include <utility>
#include <string>
#include <vector>

using namespace tickerlux;
using namespace tickerlux::pageserver;
using namespace tickerlux::test;

namespace {

constexpr int kComPort = 4;

// UTF-16LE with its byte order mark, from ASCII and two-byte UTF-8 only.
std::string Utf16Le(const std::string& utf8)
{
    std::string out = "\xFF\xFE";
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        unsigned unit = static_cast<unsigned char>(utf8[i]);
        if (unit >= 0xC0)
            unit = (unit & 0x1F) << 6 | (static_cast<unsigned char>(utf8[++i]) & 0x3F);
        out += static_cast<char>(unit & 0xFF);
        out += static_cast<char>(unit >> 8);
    }
    return out;
}

const std::string kRss = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<rss><channel><title>Courier"
                         "</title>\n";

struct PageCase {
    const char* name;
    std::string contentType;
    std::string page;
    std::string before;   // the feed's markers and comment, as typed (UTF-8)
    std::string after;
    std::string comment;
    std::string line;     // what `line` prints
    std::string shown;    // what the sign shows
    bool cleanup = true;  // HeadlineCleanup
};

void PrintTo(const PageCase& c, std::ostream* os)
{
    *os << c.name;
}

class ReadablePagesTest : public testing::TestWithParam<PageCase> {
protected:
    CScopedConfigHome home;  // first: the sign enters its COM port into this store
    CTempDir dir;
    CPageServer server;
    CSignSimProcess sign{kComPort};
};

TEST_P(ReadablePagesTest, LineAndSignReadAsThePage)
{
    const PageCase& c = GetParam();
    ASSERT_EQ(RunCli({"config", "Connection=serial port - betabrite classic",
                      "ComPort=" + std::to_string(kComPort)})
                  .exitCode,
              0);
    if (!c.cleanup) {
        ASSERT_EQ(RunCli({"config", "HeadlineCleanup=0"}).exitCode, 0);
    }
    server.Serve("/news", CPageServer::Page(c.page, 200, c.contentType));
    const std::string feed = dir.File("feed.tlx");
    ASSERT_EQ(RunCli({"set", feed, "WebServer=" + server.HostPort(), "WebPath=/news",
                      "TextBefore=" + c.before, "TextAfter=" + c.after,
                      "LeadingComment=" + c.comment, "ShowTime=0"})
                  .exitCode,
              0);

    const ProgramResult line = RunCli({"line", feed});
    EXPECT_EQ(line.exitCode, 0) << line.err;
    EXPECT_EQ(line.out, c.line + "\n");

    const ProgramResult update = RunCli({"update", feed});
    EXPECT_EQ(update.exitCode, 0) << update.err;
    EXPECT_EQ(ReceiveTransmissions(sign, 3).shown, std::vector<std::string>{c.shown});
}

INSTANTIATE_TEST_SUITE_P(
    Pages, ReadablePagesTest,
    testing::Values(
        PageCase{"Utf8RssWithCdataAndEntities", "application/rss+xml; charset=utf-8",
                 kRss + "<item><title><![CDATA[Mayor’s “green” budget – passed]]></title></item>\n"
                        "<item><title>Zürich &amp; Genève&#8230; &euro;5 &#x2122;</title></item>",
                 "<item><title>", "</title>", "“News”",
                 "\"News\" -- Mayor's \"green\" budget - passed -- Zürich & Genève... EUR5 TM",
                 "\"News\" -- Mayor's \"green\" budget - passed -- Zürich & Genève... EUR5 TM"},
        PageCase{"Latin1HtmlDeclaredOnlyInMeta", "text/html",
                 "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; "
                 "charset=iso-8859-1\"></head><h2>Caf\xE9 \x93" "cr\xE8me\x94 \xA9 2024</h2>",
                 "<h2>", "</h2>", "News", "News -- Café \"crème\" (C) 2024",
                 "News -- Café \"crème\" (C) 2024"},
        PageCase{"Windows1251DeclaredInTheHeader", "text/html; charset=windows-1251",
                 "<h2>\xCF\xF0\xE8\xE2\xE5\xF2, \xEC\xE8\xF0</h2>", "<h2>", "</h2>", "News",
                 "News -- Privet, mir", "News -- Privet, mir"},
        PageCase{"HeaderWinsOverMeta", "text/html; charset=KOI8-R",
                 "<meta charset=\"windows-1251\"><h2>\xED\xCF\xD3\xCB\xD7\xC1</h2>", "<h2>",
                 "</h2>", "News", "News -- Moskva", "News -- Moskva"},
        PageCase{"UndeclaredUtf8MatchesTypedMarkers", "text/html",
                 "<p>Météo: Zürich 5 °C</p><p>Météo: Łódź 3 °C</p>", "<p>Météo: ", "</p>", "News",
                 "News -- Zürich 5 °C -- Lódz 3 °C", "News -- Zürich 5 °C -- Lódz 3 °C"},
        PageCase{"UndeclaredWindows1252", "text/html", "<h2>Na\xEFve \x93quote\x94 \x80 9</h2>",
                 "<h2>", "</h2>", "News", "News -- Naïve \"quote\" EUR 9",
                 "News -- Naïve \"quote\" EUR 9"},
        PageCase{"Utf16ByteOrderMark", "text/html", Utf16Le("<h2>Ελλάδα</h2><h2>Åre</h2>"),
                 "<h2>", "</h2>", "News", "News -- Ellada -- Åre", "News -- Ellada -- Åre"},
        PageCase{"MarkupAndNbspInsideAHeadline", "text/html; charset=windows-1252",
                 "<h2>\n  <a href=\"/x?a=1&amp;b=2\">Big</a>&nbsp;&nbsp;<b>news</b><br>\r\n"
                 "  today &lt;b&gt;</h2>",
                 "<h2>", "</h2>", "News", "News -- Big news today <b>",
                 "News -- Big news today <b>"},
        PageCase{"GreekAndChineseFeed", "application/rss+xml",
                 kRss + "<item><title>Αθήνα – 北京新闻</title></item>", "<item><title>",
                 "</title>", "News", "News -- Athena - bei jing xin wen",
                 "News -- Athena - bei jing xin wen"},
        PageCase{"TextLookingLikeAReferenceStaysText", "text/html; charset=utf-8",
                 "<h2>Type &amp;#233; for é</h2>", "<h2>", "</h2>", "News",
                 "News -- Type &#38;#233; for é", "News -- Type &#233; for é"},
        PageCase{"SwitchOffGivesTheBytesAsSent", "application/rss+xml; charset=utf-8",
                 kRss + "<item><title><![CDATA[Zürich]]></title></item>"
                        "<item><title>&#233;t&#233; &amp; “x”</title></item>",
                 "<item><title>", "</title>", "“News”",
                 "“News” -- <![CDATA[ZÃ¼rich]]> -- &#233;t&#233; &amp; â€œxâ€\\x9D",
                 "News -- <![CDATA[ZÃrich]]> -- été &amp; âxâ", false}),
    [](const testing::TestParamInfo<PageCase>& row) { return std::string(row.param.name); });

std::string Repeat(const std::string& unit, std::size_t count)
{
    std::string out;
    for (std::size_t i = 0; i < count; ++i)
        out += unit;
    return out;
}

// Headlines "<h2>1</h2>" to "<h2>`count`</h2>", and the line `line` prints for them.
std::pair<std::string, std::string> Numbered(int count)
{
    std::pair<std::string, std::string> pageAndLine{"", "News"};
    for (int i = 1; i <= count; ++i) {
        pageAndLine.first += "<h2>" + std::to_string(i) + "</h2>";
        pageAndLine.second += " -- " + std::to_string(i);
    }
    return pageAndLine;
}

// Formatting tags that each differ, so that a tree parser rebuilds all of them for each of the
// paragraphs after them, in a page of about `size` bytes; and the line `line` prints for it.
std::pair<std::string, std::string> ParserBomb(std::size_t size)
{
    std::string page = "<h2><p>";
    for (int i = 1; i <= 400; ++i)
        page += "<b id=" + std::to_string(i) + ">";
    const std::size_t paragraphs = (size - page.size() - 5) / 8;
    return {page + Repeat("<p>x</p>", paragraphs) + "</h2>",
            "News -- x" + Repeat(" x", paragraphs - 1)};
}

struct HostileCase {
    const char* name;
    std::string contentType;
    std::string page;
    std::string line;  // what `line` prints for the headlines between <h2> and </h2>
};

void PrintTo(const HostileCase& c, std::ostream* os)
{
    *os << c.name;
}

class HostilePagesTest : public testing::TestWithParam<HostileCase> {
protected:
    CScopedConfigHome home;
    CTempDir dir;
    CPageServer server;
};

// Pages near the size limit whose markup, script or charset once lost headlines or crashed the
// reader, read on a stack of 1 MB.
TEST_P(HostilePagesTest, LineHoldsEveryHeadline)
{
    const HostileCase& c = GetParam();
    server.Serve("/news", CPageServer::Page(c.page, 200, c.contentType));
    const std::string feed = dir.File("feed.tlx");
    ASSERT_EQ(RunCli({"set", feed, "WebServer=" + server.HostPort(), "WebPath=/news",
                      "TextBefore=<h2>", "TextAfter=</h2>", "LeadingComment=News", "ShowTime=0"})
                  .exitCode,
              0);
    rlimit stack{};
    ASSERT_EQ(getrlimit(RLIMIT_STACK, &stack), 0);
    const rlimit small{1 << 20, stack.rlim_max};
    ASSERT_EQ(setrlimit(RLIMIT_STACK, &small), 0);
    const ProgramResult line = RunCli({"line", feed});
    setrlimit(RLIMIT_STACK, &stack);
    EXPECT_EQ(line.exitCode, 0) << line.err;
    EXPECT_EQ(line.out, c.line + "\n");
}

const std::string kChinese = "北京新闻";

INSTANTIATE_TEST_SUITE_P(
    Pages, HostilePagesTest,
    testing::Values(
        HostileCase{"ParserBombAtTheLimit", "text/html", ParserBomb(199999).first,
                    ParserBomb(199999).second},
        HostileCase{"DeeplyNestedTags", "text/html", "<h2>" + Repeat("<b>", 66000) + "x</h2>",
                    "News -- x"},
        HostileCase{"ChineseLongerThanTheLimitOnceSpelled", "text/html; charset=utf-8",
                    Repeat(kChinese, 150000 / 12) + Numbered(10).first, Numbered(10).second},
        HostileCase{"UnicodeDeclaredOnAUtf8Page", "text/html",
                    "<meta charset=\"unicode\"><h2>Zürich</h2>", "News -- Zürich"},
        HostileCase{"ByteOrderMarkWinsOverTheHeader", "text/html; charset=windows-1252",
                    "\xEF\xBB\xBF<h2>Café €5</h2>", "News -- Café EUR5"},
        HostileCase{"Gb2312IsReadAsGbk", "text/html; charset=gb2312",
                    "<h2>\xB1\xB1\xBE\xA9 \x81\x40</h2>", "News -- bei jing kao"}),
    [](const testing::TestParamInfo<HostileCase>& row) { return std::string(row.param.name); });

} // namespace
