#include "engine/TickerluxEngine.h"
#include "settings/TickerluxDoc.h"
#include "tests/support/RecordingUi.h"
#include "tests/support/ShownTexts.h"
#include "tools/pageserver/PageServer.h"

#include <gtest/gtest.h>

#include <ctime>
#include <ostream>
#include <string>

using namespace tickerlux;
using namespace tickerlux::base;
using namespace tickerlux::settings;
using namespace tickerlux::headlines;
using namespace tickerlux::link;
using namespace tickerlux::engine;
using namespace tickerlux::pageserver;
using namespace tickerlux::test;

namespace {

// 15:07 on 23 February 2008, local time.
std::time_t UpdateStart()
{
    std::tm local{};
    local.tm_year = 2008 - 1900;
    local.tm_mon = 1;
    local.tm_mday = 23;
    local.tm_hour = 15;
    local.tm_min = 7;
    local.tm_isdst = -1;
    return std::mktime(&local);
}

class CountingObserver : public IDocumentObserver {
public:
    void OnDocumentUpdate(IDocumentObserver* sender, long hint) override
    {
        ++updates;
        lastSender = sender;
        lastHint = hint;
    }
    int updates = 0;
    IDocumentObserver* lastSender = this;
    long lastHint = -1;
};

class BuildSignLineTest : public ::testing::Test {
protected:
    BuildSignLineTest()
    {
        doc.WebServer = server.HostPort();
        doc.WebPath = "/news";
        doc.AddObserver(&observer);
        engine.SetClock(UpdateStart);
    }
    ~BuildSignLineTest() override { doc.RemoveObserver(&observer); }

    CPageServer server;
    CTickerluxDoc doc;
    CRecordingUi ui;
    CTickerluxEngine engine{doc, ui};
    CountingObserver observer;
};

struct LineCase {
    const char* name;
    std::string page;
    std::string before;
    std::string after;
    std::string comment;
    int showTime;
    std::string expected;
    bool cleanup = true;  // HeadlineCleanup; off, the page's bytes as sent
    int status = 200;
};

void PrintTo(const LineCase& c, std::ostream* os)
{
    *os << c.name;
}

class BuildSignLineCaseTest : public BuildSignLineTest,
                              public ::testing::WithParamInterface<LineCase> {};

TEST_P(BuildSignLineCaseTest, BuildsTheLine)
{
    const LineCase& c = GetParam();
    server.Serve("/news", CPageServer::Page(c.page, c.status));
    doc.TextBefore = c.before;
    doc.TextAfter = c.after;
    doc.LeadingComment = c.comment;
    doc.ShowTime = c.showTime;
    engine.SetHeadlineCleanup(c.cleanup);

    engine.BuildSignLine();

    EXPECT_EQ(engine.SignLine(), c.expected);
    EXPECT_EQ(server.RequestCount("/news"), 1);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(observer.updates, 0) << "a successful download leaves the refresh to the caller";
}

const char kStamp[] = " -- Last Update: Feb 23, 2008 at 03:07 PM ";

INSTANTIATE_TEST_SUITE_P(
    Pages, BuildSignLineCaseTest,
    ::testing::Values(
        LineCase{"TwoHeadlines", "{h}Alpha{/h} and {h}Beta{/h}", "{h}", "{/h}", "News", 0,
                 "News -- Alpha -- Beta"},
        LineCase{"TimeStampBeforeHeadlines", "{h}Alpha{/h} and {h}Beta{/h}", "{h}", "{/h}", "News",
                 1, "News -- Last Update: Feb 23, 2008 at 03:07 PM  -- Alpha -- Beta"},
        LineCase{"OneMarkerClosesAndOpens", "x|One|Two|Three|", "|", "|", "News", 0,
                 "News -- One -- Two -- Three -- "},
        LineCase{"EmptyBeforeMarkerTakesOneHeadline", "Top story{/h}rest{/h}", "", "{/h}", "News",
                 0, "News -- Top story"},
        LineCase{"BothMarkersEmpty", "anything", "", "", "News", 0, "News -- "},
        LineCase{"EmptyAfterMarkerGivesBareSeparators", "a{h}b{h}c", "{h}", "", "News", 0,
                 "News --  -- "},
        LineCase{"BeforeMarkerAbsent", "no markers here", "{h}", "{/h}", "News", 0, "News"},
        LineCase{"BeforeMarkerAbsentWithTimeStamp", "no markers here", "{h}", "{/h}", "News", 1,
                 std::string("News") + kStamp},
        LineCase{"HeadlineRunsToTheNextAfterMarker", "{h}A{/h}{h}B{h}C{/h}", "{h}", "{/h}", "News",
                 0, "News -- A -- B{h}C"},
        LineCase{"AfterMarkerNeverFollows", "{h}A{/h} {h}B", "{h}", "{/h}", "News", 0,
                 "News -- A -- "},
        LineCase{"MarkersAreCaseSensitive", "{H}x{/H}{h}y{/h}", "{h}", "{/h}", "News", 0,
                 "News -- y"},
        LineCase{"LineBreaksBecomeOneSpace", "{h}Line one\r\nLine two{/h}", "{h}", "{/h}",
                 "News", 0, "News -- Line one Line two"},
        LineCase{"LineBreaksRemovedFromHeadlineAsSent", "{h}Line one\r\nLine two{/h}", "{h}",
                 "{/h}", "News", 0, "News -- Line oneLine two", false},
        LineCase{"LineBreaksRemovedFromComment", "{h}A{/h}", "{h}", "{/h}", "Top\r\nNews\n", 0,
                 "TopNews -- A"},
        LineCase{"EmptyCommentStartsWithSeparator", "{h}Alpha{/h}", "{h}", "{/h}", "", 0,
                 " -- Alpha"},
        LineCase{"NulIsNoText", std::string("{h}A{/h}\0{h}B{/h}", 17), "{h}", "{/h}", "News", 0,
                 "News -- A -- B"},
        LineCase{"NulHidesTheRestOfThePageAsSent", std::string("{h}A{/h}\0{h}B{/h}", 16), "{h}",
                 "{/h}", "News", 0, "News -- A", false},
        LineCase{"ErrorPageIsSearched", "<p>{h}Not found{/h}</p>", "{h}", "{/h}", "News", 0,
                 "News -- Not found", true, 404}),
    [](const ::testing::TestParamInfo<LineCase>& row) { return row.param.name; });

TEST_F(BuildSignLineTest, FailedDownloadLeavesTheLineEmptyAndRefreshesViews)
{
    doc.WebServer = "no-such-host.invalid";
    doc.LeadingComment = "News";
    doc.ShowTime = 1;
    doc.SourceText = "the page before";

    engine.BuildSignLine();

    EXPECT_EQ(engine.SignLine(), "");
    EXPECT_EQ(doc.SourceText, "");
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0], shown::kConnectionError);
    EXPECT_EQ(observer.updates, 1);
    EXPECT_EQ(observer.lastSender, nullptr);
    EXPECT_EQ(observer.lastHint, 0);
}

TEST_F(BuildSignLineTest, NextLineReplacesThePrevious)
{
    server.Serve("/news", CPageServer::Page("{h}First{/h}"));
    doc.TextBefore = "{h}";
    doc.TextAfter = "{/h}";
    engine.BuildSignLine();
    ASSERT_EQ(engine.SignLine(), " -- First");

    server.Serve("/news", CPageServer::Page("{h}Second{/h}"));
    engine.BuildSignLine();
    EXPECT_EQ(engine.SignLine(), " -- Second");
    EXPECT_EQ(doc.SourceText, "{h}Second{/h}");
}

} // namespace
