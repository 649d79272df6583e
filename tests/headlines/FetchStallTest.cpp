#include "engine/TickerluxEngine.h"
#include "settings/TickerluxDoc.h"
#include "tests/support/RecordingUi.h"
#include "tests/support/ShownTexts.h"
#include "tools/pageserver/PageServer.h"

#include <gtest/gtest.h>

#include <ostream>

using namespace tickerlux;
using namespace tickerlux::base;
using namespace tickerlux::settings;
using namespace tickerlux::headlines;
using namespace tickerlux::link;
using namespace tickerlux::engine;
using namespace tickerlux::pageserver;
using namespace tickerlux::test;

namespace {

using namespace std::chrono_literals;

// A server too slow for the download's limits (made small here: the program allows 30 s below
// 100 bytes a second, and two minutes in all): the fetch gives up with the limit that ran out
// and shows the connection error, never hangs.
struct LimitCase {
    const char* name;
    CPageServer::Response response;
    headlines::TimeLimits limits;
    FailureKind expected;
};

void PrintTo(const LimitCase& c, std::ostream* os)
{
    *os << c.name;
}

headlines::TimeLimits Limits(std::chrono::seconds stallLimit, long minBytesPerSecond,
                             std::chrono::milliseconds deadline)
{
    headlines::TimeLimits limits;
    limits.stallLimit = stallLimit;
    limits.minBytesPerSecond = minBytesPerSecond;
    limits.deadline = deadline;
    return limits;
}

class FetchLimitTest : public testing::TestWithParam<LimitCase> {};

TEST_P(FetchLimitTest, SlowServerEndsInTheConnectionError)
{
    const LimitCase& c = GetParam();
    CPageServer server;
    server.Serve("/slow", c.response);
    CTickerluxDoc doc;
    doc.WebServer = server.HostPort();
    doc.WebPath = "/slow";
    CRecordingUi ui;
    CTickerluxEngine engine(doc, ui);
    engine.SetFetchTimeLimits(c.limits);

    EXPECT_EQ(engine.FetchPage().kind, c.expected);
    EXPECT_EQ(ui.messages, std::vector<std::string>{shown::kConnectionError});
    ASSERT_EQ(ui.downloadFailures.size(), 1u);
    EXPECT_EQ(ui.downloadFailures[0].kind, c.expected) << ui.downloadFailures[0].systemText;
    // The client closed its end: the held connection is over.
    EXPECT_TRUE(server.WaitForConnections("/slow", 1));
}

// 2 bytes every 100 ms is 20 bytes a second; 20 bytes every 10 ms is 2,000 bytes a second, so
// 4,000 bytes would take two seconds.
INSTANTIATE_TEST_SUITE_P(
    Limits, FetchLimitTest,
    testing::Values(
        LimitCase{"ServerThatNeverAnswersIsTooSlow", CPageServer::Hang(), Limits(1s, 100, 60s),
                  FailureKind::TooSlow},
        LimitCase{"TrickleBelowTheFloorIsTooSlow",
                  CPageServer::Trickle(std::string(4000, 'x'), 2, 100ms), Limits(1s, 100, 60s),
                  FailureKind::TooSlow},
        LimitCase{"SteadyPageTooLongForTheDeadline",
                  CPageServer::Trickle(std::string(4000, 'x'), 20, 10ms), Limits(30s, 100, 500ms),
                  FailureKind::TooLong}),
    [](const testing::TestParamInfo<LimitCase>& row) { return std::string(row.param.name); });

} // namespace
